#include "kv_tools/graphics.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "kv_tools/globals.h"
#include "rtl/errors.h"

namespace Kv_tools {
namespace {

constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr size_t kBase64LineLength = 76;

int Base64Value(char c) {
  const char* p = std::char_traits<char>::find(kBase64Alphabet, 64, c);
  return p ? static_cast<int>(p - kBase64Alphabet) : -1;
}

[[noreturn]] void BadBase64() { throw rtl::EConvertError(u"Invalid Base64 text"); }

}  // namespace

std::string EncodeBase64Lines(std::string_view bytes) {
  std::string plain;
  plain.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k)
      group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (size_t k = 0; k < 4; ++k)
      plain += k <= n ? kBase64Alphabet[group >> (18 - 6 * k) & 63] : '=';
  }
  std::string text;
  for (size_t i = 0; i < plain.size(); i += kBase64LineLength) {
    if (i > 0) text += "\r\n";
    text.append(plain, i, kBase64LineLength);
  }
  return text;
}

std::string DecodeBase64(std::string_view text) {
  std::string bytes;
  uint32_t group = 0;
  int digits = 0, padding = 0;
  for (char c : text) {
    if (static_cast<unsigned char>(c) <= ' ') continue;
    if (c == '=') {
      if (digits < 2) BadBase64();
      ++padding;
      continue;
    }
    const int value = Base64Value(c);
    if (value < 0 || padding > 0) BadBase64();
    group = group << 6 | static_cast<uint32_t>(value);
    if (++digits == 4) {
      bytes += static_cast<char>(group >> 16);
      bytes += static_cast<char>(group >> 8);
      bytes += static_cast<char>(group);
      group = 0;
      digits = 0;
    }
  }
  if (digits == 1 || (padding > 0 && digits + padding != 4)) BadBase64();
  if (digits >= 2) bytes += static_cast<char>(group >> (6 * digits - 8));
  if (digits == 3) bytes += static_cast<char>(group >> 2);
  return bytes;
}

uint32_t ChangeColor(uint32_t Color, bool Lighter, long double Factor) {
  uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const long double c = (Color >> shift) & 0xFF;
    const long double changed = Lighter ? c + Factor * c / 255 : c - Factor * c / 255;
    // fmax and fmin also turn a NaN into 0.
    result |= static_cast<uint32_t>(std::nearbyint(std::fmin(std::fmax(changed, 0.0L), 255.0L))) << shift;
  }
  return result;
}

std::vector<uint32_t> StretchPixels(const std::vector<uint32_t>& Src, int SrcWidth, int SrcHeight,
                                    int DstWidth, int DstHeight) {
  if (DstWidth <= 0 || DstHeight <= 0) return {};
  std::vector<uint32_t> dst(static_cast<size_t>(DstWidth) * DstHeight);
  if (SrcWidth <= 0 || SrcHeight <= 0 || Src.size() < static_cast<size_t>(SrcWidth) * SrcHeight) return dst;
  for (int y = 0; y < DstHeight; ++y) {
    const size_t src_row = static_cast<size_t>(int64_t{y} * SrcHeight / DstHeight) * SrcWidth;
    for (int x = 0; x < DstWidth; ++x)
      dst[static_cast<size_t>(y) * DstWidth + x] = Src[src_row + int64_t{x} * SrcWidth / DstWidth];
  }
  return dst;
}

String RgbToHtml(uint32_t Rgb) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  String html = u"#";
  for (int shift = 0; shift <= 16; shift += 8) {
    html += kHex[Rgb >> (shift + 4) & 0xF];
    html += kHex[Rgb >> shift & 0xF];
  }
  return html;
}

uint32_t GetSysSelColor(uint32_t Default) {
  if (curOS.find(u"mint") != String::npos) return 0x72B392;
  if (curOS.find(u"ubuntu") != String::npos) return 0x4677F0;
  return Default;
}

void FitPictureToContainer(int ContainerWidth, int ContainerHeight, long double& PicWidth,
                           long double& PicHeight) {
  if (PicWidth == 0 || PicHeight == 0) return;
  if (ContainerWidth == 0 || ContainerHeight == 0)
    throw rtl::EZeroDivide(u"Floating point division by zero");
  const long double r = std::max(PicWidth / ContainerWidth, PicHeight / ContainerHeight);
  PicWidth = std::nearbyint(PicWidth / r);
  PicHeight = std::nearbyint(PicHeight / r);
}

void FitPictureToContainerInt(int ContainerWidth, int ContainerHeight, int& PicWidth, int& PicHeight) {
  if (ContainerWidth == 0 || ContainerHeight == 0) return;
  const long double r = std::max(static_cast<long double>(PicWidth) / ContainerWidth,
                                 static_cast<long double>(PicHeight) / ContainerHeight);
  const long double width = std::nearbyint(PicWidth / r);
  const long double height = std::nearbyint(PicHeight / r);
  const auto fits = [](long double v) { return std::isfinite(v) && v >= INT_MIN && v <= INT_MAX; };
  if (r == 0 || !fits(width) || !fits(height)) return;
  PicWidth = static_cast<int>(width);
  PicHeight = static_cast<int>(height);
}

}  // namespace Kv_tools
