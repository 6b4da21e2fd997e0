#include "rtl/encoding.h"

#include "rtl/platform.h"

namespace rtl {
namespace {

class AnsiEncoding final : public Encoding {
 public:
  String GetString(std::string_view bytes) const override { return DecodeAnsi(bytes); }
  std::string GetBytes(StringView text) const override { return EncodeAnsi(text); }
  std::string_view Preamble() const override { return {}; }
};

class Utf8Encoding final : public Encoding {
 public:
  String GetString(std::string_view bytes) const override { return FromUtf8(bytes); }
  std::string GetBytes(StringView text) const override { return ToUtf8(text); }
  std::string_view Preamble() const override { return "\xEF\xBB\xBF"; }
};

// UTF-16 with the byte of each code unit that comes first: low (little-endian) or high.
class Utf16Encoding final : public Encoding {
 public:
  explicit Utf16Encoding(bool big_endian) : big_endian_(big_endian) {}

  String GetString(std::string_view bytes) const override {
    String text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) {
      const unsigned a = static_cast<unsigned char>(bytes[2 * i]);
      const unsigned b = static_cast<unsigned char>(bytes[2 * i + 1]);
      text[i] = static_cast<char16_t>(big_endian_ ? (a << 8 | b) : (b << 8 | a));
    }
    return text;
  }

  std::string GetBytes(StringView text) const override {
    std::string bytes(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
      const char low = static_cast<char>(text[i] & 0xFF), high = static_cast<char>(text[i] >> 8);
      bytes[2 * i] = big_endian_ ? high : low;
      bytes[2 * i + 1] = big_endian_ ? low : high;
    }
    return bytes;
  }

  std::string_view Preamble() const override { return big_endian_ ? "\xFE\xFF" : "\xFF\xFE"; }

 private:
  bool big_endian_;
};

}  // namespace

const Encoding* Encoding::ANSI() {
  static const AnsiEncoding ansi;
  return &ansi;
}

const Encoding* Encoding::UTF8() {
  static const Utf8Encoding utf8;
  return &utf8;
}

const Encoding* Encoding::Unicode() {
  static const Utf16Encoding little_endian(false);
  return &little_endian;
}

const Encoding* Encoding::BigEndianUnicode() {
  static const Utf16Encoding big_endian(true);
  return &big_endian;
}

}  // namespace rtl
