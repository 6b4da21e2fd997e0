#include "kv_tools/file_format.h"

#include <gtest/gtest.h>

#include "rtl/platform.h"
#include "tests/core/file_format_cases.h"

namespace Kv_tools {
namespace {

using rtl::Encoding;
using namespace std::string_literals;

TEST(FileFormat, DecisionsOverBytes) {
  for (const auto& c : file_format_cases::Cases()) {
    if (c.cp1252 && rtl::AnsiCodePage() != 1252) continue;
    SCOPED_TRACE(c.label);
    EXPECT_EQ(FileFormatOf(c.bytes), c.format);
    EXPECT_EQ(FileEncodingOf(c.bytes), c.encoding);
    int figure = -1;
    bool line_break = !c.line_break;
    EXPECT_EQ(CheckedEncodingOf(c.bytes, figure, line_break), c.checked);
    EXPECT_EQ(figure, c.figure);
    EXPECT_EQ(line_break, c.line_break);
  }
}

TEST(FileFormat, MultiByteUtf8) {
  struct Row { const char* label; std::string bytes; bool want; } rows[] = {
      {"ASCII", "abc", false},
      {"lowest two-byte", "\xC2\x80", true},
      {"overlong two-byte", "\xC1\xBF", false},
      {"overlong three-byte", "\xE0\x9F\xBF", false},
      {"lowest three-byte", "\xE0\xA0\x80", true},
      {"last before surrogates", "\xED\x9F\xBF", true},
      {"surrogate", "\xED\xA0\x80", false},
      {"overlong four-byte", "\xF0\x8F\xBF\xBF", false},
      {"lowest four-byte", "\xF0\x90\x80\x80", true},
      {"highest four-byte", "\xF4\x8F\xBF\xBF", true},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false},
      {"lead F5", "\xF5\x80\x80\x80", false},
      {"truncated", "\xE2\x82", false},
      {"lone continuation", "\x80", false},
      {"bad continuation", "\xE2\x28\xA1", false},
      {"after 7 ASCII bytes", "1234567\xC3\xA4", true},
      {"invalid after 16 ASCII bytes", "1234567812345678\xC3\xA4\xFF", false},
      // Sequences at the edges of 16-byte blocks.
      {"two-byte across bytes 15 and 16", std::string(15, 'a') + "\xC3\xA4", true},
      {"three-byte across bytes 14 to 16", std::string(14, 'a') + "\xE2\x82\xAC" + std::string(15, 'a'), true},
      {"three-byte across bytes 15 to 17", std::string(15, 'a') + "\xE2\x82\xAC" + std::string(15, 'a'), true},
      {"bad continuation at byte 16", std::string(15, 'a') + "\xC3" + std::string(16, 'a'), false},
      {"truncated at byte 17", std::string(15, 'a') + "\xE2\x82" + std::string(16, 'a'), false},
      {"across a block edge, then a surrogate", std::string(15, 'a') + "\xE2\x82\xAC\xED\xA0\x80" + std::string(15, 'a'), false},
      {"across a block edge, then four bytes", std::string(14, 'a') + "\xE2\x82\xAC\xF0\x90\x80\x80" + std::string(15, 'a'), true},
      {"lone continuation at byte 16", std::string(16, 'a') + "\x80" + std::string(15, 'a'), false},
  };
  for (const Row& r : rows) EXPECT_EQ(IsMultiByteUtf8(r.bytes), r.want) << r.label;
}

TEST(FileFormat, RoundTripsOnCodePage1252) {
  if (rtl::AnsiCodePage() != 1252) GTEST_SKIP() << "ANSI code page " << rtl::AnsiCodePage();
  std::string every_byte;
  for (int b = 0; b < 256; ++b) every_byte += static_cast<char>(b);
  EXPECT_TRUE(AnsiRoundTripKeeps(every_byte));
  EXPECT_TRUE(Utf8RoundTripKeeps(every_byte));
  // Without the UTF-8 rule every such file would count as ANSI.
  EXPECT_EQ(FileFormatOf("caf\xC3\xA9"), u"utf-8");
  EXPECT_EQ(FileFormatOf("caf\xE9!"), u"Ansi");
}

TEST(FileFormat, TextAndLines) {
  EXPECT_EQ(DecodeText("\xEF\xBB\xBFx", Encoding::UTF8()), u"x");
  EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xEF\xBB\xBFx", Encoding::UTF8()), u"\uFEFFx");
  EXPECT_EQ(DecodeText("\xFF\xFEx\0"s, Encoding::Unicode()), u"x");
  EXPECT_EQ(DecodeText("\xFE\xFF\0x"s, Encoding::Unicode()), u"\uFFFE\u7800");  // not its mark
  EXPECT_EQ(DecodeText("ab", nullptr), u"ab");
  StringList lines;
  EXPECT_EQ(EncodeLines(lines, Encoding::Unicode(), true), "\xFF\xFE");
  EXPECT_EQ(EncodeLines(lines, Encoding::ANSI(), true), "");
  lines.Add(u"a");
  lines.Add(u"");
  lines.Add(u"\u00E4");
  EXPECT_EQ(EncodeLines(lines, nullptr, false), "a\r\n\r\n"s + rtl::EncodeAnsi(u"\u00E4") + "\r\n");
  EXPECT_EQ(EncodeLines(lines, Encoding::UTF8(), true), "\xEF\xBB\xBF" "a\r\n\r\n\xC3\xA4\r\n");
  EXPECT_EQ(EncodeLines(lines, Encoding::BigEndianUnicode(), false),
            "\0a\0\r\0\n\0\r\0\n\0\xE4\0\r\0\n"s);
}

}  // namespace
}  // namespace Kv_tools
