// Graphics and colour against their descriptions: Base64 written out group by group and read
// back by a decoder that checks the whole text first, colours channel by channel with rounding
// half to even done by hand, pictures stretched pixel by pixel, sizes fitted by the ratio.
#include <climits>
#include <cmath>
#include <optional>

#include "fuzz/fuzz_input.h"
#include "kv_tools/globals.h"
#include "kv_tools/graphics.h"
#include "rtl/errors.h"

namespace literal {

using rtl::String;

const std::string kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string EncodeBase64Lines(const std::string& bytes) {
  std::string plain;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const std::string group = bytes.substr(i, 3);
    uint32_t bits = 0;
    for (size_t k = 0; k < 3; ++k) bits = bits << 8 | (k < group.size() ? static_cast<unsigned char>(group[k]) : 0);
    for (size_t k = 0; k < 4; ++k) plain += k <= group.size() ? kAlphabet[bits >> (18 - 6 * k) & 63] : '=';
  }
  std::string text;
  for (size_t i = 0; i < plain.size(); i += 76) text += (i ? "\r\n" : "") + plain.substr(i, 76);
  return text;
}

// Nothing when the text is no Base64: blanks and control characters dropped, then the digits,
// then at most the padding that completes the last group.
std::optional<std::string> DecodeBase64(const std::string& text) {
  std::string t;
  for (char c : text)
    if (static_cast<unsigned char>(c) > ' ') t += c;
  const size_t digits = t.find('=') == std::string::npos ? t.size() : t.find('=');
  const size_t padding = t.size() - digits;
  if (t.find_first_not_of('=', digits) != std::string::npos) return std::nullopt;  // '=' inside
  if (digits % 4 == 1 || (padding > 0 && (digits % 4 < 2 || digits % 4 + padding != 4))) return std::nullopt;
  std::string bytes;
  uint32_t bits = 0;
  size_t n = 0;
  for (size_t i = 0; i < digits; ++i) {
    const size_t v = kAlphabet.find(t[i]);
    if (v == std::string::npos) return std::nullopt;
    bits = bits << 6 | static_cast<uint32_t>(v);
    if (++n == 4) {
      for (int shift : {16, 8, 0}) bytes += static_cast<char>(bits >> shift);
      bits = 0, n = 0;
    }
  }
  if (n == 2) bytes += static_cast<char>(bits >> 4);
  if (n == 3) bytes += static_cast<char>(bits >> 10), bytes += static_cast<char>(bits >> 2);
  return bytes;
}

// x rounded to the nearest whole number, halves to the even one.
long double HalfEven(long double x) {
  const long double down = std::floor(x), rest = x - down;
  if (rest > 0.5L) return down + 1;
  if (rest < 0.5L) return down;
  return std::fmod(down, 2.0L) == 0 ? down : down + 1;
}

uint32_t ChangeColor(uint32_t color, bool lighter, long double factor) {
  uint32_t out = 0;
  for (int channel = 0; channel < 3; ++channel) {
    const long double c = (color >> (8 * channel)) & 0xFF;
    long double v = lighter ? c + factor * c / 255 : c - factor * c / 255;
    if (std::isnan(v) || v < 0) v = 0;
    if (v > 255) v = 255;
    out |= static_cast<uint32_t>(HalfEven(v)) << (8 * channel);
  }
  return out;
}

std::vector<uint32_t> StretchPixels(const std::vector<uint32_t>& src, int sw, int sh, int dw, int dh) {
  if (dw < 1 || dh < 1) return {};
  std::vector<uint32_t> dst;
  const bool pixels = sw >= 1 && sh >= 1 && src.size() >= static_cast<size_t>(int64_t{sw} * sh);
  for (int y = 0; y < dh; ++y)
    for (int x = 0; x < dw; ++x)
      dst.push_back(pixels ? src[static_cast<size_t>(int64_t{y} * sh / dh * sw + int64_t{x} * sw / dw)] : 0);
  return dst;
}

String RgbToHtml(uint32_t rgb) {
  static const char16_t* const kHex = u"0123456789ABCDEF";
  String html = u"#";
  for (int channel = 0; channel < 3; ++channel) {
    const uint32_t v = rgb >> (8 * channel) & 0xFF;
    html += kHex[v / 16];
    html += kHex[v % 16];
  }
  return html;
}

bool SameNumber(long double a, long double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

}  // namespace literal

namespace {

long double AnyNumber(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: return in.ConsumeIntegralInRange(-1000, 1000);
    case 1: return in.ConsumeFloatingPointInRange<double>(-600, 600);
    case 2: return std::numeric_limits<long double>::infinity() * (in.ConsumeBool() ? 1 : -1);
    case 3: return std::numeric_limits<long double>::quiet_NaN();
    default: return in.ConsumeFloatingPoint<double>();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);

  const std::string bytes = in.ConsumeRandomLengthString(200);
  const std::string encoded = EncodeBase64Lines(bytes);
  fuzz::Holds("EncodeBase64Lines", encoded == literal::EncodeBase64Lines(bytes));
  fuzz::Holds("DecodeBase64 of EncodeBase64Lines", DecodeBase64(encoded) == bytes);
  // A Base64-like text: pieces of a real one, blanks, padding and now and then anything.
  std::string text;
  for (int n = in.ConsumeIntegralInRange(0, 12); n > 0; --n) {
    static const char* const kPieces[] = {"QUJD", "SGk", "h", "=", "==", "\r\n", " ", "\t", "A", "+/", "-", "*"};
    text += in.ConsumeIntegralInRange(0, 9) ? std::string(kPieces[in.ConsumeIntegralInRange<size_t>(0, 11)])
                                            : in.ConsumeRandomLengthString(3);
  }
  std::optional<std::string> decoded;
  try { decoded = DecodeBase64(text); } catch (const rtl::EConvertError&) {}
  fuzz::Holds("DecodeBase64", decoded == literal::DecodeBase64(text));

  const uint32_t color = in.ConsumeIntegral<uint32_t>();
  const bool lighter = in.ConsumeBool();
  const long double factor = AnyNumber(in);
  Same("ChangeColor", static_cast<long long>(ChangeColor(color, lighter, factor)),
       static_cast<long long>(literal::ChangeColor(color, lighter, factor)));
  Same("RgbToHtml", RgbToHtml(color), literal::RgbToHtml(color));

  const int sw = in.ConsumeIntegralInRange(-2, 24), sh = in.ConsumeIntegralInRange(-2, 24);
  const int dw = in.ConsumeIntegralInRange(-2, 48), dh = in.ConsumeIntegralInRange(-2, 48);
  std::vector<uint32_t> src(std::max(0, sw) * std::max(0, sh) + in.ConsumeIntegralInRange(-2, 2) + 2);
  for (uint32_t& p : src) p = in.ConsumeIntegral<uint8_t>();
  fuzz::Holds("StretchPixels", StretchPixels(src, sw, sh, dw, dh) == literal::StretchPixels(src, sw, sh, dw, dh));
  // Large source sides over a few pixels: no pixel is read outside the source.
  const int big = in.ConsumeIntegral<int>();
  fuzz::Holds("StretchPixels of a short source",
              StretchPixels(src, big, sh, dw, dh) == literal::StretchPixels(src, big, sh, dw, dh));

  curOS = fuzz::Text(in, 4) + (in.ConsumeBool() ? u"mint" : u"") + fuzz::Text(in, 4) +
          (in.ConsumeBool() ? u"ubuntu" : u"");
  const uint32_t fallback = in.ConsumeIntegral<uint32_t>();
  Same("GetSysSelColor", static_cast<long long>(GetSysSelColor(fallback)),
       static_cast<long long>(curOS.find(u"mint") != String::npos     ? 0x72B392
                              : curOS.find(u"ubuntu") != String::npos ? 0x4677F0
                                                                      : fallback));
  curOS.clear();

  // Fitting: containers of any integer sides, pictures of any size.
  const int cw = in.ConsumeBool() ? in.ConsumeIntegralInRange(-5, 2000) : in.ConsumeIntegral<int>();
  const int ch = in.ConsumeBool() ? in.ConsumeIntegralInRange(-5, 2000) : in.ConsumeIntegral<int>();
  long double pw = AnyNumber(in), ph = AnyNumber(in);
  const long double pw0 = pw, ph0 = ph;
  bool raised = false;
  try { FitPictureToContainer(cw, ch, pw, ph); } catch (const rtl::EZeroDivide&) { raised = true; }
  if (pw0 == 0 || ph0 == 0) {
    fuzz::Holds("FitPictureToContainer: a picture side of 0 changes nothing", !raised && literal::SameNumber(pw, pw0) &&
                                                                                    literal::SameNumber(ph, ph0));
  } else if (cw == 0 || ch == 0) {
    fuzz::Holds("FitPictureToContainer: EZeroDivide for a container side of 0", raised);
  } else {
    const long double r = std::max(pw0 / cw, ph0 / ch);
    fuzz::Holds("FitPictureToContainer", !raised && literal::SameNumber(pw, std::nearbyint(pw0 / r)) &&
                                             literal::SameNumber(ph, std::nearbyint(ph0 / r)));
  }
  int iw = in.ConsumeBool() ? in.ConsumeIntegralInRange(-5, 5000) : in.ConsumeIntegral<int>();
  int ih = in.ConsumeBool() ? in.ConsumeIntegralInRange(-5, 5000) : in.ConsumeIntegral<int>();
  const int iw0 = iw, ih0 = ih;
  FitPictureToContainerInt(cw, ch, iw, ih);
  int want_w = iw0, want_h = ih0;
  if (cw != 0 && ch != 0) {
    const long double r = std::max(static_cast<long double>(iw0) / cw, static_cast<long double>(ih0) / ch);
    const long double w = literal::HalfEven(iw0 / r), h = literal::HalfEven(ih0 / r);
    const auto fits = [](long double v) { return std::isfinite(v) && v >= INT_MIN && v <= INT_MAX; };
    if (r != 0 && fits(w) && fits(h)) want_w = static_cast<int>(w), want_h = static_cast<int>(h);
  }
  fuzz::Holds("FitPictureToContainerInt", iw == want_w && ih == want_h);
  return 0;
}
