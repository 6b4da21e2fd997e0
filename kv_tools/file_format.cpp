#include "kv_tools/file_format.h"

#include <array>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "rtl/platform.h"

namespace Kv_tools {
namespace {

using rtl::Encoding;

bool StartsWith(std::string_view bytes, std::string_view head) {
  return bytes.substr(0, head.size()) == head;
}

enum class ByteKind { Ascii, MultiByteUtf8, Other };

// Length of the valid UTF-8 sequence that starts at bytes[i], a byte from 0x80 on; 0 when
// there is none. The range of the second byte keeps out overlong forms, surrogates and values
// above U+10FFFF; every further byte is 80..BF.
size_t Utf8SequenceAt(std::string_view bytes, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned lead = byte(i);
  size_t length = 0;
  unsigned low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() - i < length || byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (size_t k = 2; k < length; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  return length;
}

// True when the words * 8 bytes at p are all below 0x80.
template <size_t words>
bool AsciiWords(const char* p) {
  uint64_t word[words], any = 0;
  std::memcpy(word, p, sizeof word);
  for (uint64_t w : word) any |= w;
  return (any & 0x8080808080808080u) == 0;
}

// Index of the first byte from 0x80 on at or after i, or the size: 32 bytes at a time, then 8,
// then one by one.
size_t NextHighByte(std::string_view bytes, size_t i) {
  const char* p = bytes.data();
  while (bytes.size() - i >= 32 && AsciiWords<4>(p + i)) i += 32;
  while (bytes.size() - i >= 8 && AsciiWords<1>(p + i)) i += 8;
  while (i < bytes.size() && static_cast<unsigned char>(p[i]) < 0x80) ++i;
  return i;
}

// Checks the sequences from i on that begin before end and leaves i at the next one: false at
// one that is not valid UTF-8. multi_byte is set when a multi-byte sequence passed.
bool ValidUpTo(std::string_view bytes, size_t& i, size_t end, bool& multi_byte) {
  for (i = NextHighByte(bytes, i); i < end; i = NextHighByte(bytes, i)) {
    const size_t length = Utf8SequenceAt(bytes, i);
    if (length == 0) return false;
    multi_byte = true;
    i += length;
  }
  return true;
}

// With SSE2, 16 bytes at a time: a block of ASCII and the common two- and three-byte sequences
// (C2..DF or E1..EF but ED, then 80..BF) passes as a whole, the last sequence running on into
// the next block when it must; any other block is checked sequence by sequence.
ByteKind Classify(std::string_view bytes) {
  bool multi_byte = false;
  size_t i = 0;
#ifdef __SSE2__
  const auto mask = [](__m128i m) { return static_cast<unsigned>(_mm_movemask_epi8(m)); };
  const auto all = [](unsigned char b) { return _mm_set1_epi8(static_cast<char>(b)); };
  unsigned high_seen = 0;
  unsigned carry = 0;  // the bytes of the block at i that end a sequence begun before it
  size_t back = 0;     // where that sequence began, before i
  while (bytes.size() - i >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
    const unsigned high = mask(block);
    // Signed compares: the bytes from 0x80 on are the negative ones. Bit k: byte k of the block.
    const unsigned leads2 = mask(_mm_and_si128(_mm_cmpgt_epi8(block, all(0xC1)), _mm_cmplt_epi8(block, all(0xE0))));
    const unsigned leads3 = mask(_mm_andnot_si128(
        _mm_cmpeq_epi8(block, all(0xED)), _mm_and_si128(_mm_cmpgt_epi8(block, all(0xE0)), _mm_cmplt_epi8(block, all(0xF0)))));
    const unsigned continuations = mask(_mm_cmplt_epi8(block, all(0xC0)));
    const unsigned expected = (leads2 | leads3) << 1 | leads3 << 2 | carry;
    if ((leads2 | leads3 | continuations) == high && (expected & 0xFFFF) == continuations) {
      high_seen |= high;
      carry = expected >> 16;
      back = carry == 0 ? 0 : ((leads2 | leads3) & 0x8000) != 0 ? 1 : 2;
      i += 16;
    } else {
      i -= back;
      if (!ValidUpTo(bytes, i, i + back + 16, multi_byte)) return ByteKind::Other;
      carry = 0;
      back = 0;
    }
  }
  i -= back;
  multi_byte = multi_byte || high_seen != 0;
#endif
  if (!ValidUpTo(bytes, i, bytes.size(), multi_byte)) return ByteKind::Other;
  return multi_byte ? ByteKind::MultiByteUtf8 : ByteKind::Ascii;
}

// What the ANSI code page does with single bytes, learnt once through the platform. On a
// single-byte code page every byte decodes on its own, so a text survives a round trip when
// each of its bytes does; other code pages take the round trip in full.
struct AnsiBytes {
  bool single_byte = true;
  bool all_kept = true;       // every byte survives the ANSI round trip
  bool no_surrogate = true;   // no byte decodes to a surrogate (the UTF-8 round trip keeps)
  std::array<bool, 256> kept{};

  static const AnsiBytes& Platform() {
    static const AnsiBytes page;
    return page;
  }

 private:
  AnsiBytes() {
    std::string every(256, '\0');
    for (int b = 0; b < 256; ++b) every[b] = static_cast<char>(b);
    const String together = rtl::DecodeAnsi(every);
    single_byte = together.size() == 256;
    for (int b = 0; b < 256; ++b) {
      const String alone = rtl::DecodeAnsi(every.substr(b, 1));
      single_byte = single_byte && alone.size() == 1 && alone[0] == together[b];
      kept[b] = rtl::DecodeAnsi(rtl::EncodeAnsi(alone)) == alone;
      all_kept = all_kept && kept[b];
      for (char16_t c : alone) no_surrogate = no_surrogate && (c < 0xD800 || c > 0xDFFF);
    }
  }
};

// The decision without a mark: true for UTF-8. Every ANSI code page decodes the bytes below
// 0x80 one for one as ASCII, so pure ASCII survives either round trip and is ANSI.
bool NoMarkIsUtf8(std::string_view bytes, bool (*round_trip_keeps)(std::string_view)) {
  switch (Classify(bytes)) {
    case ByteKind::Ascii: return false;
    case ByteKind::MultiByteUtf8: return true;
    case ByteKind::Other: break;
  }
  return !round_trip_keeps(bytes);
}

const Encoding* OrAnsi(const Encoding* encoding) { return encoding ? encoding : Encoding::ANSI(); }

}  // namespace

ByteOrderMark FindByteOrderMark(std::string_view Bytes) {
  if (Bytes.size() < 4) return ByteOrderMark::None;
  if (StartsWith(Bytes, "\xEF\xBB\xBF")) return ByteOrderMark::Utf8;
  if (StartsWith(Bytes, std::string_view("\xFF\xFE\0\0", 4)))
    return ByteOrderMark::Utf32LittleEndian;
  if (StartsWith(Bytes, "\xFF\xFE")) return ByteOrderMark::Utf16LittleEndian;
  if (StartsWith(Bytes, "\xFE\xFF")) return ByteOrderMark::Utf16BigEndian;
  if (StartsWith(Bytes, std::string_view("\0\0\xFE\xFF", 4))) return ByteOrderMark::Utf32BigEndian;
  return ByteOrderMark::None;
}

bool IsMultiByteUtf8(std::string_view Bytes) { return Classify(Bytes) == ByteKind::MultiByteUtf8; }

bool AnsiRoundTripKeeps(std::string_view Bytes) {
  const AnsiBytes& page = AnsiBytes::Platform();
  if (page.single_byte) {
    if (page.all_kept) return true;
    for (char b : Bytes)
      if (!page.kept[static_cast<unsigned char>(b)]) return false;
    return true;
  }
  const String text = rtl::DecodeAnsi(Bytes);
  const std::string again = rtl::EncodeAnsi(text);
  return again == Bytes || rtl::DecodeAnsi(again) == text;
}

// The UTF-8 forms keep every text except one with a lone surrogate, which becomes U+FFFD.
bool Utf8RoundTripKeeps(std::string_view Bytes) {
  const AnsiBytes& page = AnsiBytes::Platform();
  if (page.single_byte && page.no_surrogate) return true;
  const String text = rtl::DecodeAnsi(Bytes);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0xD800 || c > 0xDFFF) continue;
    const bool paired = c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                        text[i + 1] <= 0xDFFF;
    if (!paired) return false;
    ++i;
  }
  return true;
}

bool HasLineBreak(std::string_view Bytes) {
  for (size_t i = 4; (i = Bytes.find('\r', i)) != std::string_view::npos; i += 2) {
    if (i + 1 < Bytes.size() && Bytes[i + 1] == '\n') return true;
  }
  return false;
}

String FileFormatOf(std::string_view Bytes) {
  switch (FindByteOrderMark(Bytes)) {
    case ByteOrderMark::Utf8: return u"utf-8";
    case ByteOrderMark::Utf32LittleEndian: return u"utf-32-little";
    case ByteOrderMark::Utf16LittleEndian: return u"utf-16";
    case ByteOrderMark::Utf16BigEndian: return u"utf-16-big";
    case ByteOrderMark::Utf32BigEndian: return u"utf-32-big";
    case ByteOrderMark::None: break;
  }
  return Bytes.size() >= 4 && NoMarkIsUtf8(Bytes, AnsiRoundTripKeeps) ? u"utf-8" : u"Ansi";
}

const rtl::Encoding* FileEncodingOf(std::string_view Bytes) {
  switch (FindByteOrderMark(Bytes)) {
    case ByteOrderMark::Utf8: return Encoding::UTF8();
    case ByteOrderMark::Utf16BigEndian: return Encoding::BigEndianUnicode();
    case ByteOrderMark::Utf32LittleEndian:
    case ByteOrderMark::Utf16LittleEndian:
    case ByteOrderMark::Utf32BigEndian: return Encoding::Unicode();
    case ByteOrderMark::None: break;
  }
  return Bytes.size() >= 4 && NoMarkIsUtf8(Bytes, AnsiRoundTripKeeps) ? Encoding::UTF8()
                                                                     : Encoding::ANSI();
}

const rtl::Encoding* CheckedEncodingOf(std::string_view Bytes, int& Figure, bool& LineBreak) {
  Figure = 0;
  LineBreak = false;
  if (Bytes.size() < 4) return Encoding::ANSI();
  LineBreak = HasLineBreak(Bytes);
  switch (FindByteOrderMark(Bytes)) {
    case ByteOrderMark::Utf8: Figure = 4; return Encoding::UTF8();
    case ByteOrderMark::Utf32LittleEndian: Figure = 4; return Encoding::Unicode();
    case ByteOrderMark::Utf16LittleEndian: Figure = 2; return Encoding::Unicode();
    case ByteOrderMark::Utf16BigEndian: Figure = 2; return Encoding::BigEndianUnicode();
    case ByteOrderMark::Utf32BigEndian: Figure = 4; break;  // counts, yet the bytes decide
    case ByteOrderMark::None: break;
  }
  return NoMarkIsUtf8(Bytes, Utf8RoundTripKeeps) ? Encoding::UTF8() : Encoding::ANSI();
}

String DecodeText(std::string_view Bytes, const rtl::Encoding* TextEncoding) {
  const Encoding* encoding = OrAnsi(TextEncoding);
  const std::string_view mark = encoding->Preamble();
  return encoding->GetString(Bytes.substr(StartsWith(Bytes, mark) ? mark.size() : 0));
}

std::string EncodeLines(const StringList& Lines, const rtl::Encoding* TextEncoding, bool WithMark) {
  const Encoding* encoding = OrAnsi(TextEncoding);
  std::string bytes(WithMark ? encoding->Preamble() : std::string_view());
  bytes += encoding->GetBytes(Lines.Text());
  return bytes;
}

}  // namespace Kv_tools
