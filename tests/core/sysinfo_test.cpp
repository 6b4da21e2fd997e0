#include "kv_tools/sysinfo.h"

#include <gtest/gtest.h>

namespace Kv_tools {
namespace {

std::optional<OSVersionBlock> Block(uint32_t platform, uint32_t major, uint32_t minor, uint32_t build,
                                    const char16_t* csd = u"") {
  return OSVersionBlock{major, minor, build, platform, csd};
}

const std::optional<OSVersionBlock> kNoBlock;

TEST(OSNames, ShortAndExtendedNamesByPlatformAndVersion) {
  struct Row {
    const char* label;
    std::optional<OSVersionBlock> block;
    int record_build;
    const char16_t *short_name, *ex_name;
  } rows[] = {
      {"failed read", kNoBlock, 0, u"Unknown", u"Unknown"},
      {"95", Block(1, 4, 0, 950), 0, u"Windows 95", u"Windows 95"},
      {"98", Block(1, 4, 10, 1998, u" "), 0, u"Windows 98", u"Windows 98"},
      {"98SE: second character A", Block(1, 4, 10, 2222, u" A "), 0, u"Windows 98SE", u"Windows 98SE"},
      {"98: A first is not SE", Block(1, 4, 10, 2222, u"A"), 0, u"Windows 98", u"Windows 98"},
      {"ME", Block(1, 4, 90, 3000), 0, u"Windows ME", u"Windows ME"},
      {"consumer other", Block(1, 5, 0, 0), 0, u"Unknown", u"Unknown"},
      {"NT 3.51", Block(2, 3, 51, 1057), 0, u"Windows NT", u"Windows NT"},
      {"NT 4", Block(2, 4, 0, 1381), 0, u"Windows NT", u"Windows NT"},
      {"2000", Block(2, 5, 0, 2195), 0, u"Windows 2000", u"Windows 2000"},
      {"XP", Block(2, 5, 1, 2600), 0, u"Windows XP", u"Windows XP"},
      {"XP x64 / 2003", Block(2, 5, 2, 3790), 0, u"Windows XP", u"Windows XP"},
      {"Vista", Block(2, 6, 0, 6002), 0, u"Windows Vista", u"Windows Vista"},
      {"7", Block(2, 6, 1, 7601), 7601, u"Windows Seven", u"Windows 7"},
      {"8, or a later system without compatibility declaration", Block(2, 6, 2, 9200), 22621,
       u"Windows Eight", u"Windows 8"},
      {"8.1", Block(2, 6, 3, 9600), 9600, u"Windows Eight", u"Windows 8.1"},
      {"10", Block(2, 10, 0, 19045), 19045, u"Windows Ten", u"Windows 10"},
      {"10, last build before 11", Block(2, 10, 0, 21999), 21999, u"Windows Ten", u"Windows 10"},
      {"11", Block(2, 10, 0, 22000), 22000, u"Windows 11", u"Windows 11"},
      {"NT unknown 11.0", Block(2, 11, 0, 1), 0, u"Unknown", u"Unknown:11.0"},
      {"NT unknown 6.4", Block(2, 6, 4, 1), 0, u"Unknown", u"Unknown:6.4"},
      {"platform 0 (Win32s)", Block(0, 3, 10, 0), 0, u"Unknown", u"Unknown"},
      {"platform 3 (CE)", Block(3, 5, 0, 0), 0, u"Unknown", u"Unknown"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(OSNameOf(r.block, r.record_build), r.short_name);
    EXPECT_EQ(OSNameExOf(r.block, r.record_build, false, false), r.ex_name);
  }
}

TEST(OSNames, ExtendedSuffixesOnNTOnly) {
  struct Row {
    const char* label;
    std::optional<OSVersionBlock> block;
    int record_build;
    bool with_build, with_sp;
    const char16_t* expected;
  } rows[] = {
      {"7 build and pack", Block(2, 6, 1, 7601, u"Service Pack 1"), 7601, true, true,
       u"Windows 7, Build 7601 Service Pack 1"},
      {"blank even without a pack", Block(2, 6, 1, 7600), 7600, false, true, u"Windows 7 "},
      {"11 takes the block's build", Block(2, 10, 0, 22631), 22631, true, false, u"Windows 11, Build 22631"},
      {"unknown gets suffixes", Block(2, 11, 0, 5), 0, true, false, u"Unknown:11.0, Build 5"},
      {"consumer never", Block(1, 4, 10, 2222, u" A "), 0, true, true, u"Windows 98SE"},
      {"failed read never", kNoBlock, 0, true, true, u"Unknown"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(OSNameExOf(r.block, r.record_build, r.with_build, r.with_sp), r.expected);
  }
}

TEST(OSNames, NameFromVersionRecord) {
  OSVersionRecord ten = OSVersionRecordOf(10, 0, 19045, 0, true);
  EXPECT_EQ(ten.Description, u"Windows 10 (Version 10.0, Build 19045, 64-bit Edition)");
  EXPECT_EQ(OSNameEx2Of(ten, true), u"Windows 10  Build 19045");
  EXPECT_EQ(OSNameEx2Of(ten, false), u"WIN 10.0");

  OSVersionRecord eleven = OSVersionRecordOf(10, 0, 22631, 0, false);
  EXPECT_EQ(eleven.Name, u"Windows 10");
  EXPECT_EQ(OSNameEx2Of(eleven, true), u"Windows 11 (Version 10.0, Build 22631, 32-bit Edition)");

  OSVersionRecord seven = OSVersionRecordOf(6, 1, 7601, 1, false);
  EXPECT_EQ(seven.Description, u"Windows 7 Service Pack 1 (Version 6.1, Build 7601, 32-bit Edition)");
  EXPECT_EQ(OSNameEx2Of(seven, true), u"Windows 7  Build 7601");
  EXPECT_EQ(OSVersionRecordOf(12, 0, 30000, 0, false).Name, u"Windows");
}

TEST(OSNames, WindowsVersionLine) {
  struct Row {
    const char* label;
    std::optional<OSVersionBlock> block;
    const char16_t* expected;
  } rows[] = {
      {"failed read", kNoBlock, u"GetversionEx() Error"},
      {"95: low 16 bits of the build", Block(1, 4, 0, 0x040003B6), u"Windows 95 - Version 4.0 Build 950"},
      {"98: two-digit minor", Block(1, 4, 10, 0x040A07CE), u"Windows 98 - Version 4.10.1998"},
      {"ME", Block(1, 4, 90, 0x045A0BB8), u"Windows 98 - Version 4.90.3000"},
      {"NT 4 keeps its point", Block(2, 4, 0, 1381), u"Windows NT Version 4.0. Build 1381"},
      {"2000 has no name", Block(2, 5, 0, 2195), u"Windows Version 5.0 Build 2195"},
      {"XP", Block(2, 5, 1, 2600), u"Windows XP Version 5.1 Build 2600"},
      {"XP server", Block(2, 5, 2, 3790), u"Windows XP Server 5.2 Build 3790"},
      {"Vista", Block(2, 6, 0, 6002), u"Windows Vista Version 6.0 Build 6002"},
      {"7", Block(2, 6, 1, 7601), u"Windows 7 Version 6.1 Build 7601"},
      {"8", Block(2, 6, 2, 9200), u"Windows 8 Version 6.2 Build 9200"},
      {"8.1", Block(2, 6, 3, 9600), u"Windows 8.1 Version 6.3 Build 9600"},
      {"11 reads as 10", Block(2, 10, 0, 22631), u"Windows 10 Version 10.0 Build 22631"},
      {"build above 16 bits", Block(2, 10, 0, 70000), u"Windows 10 Version 10.0 Build 4464"},
      {"unknown NT", Block(2, 11, 0, 1), u"Windows Version 11.0 Build 1"},
      {"unknown platform", Block(0, 3, 10, 0), u""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(WindowsVersionOf(r.block), r.expected);
  }
}

TEST(OSNames, FamilyTests) {
  struct Row {
    const char* label;
    std::optional<OSVersionBlock> block;
    bool nt, osr2, desktop;
  } rows[] = {
      {"failed read", kNoBlock, false, false, false},
      {"95 first release", Block(1, 4, 0, 950), false, false, false},
      {"95 OSR2", Block(1, 4, 0, 0x04000457), false, true, false},
      {"98 is no 95", Block(1, 4, 10, 1998), false, false, false},
      {"NT 4", Block(2, 4, 0, 1381), true, false, true},
      {"7", Block(2, 6, 1, 7601), true, false, true},
      {"8.1 still major 6", Block(2, 6, 3, 9600), true, false, true},
      {"10", Block(2, 10, 0, 19045), true, false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(IsWindowsNTOf(r.block), r.nt);
    EXPECT_EQ(IsWin95OSR2Of(r.block), r.osr2);
    EXPECT_EQ(ScreenSaverByDesktop(r.block), r.desktop);
  }
}

}  // namespace
}  // namespace Kv_tools
