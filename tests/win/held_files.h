// Test helper: files held open without sharing by another process (hold_file.exe beside the
// tests) while the object lives, so that every open of them here fails with a sharing
// violation. The destructor releases them and waits until the helper has ended.
//   wtarn_test::HeldFiles held({path});
//   ASSERT_TRUE(held.Holding());
#pragma once

#include <windows.h>

#include <initializer_list>

#include "kv_tools/paths.h"
#include "rtl/handles.h"
#include "rtl/int_text.h"
#include "rtl/string.h"

namespace wtarn_test {

// Starts a program by its command line; false when it did not start. The process handle goes
// to `process` (Wine gives none for a Linux program).
inline bool StartProgram(const rtl::String& command, rtl::UniqueHandle& process) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, const_cast<wchar_t*>(rtl::W(command)), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return false;
  if (info.hThread) CloseHandle(info.hThread);
  process.reset(info.hProcess);
  return true;
}

class HeldFiles {
 public:
  explicit HeldFiles(std::initializer_list<rtl::String> files) {
    static int count = 0;
    const rtl::String tag = u"wtarn-hold-" + rtl::IntToStr(static_cast<long long>(GetCurrentProcessId())) + u"-" +
                            rtl::IntToStr(++count);
    ready_.reset(CreateEventW(nullptr, TRUE, FALSE, rtl::W(tag + u"-ready")));
    release_.reset(CreateEventW(nullptr, TRUE, FALSE, rtl::W(tag + u"-release")));
    rtl::String command(1, u'"');
    command += Kv_tools::AppPath() + u"hold_file.exe\" " + tag + u"-ready " + tag + u"-release";
    for (const rtl::String& file : files) command += u" \"" + file + u"\"";
    if (!ready_ || !release_ || !StartProgram(command, process_)) return;
    const HANDLE waits[] = {ready_.get(), process_.get()};
    holding_ = WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
  }
  ~HeldFiles() {
    if (release_) SetEvent(release_.get());
    if (process_) WaitForSingleObject(process_.get(), 30000);
  }
  HeldFiles(const HeldFiles&) = delete;
  HeldFiles& operator=(const HeldFiles&) = delete;

  // True when the helper has opened every file.
  bool Holding() const { return holding_; }

 private:
  rtl::UniqueHandle ready_, release_, process_;
  bool holding_ = false;
};

}  // namespace wtarn_test
