// The start-up decisions of Kv_tools and TarnEdata against their descriptions: the system's
// short date, the month-first test, the format records, the processor counts, and the places
// and data folders for any program name, mode and folders.
#include <climits>

#include "fuzz/fuzz_input.h"
#include "kv_tools/globals.h"
#include "kv_tools/startup.h"
#include "rtl/file_system.h"
#include "tarnedata/startup.h"
#include "tests/core/fields_reference.h"

namespace literal {

using rtl::String;

String chkPath(const String& s) { return s.empty() || s.back() == u'\\' ? s : s + u'\\'; }

Kv_tools::StartupPlaces Places(const Kv_tools::StartupAnswers& a) {
  Kv_tools::StartupPlaces p;
  const String ini = rtl::ChangeFileExt(rtl::ExtractFileName(a.ExeName), u".INI");
  p.SysProgDataPath = a.AppDataFolder;
  p.SysUserDataPath = a.DocumentsFolder;
  p.SysAppIniName = chkPath(a.AppDataFolder) + ini;
  p.DiskMode = a.MobileSwitch ? String(u"Mobile") : a.DiskMode;
  if (p.DiskMode == u"Mobile") {
    p.AppIniName = rtl::ExtractFilePath(a.ExeName) + ini;
    p.ProgDataPath = rtl::ExtractFilePath(a.ExeName);
  } else {
    p.AppIniName = chkPath(a.AppDataFolder) + u"morvane\\" + ini;
    p.ProgDataPath = chkPath(a.AppDataFolder) + u"morvane\\";
    p.DataFolder = rtl::ExtractFileDir(p.AppIniName);
  }
  return p;
}

TarnEdata::DataFolders Folders(const TarnEdata::DataFolderAnswers& a) {
  TarnEdata::DataFolders f;
  const String name = rtl::ExtractFileName(a.ExeName);
  if (a.DiskMode == u"Mobile") {
    f.MyProgDataPath = f.MyUserDataPath = chkPath(rtl::ExtractFilePath(a.ExeName));
    f.MyAppIniName = f.MyProgDataPath + rtl::ChangeFileExt(name, u".ini");
  } else {
    f.MyProgDataPath = chkPath(a.SysProgDataPath) + u"morvane\\TarnPlugIn";
    f.MyUserDataPath = chkPath(a.SysUserDataPath) + u"morvane\\TarnPlugIn";
    f.MyAppIniName = chkPath(a.AppDataFolder) + u"morvane\\TarnPlugIn\\" + rtl::ChangeFileExt(name, u".INI");
    f.CreateProgDataPath = true;
  }
  return f;
}

}  // namespace literal

namespace {

rtl::String PathText(FuzzedDataProvider& in) {
  static const char16_t* const kPieces[] = {u"C:", u"\\", u"IDE", u"bin", u"bds.exe", u".", u"x", u":", u"tool"};
  rtl::String s;
  for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n)
    s += in.ConsumeIntegralInRange(0, 5) ? rtl::String(kPieces[in.ConsumeIntegralInRange(0, 8)]) : fuzz::Text(in, 2);
  return s;
}

rtl::FormatSettings Settings(FuzzedDataProvider& in) {
  rtl::FormatSettings fs = rtl::FormatSettingsFromLocale(in.ConsumeBool() ? 1031 : 1033);
  fs.ShortDateFormat = in.ConsumeBool() ? rtl::String(u"m/D/YyyY") : fuzz::Text(in, 8);
  fs.DateSeparator = fuzz::Text(in, 1).append(1, u'/')[0];
  if (in.ConsumeBool()) fs.ShortMonthNames[in.ConsumeIntegralInRange(0, 11)] = fuzz::Text(in, 4);
  return fs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);

  const String format = in.ConsumeBool() ? String(u"m/d/yyyy") : fuzz::Text(in, 9);
  String cased = format;
  for (char16_t& c : cased)
    if (in.ConsumeBool() && c >= u'a' && c <= u'z') c -= 32;
  Same("NormalizedSystemShortDate", NormalizedSystemShortDate(cased),
       fields_reference::Lower(cased) == u"m/d/yyyy" ? String(u"M/d/yyyy") : cased);
  Same("IsMonthFirst", IsMonthFirst(cased), !cased.empty() && (cased[0] == u'm' || cased[0] == u'M'));

  // The format records; the process's own settings are put back afterwards.
  const rtl::FormatSettings german = Settings(in), english = Settings(in), system = Settings(in);
  const rtl::FormatSettings process_before = rtl::ProcessFormatSettings();
  InitFormatSettings(german, english, system);
  rtl::FormatSettings want_fms = german, want_org = system, want_process = process_before;
  want_fms.DateSeparator = u'.', want_fms.TimeSeparator = u':';
  want_fms.ShortDateFormat = u"dd.mm.yyyy", want_fms.ShortTimeFormat = u"hh:mm";
  want_org.ShortDateFormat = NormalizedSystemShortDate(system.ShortDateFormat);
  want_process.DateSeparator = u'.', want_process.TimeSeparator = u':';
  want_process.ShortMonthNames = german.ShortMonthNames, want_process.LongMonthNames = german.LongMonthNames;
  fuzz::Holds("InitFormatSettings: FMS", FMS == want_fms);
  fuzz::Holds("InitFormatSettings: FMSEN", FMSEN == english);
  fuzz::Holds("InitFormatSettings: FMSOrg", FMSOrg == want_org);
  fuzz::Holds("InitFormatSettings: process", rtl::ProcessFormatSettings() == want_process);
  Same("InitFormatSettings: MonthFirst", MonthFirst, IsMonthFirst(want_org.ShortDateFormat));
  rtl::ProcessFormatSettings() = process_before;

  std::optional<CpuIdentification> id;
  if (in.ConsumeIntegralInRange(0, 3)) {
    id.emplace();
    id->Vendor = in.ConsumeBool() ? "GenuineIntel" : in.ConsumeRandomLengthString(13);
    id->Leaf1Ebx = in.ConsumeIntegral<uint32_t>();
  }
  const int32_t logical = id && id->Vendor == "GenuineIntel" && (id->Leaf1Ebx >> 16 & 0xFF) ? id->Leaf1Ebx >> 16 & 0xFF : 1;
  Same("LogicalProcessorsPerPackage", LogicalProcessorsPerPackage(id), logical);
  const int32_t processors = in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, 64) : in.ConsumeIntegral<int32_t>();
  const int32_t per_package = in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, 64) : in.ConsumeIntegral<int32_t>();
  Same("ProcessorPackages", ProcessorPackages(processors, per_package),
       processors <= 0 ? 0 : std::max(1, processors / std::max(1, per_package)));

  StartupAnswers answers;
  answers.ExeName = PathText(in);
  answers.DiskMode = in.ConsumeBool() ? u"Mobile" : in.ConsumeBool() ? u"Fixed" : fuzz::Text(in, 6);
  answers.MobileSwitch = in.ConsumeBool();
  answers.AppDataFolder = PathText(in);
  answers.DocumentsFolder = PathText(in);
  const StartupPlaces mine = StartupPlacesFor(answers), theirs = literal::Places(answers);
  fuzz::Holds("StartupPlacesFor",
              mine.AppIniName == theirs.AppIniName && mine.SysProgDataPath == theirs.SysProgDataPath &&
                  mine.SysUserDataPath == theirs.SysUserDataPath && mine.SysAppIniName == theirs.SysAppIniName &&
                  mine.DiskMode == theirs.DiskMode && mine.ProgDataPath == theirs.ProgDataPath &&
                  mine.DataFolder == theirs.DataFolder);

  const TarnEdata::DataFolderAnswers data_answers{answers.DiskMode, answers.ExeName, PathText(in), PathText(in),
                                                  answers.AppDataFolder};
  const TarnEdata::DataFolders folders = TarnEdata::DataFoldersFor(data_answers);
  const TarnEdata::DataFolders want = literal::Folders(data_answers);
  fuzz::Holds("DataFoldersFor", folders.MyProgDataPath == want.MyProgDataPath &&
                                    folders.MyUserDataPath == want.MyUserDataPath &&
                                    folders.MyAppIniName == want.MyAppIniName &&
                                    folders.CreateProgDataPath == want.CreateProgDataPath);
  return 0;
}
