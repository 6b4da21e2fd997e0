// The package's entry points, as the host's package loader sees them.
#pragma once

#include "rtl/export.h"

extern "C" {

// One unit of the package: its start-up and shut-down routines (either may be null) and
// its counter, decremented on every start-up call and incremented on every shut-down call;
// the work runs when the counter leaves zero and when it returns to zero.
struct PackageUnitEntry {
  const char* Name;
  void (*Init)();
  void (*FInit)();
  int Counter;
};

struct PackageInfoTable {
  int UnitCount;
  PackageUnitEntry* Units;
};

typedef PackageInfoTable* (*GetPackageInfoTableProc)();
typedef void (*PackageEntryProc)();

// The unit table in start-up order.
KV_API PackageInfoTable* GetPackageInfoTable();
// Package load: every unit's start-up, in table order.
KV_API void Initialize();
// Package unload: every unit's shut-down, in reverse table order.
KV_API void Finalize();
}
