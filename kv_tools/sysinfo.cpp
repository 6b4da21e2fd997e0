#include "kv_tools/sysinfo.h"

#include <cstdio>
#include <string_view>

#include "kv_tools/strings.h"

namespace Kv_tools {

namespace {

constexpr uint32_t kConsumerPlatform = 1;  // Windows 95, 98, ME
constexpr uint32_t kNTPlatform = 2;

// An NT version above 4.x: GetOSName's and GetOSNameEx's names and GetWindowsVersion's
// pattern.
struct NTVersion {
  uint32_t major, minor;
  const char16_t* short_name;
  const char16_t* name;
  const char* pattern;
};

constexpr NTVersion kNTVersions[] = {
    {5, 0, u"Windows 2000", u"Windows 2000", "Windows Version %d.%d Build %d"},
    {5, 1, u"Windows XP", u"Windows XP", "Windows XP Version %d.%d Build %d"},
    {5, 2, u"Windows XP", u"Windows XP", "Windows XP Server %d.%d Build %d"},
    {6, 0, u"Windows Vista", u"Windows Vista", "Windows Vista Version %d.%d Build %d"},
    {6, 1, u"Windows Seven", u"Windows 7", "Windows 7 Version %d.%d Build %d"},
    {6, 2, u"Windows Eight", u"Windows 8", "Windows 8 Version %d.%d Build %d"},
    {6, 3, u"Windows Eight", u"Windows 8.1", "Windows 8.1 Version %d.%d Build %d"},
    {10, 0, u"Windows Ten", u"Windows 10", "Windows 10 Version %d.%d Build %d"},
};

const NTVersion* FindNTVersion(uint32_t major, uint32_t minor) {
  for (const NTVersion& v : kNTVersions)
    if (v.major == major && v.minor == minor) return &v;
  return nullptr;
}

bool IsPlatform(const std::optional<OSVersionBlock>& block, uint32_t platform) {
  return block && block->PlatformId == platform;
}

bool Is98OrME(const OSVersionBlock& b) { return b.MajorVersion == 4 && b.MinorVersion > 0; }

// The 95/98/ME names, the same in GetOSName and GetOSNameEx.
String ConsumerName(const OSVersionBlock& b) {
  if (b.MajorVersion != 4) return u"Unknown";
  switch (b.MinorVersion) {
    case 0: return u"Windows 95";
    case 10: return b.CSDVersion.size() > 1 && b.CSDVersion[1] == u'A' ? u"Windows 98SE" : u"Windows 98";
    case 90: return u"Windows ME";
    default: return u"Unknown";
  }
}

String Windows11Rule(const String& name, const char16_t* windows10, int recordBuild) {
  return name == windows10 && IsWindows11Build(recordBuild) ? String(u"Windows 11") : name;
}

String Decimal(uint32_t n) { return rtl::IntToStr(n); }

}  // namespace

bool IsWindows11Build(int recordBuild) { return recordBuild >= 22000; }

String OSNameOf(const std::optional<OSVersionBlock>& block, int recordBuild) {
  if (IsPlatform(block, kConsumerPlatform)) return ConsumerName(*block);
  if (!IsPlatform(block, kNTPlatform)) return u"Unknown";
  if (block->MajorVersion <= 4) return u"Windows NT";
  const NTVersion* v = FindNTVersion(block->MajorVersion, block->MinorVersion);
  return v ? Windows11Rule(v->short_name, u"Windows Ten", recordBuild) : String(u"Unknown");
}

String OSNameExOf(const std::optional<OSVersionBlock>& block, int recordBuild, bool withBuild,
                  bool withServicePack) {
  if (IsPlatform(block, kConsumerPlatform)) return ConsumerName(*block);
  if (!IsPlatform(block, kNTPlatform)) return u"Unknown";
  String name;
  if (block->MajorVersion <= 4) {
    name = u"Windows NT";
  } else if (const NTVersion* v = FindNTVersion(block->MajorVersion, block->MinorVersion)) {
    name = Windows11Rule(v->name, u"Windows 10", recordBuild);
  } else {
    name = u"Unknown:" + Decimal(block->MajorVersion) + u"." + Decimal(block->MinorVersion);
  }
  if (withBuild) name += u", Build " + Decimal(block->BuildNumber);
  if (withServicePack) name += u" " + block->CSDVersion;
  return name;
}

String OSNameEx2Of(const OSVersionRecord& record, bool full) {
  if (!full) return u"WIN " + rtl::IntToStr(record.Major) + u"." + rtl::IntToStr(record.Minor);
  if (IsWindows11Build(record.Build)) return ReplaceStr(record.Description, u"Windows 10", u"Windows 11", true);
  return record.Name + u" " + u" Build " + rtl::IntToStr(record.Build);
}

String WindowsVersionOf(const std::optional<OSVersionBlock>& block) {
  if (!block) return u"GetversionEx() Error";
  const OSVersionBlock& b = *block;
  const char* pattern = nullptr;
  if (b.PlatformId == kConsumerPlatform) {
    pattern = Is98OrME(b) ? "Windows 98 - Version %d.%.2d.%d" : "Windows 95 - Version %d.%d Build %d";
  } else if (b.PlatformId == kNTPlatform) {
    const NTVersion* v = FindNTVersion(b.MajorVersion, b.MinorVersion);
    pattern = b.MajorVersion <= 4 ? "Windows NT Version %d.%d. Build %d"
              : v                 ? v->pattern
                                  : "Windows Version %d.%d Build %d";
  }
  if (!pattern) return String();
  // Real versions give at most 51 characters; a block of other numbers is cut there.
  char line[64];
  std::snprintf(line, sizeof line, pattern, static_cast<int>(b.MajorVersion), static_cast<int>(b.MinorVersion),
                static_cast<int>(b.BuildNumber & 0xFFFF));
  return rtl::FromUtf8(std::string_view(line).substr(0, 51));
}

bool IsWindowsNTOf(const std::optional<OSVersionBlock>& block) { return IsPlatform(block, kNTPlatform); }

bool IsWin95OSR2Of(const std::optional<OSVersionBlock>& block) {
  return IsPlatform(block, kConsumerPlatform) && !Is98OrME(*block) && (block->BuildNumber & 0xFFFF) > 1000;
}

bool ScreenSaverByDesktop(const std::optional<OSVersionBlock>& block) {
  return IsPlatform(block, kNTPlatform) && block->MajorVersion <= 6;
}

OSVersionRecord OSVersionRecordOf(int major, int minor, int build, int servicePack, bool is64) {
  OSVersionRecord record;
  record.Major = major;
  record.Minor = minor;
  record.Build = build;
  const NTVersion* v = major > 0 ? FindNTVersion(major, minor) : nullptr;
  record.Name = major > 0 && major <= 4 ? u"Windows NT" : v ? v->name : u"Windows";
  String edition = is64 ? u"64-bit Edition" : u"32-bit Edition";
  String pack = servicePack > 0 ? u" Service Pack " + rtl::IntToStr(servicePack) : String();
  record.Description = record.Name + pack + u" (Version " + rtl::IntToStr(major) + u"." + rtl::IntToStr(minor) +
                       u", Build " + rtl::IntToStr(build) + u", " + edition + u")";
  return record;
}

}  // namespace Kv_tools
