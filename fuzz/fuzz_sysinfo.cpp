// The system-information decisions against their tables written out row by row, over version
// blocks and records of any numbers and service-pack texts.
#include <algorithm>
#include <cstdio>

#include "fuzz/fuzz_input.h"
#include "kv_tools/sysinfo.h"
#include "tests/core/fields_reference.h"

namespace literal {

using namespace Kv_tools;
using rtl::String;

struct Row {
  uint32_t major, minor;
  const char16_t *short_name, *name;
  const char* pattern;
};
const Row kRows[] = {
    {5, 0, u"Windows 2000", u"Windows 2000", "Windows Version %d.%d Build %d"},
    {5, 1, u"Windows XP", u"Windows XP", "Windows XP Version %d.%d Build %d"},
    {5, 2, u"Windows XP", u"Windows XP", "Windows XP Server %d.%d Build %d"},
    {6, 0, u"Windows Vista", u"Windows Vista", "Windows Vista Version %d.%d Build %d"},
    {6, 1, u"Windows Seven", u"Windows 7", "Windows 7 Version %d.%d Build %d"},
    {6, 2, u"Windows Eight", u"Windows 8", "Windows 8 Version %d.%d Build %d"},
    {6, 3, u"Windows Eight", u"Windows 8.1", "Windows 8.1 Version %d.%d Build %d"},
    {10, 0, u"Windows Ten", u"Windows 10", "Windows 10 Version %d.%d Build %d"},
};
const Row* Find(uint32_t major, uint32_t minor) {
  for (const Row& r : kRows)
    if (r.major == major && r.minor == minor) return &r;
  return nullptr;
}

String Consumer(const OSVersionBlock& b) {
  if (b.MajorVersion == 4 && b.MinorVersion == 0) return u"Windows 95";
  if (b.MajorVersion == 4 && b.MinorVersion == 10)
    return b.CSDVersion.size() >= 2 && b.CSDVersion[1] == u'A' ? u"Windows 98SE" : u"Windows 98";
  if (b.MajorVersion == 4 && b.MinorVersion == 90) return u"Windows ME";
  return u"Unknown";
}

String Num(long long n) { return rtl::IntToStr(n); }

String OSName(const std::optional<OSVersionBlock>& b, int record_build) {
  if (!b || (b->PlatformId != 1 && b->PlatformId != 2)) return u"Unknown";
  if (b->PlatformId == 1) return Consumer(*b);
  if (b->MajorVersion <= 4) return u"Windows NT";
  const Row* r = Find(b->MajorVersion, b->MinorVersion);
  if (!r) return u"Unknown";
  return r->major == 10 && record_build >= 22000 ? u"Windows 11" : r->short_name;
}

String OSNameEx(const std::optional<OSVersionBlock>& b, int record_build, bool with_build, bool with_sp) {
  if (!b || (b->PlatformId != 1 && b->PlatformId != 2)) return u"Unknown";
  if (b->PlatformId == 1) return Consumer(*b);
  const Row* r = Find(b->MajorVersion, b->MinorVersion);
  String name = b->MajorVersion <= 4 ? String(u"Windows NT")
                : !r                 ? u"Unknown:" + Num(b->MajorVersion) + u"." + Num(b->MinorVersion)
                : r->major == 10 && record_build >= 22000 ? String(u"Windows 11")
                                                         : String(r->name);
  if (with_build) name += u", Build " + Num(b->BuildNumber);
  if (with_sp) name += u" " + b->CSDVersion;
  return name;
}

String OSNameEx2(const OSVersionRecord& r, bool full) {
  if (!full) return u"WIN " + Num(r.Major) + u"." + Num(r.Minor);
  if (r.Build >= 22000) return fields_reference::ReplaceAll(r.Description, u"Windows 10", u"Windows 11");
  return r.Name + u"  Build " + Num(r.Build);
}

String WindowsVersion(const std::optional<OSVersionBlock>& b) {
  if (!b) return u"GetversionEx() Error";
  const char* pattern = nullptr;
  if (b->PlatformId == 1)
    pattern = b->MajorVersion == 4 && b->MinorVersion > 0 ? "Windows 98 - Version %d.%.2d.%d"
                                                           : "Windows 95 - Version %d.%d Build %d";
  if (b->PlatformId == 2) {
    const Row* r = Find(b->MajorVersion, b->MinorVersion);
    pattern = b->MajorVersion <= 4 ? "Windows NT Version %d.%d. Build %d" : r ? r->pattern : "Windows Version %d.%d Build %d";
  }
  if (!pattern) return String();
  char line[128];
  std::snprintf(line, sizeof line, pattern, static_cast<int>(b->MajorVersion), static_cast<int>(b->MinorVersion),
                static_cast<int>(b->BuildNumber % 65536));
  return rtl::FromUtf8(std::string(line).substr(0, 51));
}

OSVersionRecord Record(int major, int minor, int build, int sp, bool is64) {
  const Row* r = major > 0 ? Find(static_cast<uint32_t>(major), static_cast<uint32_t>(minor)) : nullptr;
  OSVersionRecord rec;
  rec.Major = major, rec.Minor = minor, rec.Build = build;
  rec.Name = major >= 1 && major <= 4 ? u"Windows NT" : r ? r->name : u"Windows";
  rec.Description = rec.Name + (sp > 0 ? u" Service Pack " + Num(sp) : String()) + u" (Version " + Num(major) + u"." +
                    Num(minor) + u", Build " + Num(build) + u", " + (is64 ? u"64-bit Edition" : u"32-bit Edition") + u")";
  return rec;
}

}  // namespace literal

namespace {

uint32_t VersionNumber(FuzzedDataProvider& in) {
  return in.ConsumeIntegralInRange(0, 3) ? in.ConsumeIntegralInRange<uint32_t>(0, 11) * (in.ConsumeBool() ? 1 : 10)
                                         : in.ConsumeIntegral<uint32_t>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);

  std::optional<OSVersionBlock> block;
  if (in.ConsumeIntegralInRange(0, 5)) {
    block.emplace();
    block->PlatformId = in.ConsumeIntegralInRange(0, 4) ? in.ConsumeIntegralInRange<uint32_t>(0, 3) : in.ConsumeIntegral<uint32_t>();
    block->MajorVersion = VersionNumber(in);
    block->MinorVersion = VersionNumber(in);
    block->BuildNumber = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 30000) : in.ConsumeIntegral<uint32_t>();
    block->CSDVersion = in.ConsumeBool() ? u" A" : fuzz::Text(in, 128);
  }
  const int record_build = in.ConsumeBool() ? in.ConsumeIntegralInRange(21990, 22010) : in.ConsumeIntegral<int>();
  const bool with_build = in.ConsumeBool(), with_sp = in.ConsumeBool();

  Same("IsWindows11Build", IsWindows11Build(record_build), record_build >= 22000);
  Same("OSNameOf", OSNameOf(block, record_build), literal::OSName(block, record_build));
  Same("OSNameExOf", OSNameExOf(block, record_build, with_build, with_sp),
       literal::OSNameEx(block, record_build, with_build, with_sp));
  const String version = WindowsVersionOf(block);
  Same("WindowsVersionOf", version, literal::WindowsVersion(block));
  fuzz::Holds("WindowsVersionOf: at most 51 characters", version.size() <= 51);
  Same("IsWindowsNTOf", IsWindowsNTOf(block), block && block->PlatformId == 2);
  Same("IsWin95OSR2Of", IsWin95OSR2Of(block),
       block && block->PlatformId == 1 && !(block->MajorVersion == 4 && block->MinorVersion > 0) &&
           block->BuildNumber % 65536 > 1000);
  Same("ScreenSaverByDesktop", ScreenSaverByDesktop(block), block && block->PlatformId == 2 && block->MajorVersion <= 6);

  const int major = in.ConsumeBool() ? in.ConsumeIntegralInRange(-1, 11) : in.ConsumeIntegral<int>();
  const int minor = in.ConsumeBool() ? in.ConsumeIntegralInRange(-1, 4) : in.ConsumeIntegral<int>();
  const int pack = in.ConsumeBool() ? in.ConsumeIntegralInRange(-1, 3) : in.ConsumeIntegral<int>();
  const bool is64 = in.ConsumeBool();
  const OSVersionRecord mine = OSVersionRecordOf(major, minor, record_build, pack, is64);
  const OSVersionRecord theirs = literal::Record(major, minor, record_build, pack, is64);
  fuzz::Holds("OSVersionRecordOf", mine.Name == theirs.Name && mine.Major == theirs.Major &&
                                       mine.Minor == theirs.Minor && mine.Build == theirs.Build &&
                                       mine.Description == theirs.Description);
  OSVersionRecord any = theirs;
  if (in.ConsumeBool()) any.Description = fuzz::Text(in, 40) + u"Windows 10" + fuzz::Text(in, 10);
  const bool full = in.ConsumeBool();
  Same("OSNameEx2Of", OSNameEx2Of(any, full), literal::OSNameEx2(any, full));
  return 0;
}
