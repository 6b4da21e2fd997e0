// The stand-in IDE: loads the package as the IDE does and reports its units' start-up.
#include <windows.h>

#include <cstdio>

#include "package/package.h"
#include "rtl/handles.h"

namespace {

void PrintUnits(const char* when, PackageInfoTable* table) {
  std::printf("%s:\n", when);
  for (int i = 0; i < table->UnitCount; ++i)
    std::printf("  %-15s counter %2d%s\n", table->Units[i].Name, table->Units[i].Counter,
                table->Units[i].Init ? "" : "  (no start-up work)");
}

}  // namespace

int main() {
  rtl::UniqueModule package(LoadLibraryW(L"WTarnD11.dll"));
  if (!package) {
    std::printf("cannot load WTarnD11.dll (error %lu)\n", GetLastError());
    return 1;
  }
  auto get_table = rtl::ProcAddress<GetPackageInfoTableProc>(package.get(), "GetPackageInfoTable");
  auto initialize = rtl::ProcAddress<PackageEntryProc>(package.get(), "Initialize");
  auto finalize = rtl::ProcAddress<PackageEntryProc>(package.get(), "Finalize");
  if (!get_table || !initialize || !finalize) {
    std::printf("WTarnD11.dll lacks its package entry points\n");
    return 1;
  }
  std::printf("loaded WTarnD11.dll\n");
  initialize();
  PrintUnits("after Initialize", get_table());
  finalize();
  PrintUnits("after Finalize", get_table());
  package.reset();
  std::printf("unloaded WTarnD11.dll\n");
  return 0;
}
