// Registry object: the runtime's TRegistry, opened on a root key, with one current key.
// Windows build: the platform's registry (advapi32). Native build: a process-wide
// in-memory registry that starts empty (so that portable code and its tests can run).
//
// Key paths: a path starting "\" is taken from the root key; any other path is relative to
// the current key when one is open, else to the root key. Names compare ignoring case.
//
// Errors: ReadString/ReadInteger raise ERegistryException when the value exists with
// another type ("Invalid data type for '<name>'") or cannot be read; the Write routines
// raise it when the platform refuses the write ("Failed to set data for '<name>'").
// Open/Create/Delete/Exists report failure by false.
#pragma once

#include <cstdint>

#include "rtl/errors.h"
#include "rtl/string.h"
#include "rtl/string_list.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace rtl {

#ifdef _WIN32
using RootKey = HKEY;
#else
struct RootKeyTag;
using RootKey = RootKeyTag*;
#endif

// Access rights (the platform's values).
inline constexpr uint32_t kKeyRead = 0x20019;        // KEY_READ
inline constexpr uint32_t kKeyWrite = 0x20006;       // KEY_WRITE
inline constexpr uint32_t kKeyAllAccess = 0xF003F;   // KEY_ALL_ACCESS
inline constexpr uint32_t kKeyWow64_64Key = 0x0100;  // KEY_WOW64_64KEY
inline constexpr uint32_t kKeyWow64_32Key = 0x0200;  // KEY_WOW64_32KEY

// The type of a value as the runtime names it.
enum class RegDataType { Unknown, String, ExpandString, Integer, Binary };

class KV_API Registry {
 public:
  // Root key HKEY_CURRENT_USER, no current key.
  explicit Registry(uint32_t access = kKeyAllAccess);
  ~Registry();
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  RootKey GetRootKey() const { return root_; }
  // Closes the current key and takes a new root.
  void SetRootKey(RootKey root);
  uint32_t Access() const { return access_; }
  void SetAccess(uint32_t access) { access_ = access; }

  // Opens key (creating it with its parents when can_create) with the object's access and
  // makes it the current key; false when it cannot be opened.
  bool OpenKey(const String& key, bool can_create);
  // Opens key for reading only (KEY_READ, then narrower rights); false when it cannot.
  bool OpenKeyReadOnly(const String& key);
  void CloseKey();
  bool HasCurrentKey() const { return current_ != nullptr; }
  // The path of the current key below the root ("" when none).
  const String& CurrentPath() const { return current_path_; }

  bool KeyExists(const String& key);
  bool CreateKey(const String& key);
  // Deletes key with all its subkeys; false when it does not exist or cannot be deleted.
  bool DeleteKey(const String& key);

  // Values of the current key.
  bool ValueExists(const String& name);
  bool DeleteValue(const String& name);
  RegDataType GetDataType(const String& name);
  // A string or expandable string value; "" when missing.
  String ReadString(const String& name);
  void WriteString(const String& name, const String& value);
  void WriteExpandString(const String& name, const String& value);
  // A 32-bit value; ERegistryException when missing or of another type.
  int ReadInteger(const String& name);
  void WriteInteger(const String& name, int value);
  void GetKeyNames(StringList& names);
  void GetValueNames(StringList& names);

 private:
  RootKey root_;
  uint32_t access_;
  void* current_ = nullptr;  // HKEY (Windows) or the in-memory node (native)
  String current_path_;
};

}  // namespace rtl

#ifndef _WIN32
// The platform's root-key names, so that portable code can name roots in both builds.
#define WTARN_ROOT_KEY(v) (reinterpret_cast<::rtl::RootKey>(static_cast<uintptr_t>(v)))
#define HKEY_CLASSES_ROOT WTARN_ROOT_KEY(0x80000000u)
#define HKEY_CURRENT_USER WTARN_ROOT_KEY(0x80000001u)
#define HKEY_LOCAL_MACHINE WTARN_ROOT_KEY(0x80000002u)
#define HKEY_USERS WTARN_ROOT_KEY(0x80000003u)
#define HKEY_CURRENT_CONFIG WTARN_ROOT_KEY(0x80000005u)
#endif
