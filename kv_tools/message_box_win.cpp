// Kv_tools message boxes through MessageBoxW, or the test's hook.
#include <windows.h>

#include <utility>

#include "kv_tools/message_box.h"
#include "rtl/file_system.h"

namespace Kv_tools {
namespace {

MessageBoxHook& InstalledHook() {
  static MessageBoxHook hook;
  return hook;
}

}  // namespace

int ShowMessageBox(const String& Text, const String& Caption, unsigned Flags) {
  if (InstalledHook()) return InstalledHook()(Text, Caption, Flags);
  return MessageBoxW(GetActiveWindow(), rtl::W(Text), rtl::W(Caption), Flags);
}

void ShowMessage(const String& Text) {
  const String title = rtl::ChangeFileExt(rtl::ExtractFileName(rtl::ProgramFileName()), u"");
  ShowMessageBox(Text, title, MB_OK);
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook Hook) { return std::exchange(InstalledHook(), std::move(Hook)); }

}  // namespace Kv_tools
