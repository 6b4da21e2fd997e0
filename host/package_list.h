// The stand-in IDE's decisions about installed packages, as pure functions of what the
// platform answered: the values of its "Known Packages" list, the identity record that a
// package carries (package/identity.h), whether a file may be loaded as a package, and what the
// message loop does with each answer of GetMessage.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The packages that the stand-in IDE stands for and so provides to the packages it loads.
inline const std::vector<std::wstring> kProvidedPackages = {L"designide280.bpl", L"vcl280.bpl",
                                                            L"rtl280.bpl"};

// A package's identity record.
struct PackageIdentity {
  std::wstring name, description;
  unsigned flags = 0;
  std::vector<std::wstring> required;
};

// The identity record held in a resource's bytes; nullopt when they are not a record of
// layout 1 (wrong mark or layout, a text or count cut off).
// Example: ReadIdentity("WTPK\1\0\1\0" "W\0\0\0" "d\0\0\0" "\0\0") gives name L"W",
// description L"d", flags 1, no required packages.
std::optional<PackageIdentity> ReadIdentity(std::string_view bytes);

// What the IDE learnt of a package file before loading it.
struct PackageFile {
  bool found = false;                   // the file exists
  std::optional<std::string> head;      // its first 4096 bytes (fewer when shorter); none: unreadable
  std::optional<std::string> identity;  // its identity resource, when it carries one
};

// Why the IDE does not load this package file, in a few words; "" when it may. provided: the
// packages that the IDE provides; loaded: the names of the packages loaded already.
// Example: Refusal({.found = false}, kProvidedPackages, {}) == "the file is missing".
std::string Refusal(const PackageFile& file, const std::vector<std::wstring>& provided,
                    const std::vector<std::wstring>& loaded);

// One value of the Known Packages list: the package's path (the value's name) and its
// description (the value's text); problem says why the value names no package, "" when it does.
struct KnownPackage {
  std::wstring path, description;
  std::string problem;
};

// The Known Packages entry of a registry value of this name, type and data.
// Example: ReadKnownPackage(L"C:\\P\\a.bpl", REG_DWORD, "\1\0\0\0").problem ==
// "its value is not a text (registry type 4)".
KnownPackage ReadKnownPackage(const std::wstring& name, DWORD type, std::string_view data);

// What the message loop does with GetMessage's answer, given how many answers in a row before
// it were errors: dispatch the message, end on WM_QUIT, go on after an error (-1, or under
// Wine any negative status), or give up once kMessageErrorLimit errors came in a row.
enum class LoopStep { kDispatch, kQuit, kSkip, kGiveUp };
inline constexpr unsigned kMessageErrorLimit = 1000;
LoopStep NextLoopStep(BOOL answer, unsigned errors_before);

}  // namespace host
