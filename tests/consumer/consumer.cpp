// A client of the installed package: routines, classes and globals of its units across the
// DLL's boundary. Prints one line per failed check; exits 1 when any failed.
#include <cstdio>

#include "kv_tools/fields.h"
#include "kv_tools/globals.h"
#include "kv_tools/ini_registry.h"
#include "package/constants.h"
#include "package/creator.h"
#include "rtl/string_list.h"
#include "tarnedata/catalogue.h"
#include "view/main_frame.h"

int main() {
  int failed = 0;
  auto check = [&](bool ok, const char* what) {
    if (!ok) std::printf("FAILED: %s\n", what), ++failed;
  };
  check(Kv_tools::GetFieldStr(u';', u"a;b;c", 2) == u"b", "a routine: GetFieldStr");
  check(TarnEdata::GetDVersion(u"18.1", u"") == u"Delphi 10.1 Berlin", "a routine: GetDVersion");
  check(rtl::String(TarnEdata::DelphiRegPaths[TarnEdata::DelphiXE11]) == u"\\Software\\Embarcadero\\BDS\\22.0",
        "a constant array: DelphiRegPaths");
  check(WTarnConstants::sPluginName() == u"Tarn", "the package's resources: sPluginName");

  rtl::StringList list;
  list.Add(u"b c");
  list.Add(u"a");
  list.Sort();
  check(list.CommaText() == u"a,\"b c\"", "a class: StringList");

  // A global set here is the one the package's routines use.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  Kv_tools::AppIniName = rtl::FromW(temp) + u"wtarn-consumer.ini";
  Kv_tools::SaveIniStr(u"Consumer", u"Key", u"Wert ä");
  check(Kv_tools::GetIniStr(u"Consumer", u"Key", u"") == u"Wert ä", "a global: AppIniName");
  DeleteFileW(rtl::W(Kv_tools::AppIniName));
  WTarnView::ProgLoaded = true;
  check(WTarnView::ProgLoaded, "a global: ProgLoaded");

  std::printf("%s\n", failed ? "consumer: checks failed" : "consumer: every check passed");
  return failed ? 1 : 0;
}
