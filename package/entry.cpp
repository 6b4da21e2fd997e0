// The package's unit table and its load and unload entry points.
#include "package/package.h"

#include <iterator>

#include "kv_tools/startup.h"
#include "package/creator.h"
#include "tarnedata/startup.h"
#include "view/main_frame.h"

namespace {

PackageUnitEntry units[] = {
    {"Kv_tools", Kv_tools::Startup, Kv_tools::Shutdown, 0},
    {"TarnEdata", TarnEdata::Startup, TarnEdata::Shutdown, 0},
    {"WTarnConstants", nullptr, nullptr, 0},
    {"DVersion", nullptr, nullptr, 0},
    {"WTarnView", nullptr, WTarnView::Shutdown, 0},
    {"WTarnCreator", nullptr, WTarnCreator::TWPDemoPlugInCreator::PlugInFinish, 0},
    {"WTarnD11", nullptr, nullptr, 0},
};

PackageInfoTable table = {static_cast<int>(std::size(units)), units};

}  // namespace

extern "C" {

PackageInfoTable* GetPackageInfoTable() { return &table; }

void Initialize() {
  for (PackageUnitEntry& u : units)
    if (u.Counter-- == 0 && u.Init) u.Init();
}

void Finalize() {
  for (auto u = std::rbegin(units); u != std::rend(units); ++u)
    if (++u->Counter == 0 && u->FInit) u->FInit();
}
}
