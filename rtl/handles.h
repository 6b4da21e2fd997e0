// RAII owners of Win32 handles: move-only, the invalid value part of the type, and reset()
// keeps the thread's last-error value so that a caller can still read why a call failed.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <utility>

namespace rtl {

template <typename T, auto Close, auto Invalid>
class Unique {
 public:
  Unique() = default;
  explicit Unique(T value) : value_(value) {}
  Unique(Unique&& other) noexcept : value_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Invalid(); }
  T* put() {
    reset();
    return &value_;
  }
  T release() { return std::exchange(value_, Invalid()); }
  void reset(T value = Invalid()) {
    T old = std::exchange(value_, value);
    if (old != Invalid()) {
      DWORD error = GetLastError();
      Close(old);
      SetLastError(error);
    }
  }

 private:
  T value_ = Invalid();
};

namespace handle_detail {
inline HANDLE Null() { return nullptr; }
inline HANDLE InvalidFile() { return INVALID_HANDLE_VALUE; }
inline HMODULE NullModule() { return nullptr; }
inline HKEY NullKey() { return nullptr; }
inline HGDIOBJ NullGdi() { return nullptr; }
inline HGLOBAL NullGlobal() { return nullptr; }
inline void CloseKey(HKEY k) { RegCloseKey(k); }
inline void CloseFind(HANDLE h) { FindClose(h); }
inline void DeleteGdi(HGDIOBJ h) { DeleteObject(h); }
inline void FreeGlobal(HGLOBAL h) { GlobalFree(h); }
inline void UnloadModule(HMODULE h) { FreeLibrary(h); }
inline void CloseKernel(HANDLE h) { CloseHandle(h); }
}  // namespace handle_detail

using UniqueHandle = Unique<HANDLE, handle_detail::CloseKernel, handle_detail::Null>;      // process, thread, event
using UniqueFile = Unique<HANDLE, handle_detail::CloseKernel, handle_detail::InvalidFile>; // CreateFile
using UniqueFind = Unique<HANDLE, handle_detail::CloseFind, handle_detail::InvalidFile>;   // FindFirstFile
using UniqueModule = Unique<HMODULE, handle_detail::UnloadModule, handle_detail::NullModule>;
using UniqueKey = Unique<HKEY, handle_detail::CloseKey, handle_detail::NullKey>;
using UniqueGdiObject = Unique<HGDIOBJ, handle_detail::DeleteGdi, handle_detail::NullGdi>;
using UniqueGlobal = Unique<HGLOBAL, handle_detail::FreeGlobal, handle_detail::NullGlobal>;

// An exported routine of a module as a typed function pointer, or null.
// Example: auto init = ProcAddress<void (*)()>(module, "Initialize");
template <typename Fn>
Fn ProcAddress(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace rtl
#endif
