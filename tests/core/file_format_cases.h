// Files for the format detectors: their bytes and what the detectors answer. Rows marked
// cp1252 hold bytes whose answer depends on the ANSI code page; the answers given are those
// of code page 1252 (the native build's, and Wine's for an English or German locale).
#pragma once

#include <string>
#include <vector>

#include "rtl/encoding.h"
#include "rtl/string.h"

namespace file_format_cases {

struct Case {
  const char* label;
  std::string bytes;
  const char16_t* format;              // GetFileFormat
  const rtl::Encoding* encoding;       // GetFileFormatEncoding
  const rtl::Encoding* checked;        // CheckFileFormat
  int figure;                          // CheckFileFormat
  bool line_break;                     // CheckFileFormat
  bool cp1252;
};

inline std::vector<Case> Cases() {
  using rtl::Encoding;
  const Encoding *ansi = Encoding::ANSI(), *utf8 = Encoding::UTF8(), *le = Encoding::Unicode(),
                 *be = Encoding::BigEndianUnicode();
  using namespace std::string_literals;
  return {
      {"empty", "", u"Ansi", ansi, ansi, 0, false, false},
      {"one byte", "a", u"Ansi", ansi, ansi, 0, false, false},
      {"UTF-8 mark alone", "\xEF\xBB\xBF", u"Ansi", ansi, ansi, 0, false, false},
      {"UTF-16 mark and one byte", "\xFF\xFE\x41", u"Ansi", ansi, ansi, 0, false, false},
      {"UTF-8 letter in 3 bytes", "\xC3\xA4x", u"Ansi", ansi, ansi, 0, false, false},
      {"4 ASCII bytes", "abcd", u"Ansi", ansi, ansi, 0, false, false},
      {"UTF-8 letters in 4 bytes", "\xC3\xA4\xC3\xB6", u"utf-8", utf8, utf8, 0, false, false},
      {"UTF-8 mark", "\xEF\xBB\xBF" "abc\r\n", u"utf-8", utf8, utf8, 4, true, false},
      {"UTF-32 LE mark", "\xFF\xFE\0\0a\0\0\0"s, u"utf-32-little", le, le, 4, false, false},
      {"UTF-16 LE mark", "\xFF\xFE\x41\0"s, u"utf-16", le, le, 2, false, false},
      {"UTF-16 LE line break", "\xFF\xFE" "a\0\r\0\n\0"s, u"utf-16", le, le, 2, false, false},
      {"UTF-16 BE mark", "\xFE\xFF\0A\0\r\0\n"s, u"utf-16-big", be, be, 2, false, false},
      {"UTF-32 BE mark", "\0\0\xFE\xFF\0\0\0A"s, u"utf-32-big", le, ansi, 4, false, true},
      {"ASCII text", "plain text\r\n", u"Ansi", ansi, ansi, 0, true, false},
      {"UTF-8 without a mark", "Gr\xC3\xB6\xC3\x9F" "e", u"utf-8", utf8, utf8, 0, false, false},
      {"UTF-8 after 8 ASCII bytes", "12345678\xE2\x82\xAC", u"utf-8", utf8, utf8, 0, false, false},
      {"ANSI with accents", "Gr\xF6\xDF" "e", u"Ansi", ansi, ansi, 0, false, true},
      {"UTF-8 followed by a stray byte", "\xC3\xA4 \xE4 x", u"Ansi", ansi, ansi, 0, false, true},
      {"overlong UTF-8", "ab\xC0\xAF", u"Ansi", ansi, ansi, 0, false, true},
      {"UTF-8 form of a surrogate", "ab\xED\xA0\x80", u"Ansi", ansi, ansi, 0, false, true},
      {"truncated UTF-8 at the end", "abc\xE2\x82", u"Ansi", ansi, ansi, 0, false, true},
      {"CR LF inside the first 4 bytes", "a\r\nbc", u"Ansi", ansi, ansi, 0, false, false},
      {"CR LF across byte 4", "abc\r\nx", u"Ansi", ansi, ansi, 0, false, false},
      {"CR LF at byte 4", "abcd\r\n", u"Ansi", ansi, ansi, 0, true, false},
      {"CR CR LF", "abcd\r\r\nx", u"Ansi", ansi, ansi, 0, false, false},
      {"CR CR LF then CR LF", "abcd\r\r\n\r\n", u"Ansi", ansi, ansi, 0, true, false},
      {"CR as the last byte", "abcde\r", u"Ansi", ansi, ansi, 0, false, false},
      {"LF CR", "abcd\n\rx", u"Ansi", ansi, ansi, 0, false, false},
  };
}

}  // namespace file_format_cases
