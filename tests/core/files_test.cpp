#include "kv_tools/files.h"

#include <gtest/gtest.h>

#include <limits>

#include "kv_tools/globals.h"
#include "rtl/errors.h"
#include "rtl/format_settings.h"

namespace Kv_tools {
namespace {

// Sets the process's decimal separator for a scope.
class ScopedDecimalSeparator {
 public:
  explicit ScopedDecimalSeparator(char16_t c) : saved_(rtl::ProcessFormatSettings().DecimalSeparator) {
    rtl::ProcessFormatSettings().DecimalSeparator = c;
  }
  ~ScopedDecimalSeparator() { rtl::ProcessFormatSettings().DecimalSeparator = saved_; }

 private:
  char16_t saved_;
};

constexpr int64_t kGB = int64_t{1} << 30;

TEST(SizeText, UnitsThresholdsAndRounding) {
  ScopedDecimalSeparator comma(u',');
  struct Row {
    const char* label;
    int64_t size;
    const char16_t* expected;
  } rows[] = {
      {"zero", 0, u"0,00 kb"},
      {"a few bytes show as the smallest step", 3, u"0,01 kb"},
      {"5 bytes: 0,0049 rounds to zero", 5, u"0,01 kb"},
      {"10 bytes round up by themselves", 10, u"0,01 kb"},
      {"exact half rounds away from zero", 128, u"0,13 kb"},
      {"half a kilobyte", 512, u"0,50 kb"},
      {"just below a kilobyte", 1023, u"1,00 kb"},
      {"whole kilobytes from 1024", 1024, u"1 kb"},
      {"1,5 kb rounds to even 2", 1536, u"2 kb"},
      {"2,5 kb rounds to even 2", 2560, u"2 kb"},
      {"just above a half rounds up", 2561, u"3 kb"},
      {"2^20 is still whole kilobytes", 1048576, u"1024 kb"},
      {"MB from 2^20 + 1", 1048577, u"1,00 MB"},
      {"2^30 is still MB", kGB, u"1024,00 MB"},
      {"GB from 2^30 + 1", kGB + 1, u"1,00 GB"},
      {"1000 GB is not above 1000", 1000 * kGB, u"1000,00 GB"},
      {"1000,01 GB turns into TB below 1", 1000 * kGB + 6 * 1048576, u"0,98 TB"},
      {"1100 GB", 1100 * kGB, u"1,07 TB"},
      {"largest size", std::numeric_limits<int64_t>::max(), u"8388608,00 TB"},
      {"-1: negative, no 0,01 rule", -1, u"-0,00 kb"},
      {"negatives stay kilobytes", -5 * kGB, u"-5242880,00 kb"},
      {"smallest size", std::numeric_limits<int64_t>::min(), u"-9007199254740992,00 kb"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(GetSizeStr(r.size), r.expected);
  }
}

TEST(SizeText, DecimalSeparatorOfTheProcess) {
  ScopedDecimalSeparator point(u'.');
  struct Row { int64_t size; const char16_t* expected; } rows[] = {
      {kGB + 1, u"1.00 GB"}, {512, u"0.50 kb"}, {1, u"0.01 kb"}, {5, u"0.01 kb"}, {0, u"0.00 kb"},
      {-1, u"-0.00 kb"},
  };
  for (const Row& r : rows) EXPECT_EQ(GetSizeStr(r.size), r.expected) << r.size;
}

double At(int year, int month, int day, int hour, int min, int sec, int msec = 0) {
  double date = 0, time = 0;
  EXPECT_TRUE(rtl::TryEncodeDate(year, month, day, date));
  EXPECT_TRUE(rtl::TryEncodeTime(hour, min, sec, msec, time));
  return date + time;
}

TEST(FileDates, TwoSecondStepsAndYearRange) {
  struct Row {
    const char* label;
    double value;
    uint32_t file_date;
    double read_back;
  } rows[] = {
      {"first representable day", At(1980, 1, 1, 0, 0, 3), 0x00210001, At(1980, 1, 1, 0, 0, 2)},
      {"odd second rounds down", At(2023, 6, 15, 12, 0, 1), 0x56CF6000, At(2023, 6, 15, 12, 0, 0)},
      {"milliseconds dropped", At(2023, 6, 15, 23, 59, 59, 999), 0x56CFBF7D, At(2023, 6, 15, 23, 59, 58)},
      {"last representable year", At(2107, 12, 31, 10, 30, 44), 0xFF9F53D6, At(2107, 12, 31, 10, 30, 44)},
      {"before 1980", At(1979, 12, 31, 23, 59, 58), 0, 0},
      {"after 2107", At(2108, 1, 1, 0, 0, 0), 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(DateTimeToFileDate(r.value), r.file_date);
    const std::optional<double> back = FileDateToDateTime(r.file_date);
    if (r.file_date == 0) {
      EXPECT_FALSE(back) << "0 holds month 0, day 0";
    } else {
      ASSERT_TRUE(back);
      EXPECT_NEAR(*back, r.read_back, 1e-9);
    }
  }
  EXPECT_FALSE(FileDateToDateTime(0x00210000 | 24 << 11)) << "hour 24";
  EXPECT_FALSE(FileDateToDateTime(0x00200000)) << "day 0";
}

TEST(CompareReport, EqualDifferentAndPrefix) {
  const String header = u"6: Größe von C:\\d\\one.txt\r6: Größe von C:\\d\\two.txt\r";
  struct Row {
    const char* label;
    std::string bytes1, bytes2;
    String expected_after_header;
  } rows[] = {
      {"equal", "abcdef", "abcdef", u"\rDateien sind gleich."},
      {"last byte", "abcdef", "abcdeX",
       u"\rDateien unterscheiden sich an Position: 6\r\rf \" Wert: 102 (one.txt)\rX \" Wert: 88 (two.txt)"
       u"\r\rf\rX"},
      {"context stops after a line break in either file", "aXc\ndd", "aYc\r\nd",
       u"\rDateien unterscheiden sich an Position: 2\r\rX \" Wert: 88 (one.txt)\rY \" Wert: 89 (two.txt)"
       u"\r\rXc\n\rYc\r"},
      {"bytes through the ANSI code page", "a\xE4zzzz", "a\xF6zzzz",
       u"\rDateien unterscheiden sich an Position: 2\r\rä \" Wert: 228 (one.txt)\rö \" Wert: 246 (two.txt)"
       u"\r\räzzzz\rözzzz"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(CompareReport(u"C:\\d\\one.txt", u"C:\\d\\two.txt", 6, 6, r.bytes1, r.bytes2),
              header + r.expected_after_header);
  }

  EXPECT_EQ(CompareReport(u"a", u"b", 3, 5, "abc", "abcde"), u"3: Größe von a\r5: Größe von b\r")
      << "a prefix: nothing after the header";
  const String long_context =
      CompareReport(u"a", u"b", 14, 14, std::string("x") + "0123456789abc", std::string("y") + "0123456789abc");
  EXPECT_TRUE(long_context.ends_with(u"\r\rx012345678\ry012345678")) << "ten bytes of context";
}

class VersionText : public ::testing::Test {
 protected:
  void SetUp() override { saved_lines_ = LinesToRead; }
  void TearDown() override { LinesToRead = saved_lines_; }
  static TFileVersionInfo Filled() { return {"id", "pv", "fv", "sys", "pw", "net", "only"}; }

 private:
  int32_t saved_lines_ = 0;
};

String Fields(std::initializer_list<const char16_t*> fields) {
  String s;
  for (const char16_t* f : fields) s += String(f) + u'\x01';
  return s;
}

// The same without the final separator.
String OpenFields(std::initializer_list<const char16_t*> fields) {
  String s = Fields(fields);
  s.pop_back();
  return s;
}

TEST_F(VersionText, FieldsKeptEmptiedOrTaken) {
  struct Row {
    const char* label;
    String text;
    bool result;
    TFileVersionInfo expected;
    int32_t lines;
  } rows[] = {
      {"no marker", Fields({u"@kv-VER", u"a", u"b"}), false, Filled(), 7},
      {"empty text", u"", false, Filled(), 7},
      {"marker only: 2-5 kept, 7-9 emptied", u"@kv-VER@", true, {"id", "pv", "fv", "sys", "", "", ""}, 7},
      {"three fields", Fields({u"@kv-VER@", u"Tarn", u"2.1"}), true, {"Tarn", "2.1", "fv", "sys", "", "", ""}, 7},
      {"all nine, open form", OpenFields({u"@kv-VER@", u"P", u"V", u"F", u"S", u"12", u"W", u"N", u"O"}), true,
       {"P", "V", "F", "S", "W", "N", "O"}, 12},
      {"empty fields", Fields({u"@kv-VER@", u"", u"", u"", u"", u"", u"", u"", u""}), true,
       {"", "", "", "", "", "", ""}, 0},
      {"ANSI form of the texts", Fields({u"@kv-VER@", u"Grüße€", u"中"}), true,
       {"Gr\xFC\xDF\x65\x80", "?", "fv", "sys", "", "", ""}, 7},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    LinesToRead = 7;
    TFileVersionInfo info = Filled();
    EXPECT_EQ(kv_GetFileVersion(r.text, info), r.result);
    EXPECT_TRUE(info == r.expected) << info.ProgID << "|" << info.ProgVersion << "|" << info.FileVersion << "|"
                                    << info.System << "|" << info.Password << "|" << info.NetUse << "|"
                                    << info.OnlyNetUse;
    EXPECT_EQ(LinesToRead, r.lines);
  }
}

TEST_F(VersionText, NonNumericLineCountRaisesAfterTheFirstFields) {
  TFileVersionInfo info = Filled();
  LinesToRead = 7;
  EXPECT_THROW(kv_GetFileVersion(Fields({u"@kv-VER@", u"P", u"V", u"F", u"S", u"zehn", u"W"}), info),
               rtl::EConvertError);
  EXPECT_EQ(info.ProgID, "P");
  EXPECT_EQ(info.System, "S");
  EXPECT_EQ(info.Password, "pw") << "fields after 6 untouched";
  EXPECT_EQ(LinesToRead, 7);
}

}  // namespace
}  // namespace Kv_tools
