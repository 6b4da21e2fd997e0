#include "rtl/encoding.h"

#include <gtest/gtest.h>

#include "rtl/platform.h"
#include "rtl/stream.h"

namespace rtl {
namespace {

using namespace std::string_literals;

TEST(Encoding, SharedObjects) {
  EXPECT_EQ(Encoding::UTF8(), Encoding::UTF8());
  const Encoding* all[] = {Encoding::ANSI(), Encoding::UTF8(), Encoding::Unicode(),
                           Encoding::BigEndianUnicode()};
  for (size_t i = 0; i < 4; ++i)
    for (size_t j = i + 1; j < 4; ++j) EXPECT_NE(all[i], all[j]);
}

TEST(Encoding, BytesAndText) {
  struct Row {
    const char* label;
    const Encoding* encoding;
    String text;
    std::string bytes, mark;
  } rows[] = {
      {"UTF-8", Encoding::UTF8(), u"Gr\u00F6\u00DFe \u20AC \U0001F600",
       "Gr\xC3\xB6\xC3\x9F"
       "e \xE2\x82\xAC \xF0\x9F\x98\x80",
       "\xEF\xBB\xBF"},
      {"UTF-16 LE", Encoding::Unicode(), u"A\u20AC\U0001F600", "A\0\xAC\x20\x3D\xD8\x00\xDE"s,
       "\xFF\xFE"},
      {"UTF-16 BE", Encoding::BigEndianUnicode(), u"A\u20AC", "\0A\x20\xAC"s, "\xFE\xFF"},
      {"ANSI", Encoding::ANSI(), u"abc", "abc", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(r.encoding->GetBytes(r.text), r.bytes);
    EXPECT_EQ(r.encoding->GetString(r.bytes), r.text);
    EXPECT_EQ(r.encoding->Preamble(), r.mark);
  }
  EXPECT_EQ(Encoding::Unicode()->GetString("A\0B"s), u"A");
  EXPECT_EQ(Encoding::BigEndianUnicode()->GetString("\0A\0"s), u"A");
  EXPECT_EQ(Encoding::UTF8()->GetString("a\xFF"
                                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Encoding::UTF8()->GetBytes(u"a\xD800"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Encoding::ANSI()->GetString("\xE4"), DecodeAnsi("\xE4"));
  if (AnsiCodePage() == 1252) {
    EXPECT_EQ(Encoding::ANSI()->GetBytes(u"\u00E4\u20AC"), "\xE4\x80");
    EXPECT_EQ(Encoding::ANSI()->GetString("\xE4\x80"), u"\u00E4\u20AC");
  }
}

TEST(Stream, MemoryStream) {
  MemoryStream stream("abcdef");
  char buffer[4];
  EXPECT_EQ(stream.Read(buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 4), "abcd");
  EXPECT_EQ(stream.ReadToEnd(), "ef");
  EXPECT_EQ(stream.Read(buffer, 4), 0u);
  stream.SetPosition(2);
  EXPECT_EQ(stream.ReadToEnd(), "cdef");
  stream.SetPosition(8);
  EXPECT_EQ(stream.Read(buffer, 1), 0u);
  stream.WriteBuffer("xy", 2);
  EXPECT_EQ(stream.Bytes(), "abcdef\0\0xy"s);
  EXPECT_EQ(stream.Position(), 10);
  stream.SetPosition(1);
  stream.WriteBuffer("Z", 1);
  EXPECT_EQ(stream.Size(), 10);
  EXPECT_EQ(stream.Bytes().substr(0, 3), "aZc");
  stream.SetPosition(-5);
  EXPECT_EQ(stream.Position(), 0);
}

}  // namespace
}  // namespace rtl
