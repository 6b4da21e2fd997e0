#include "kv_tools/messages.h"
#include "rtl/platform.h"

namespace Kv_tools {
namespace {

rtl::String ShortStringText(const std::string& s) {
  return rtl::DecodeAnsi(std::string_view(s).substr(0, 255));
}

// Posts msg with an atom for text; the receiver deletes the atom, so a post that fails (the
// window is gone) deletes it here.
void PostAtomMessage(HWND target, uint16_t msg, uint16_t param, const rtl::String& text) {
  const ATOM atom = text.empty() ? 0 : GlobalAddAtomW(rtl::W(text));
  if (!PostMessageW(target, msg, param, atom) && atom != 0) GlobalDeleteAtom(atom);
}

}  // namespace

bool SendWndInterAppMessage(HWND Wnd, uint16_t Msg, uint16_t Param, const rtl::String& Text) {
  PostAtomMessage(Wnd ? Wnd : HWND_BROADCAST, Msg, Param, Text);
  return Wnd != nullptr;
}

bool SendInterAppMessage(const std::string& ClassName, const std::string& Title, uint16_t Msg,
                         uint16_t Param, const std::string& Text) {
  const rtl::String className = ShortStringText(ClassName), title = ShortStringText(Title);
  HWND target = HWND_BROADCAST;
  if (!className.empty() && !title.empty()) {
    target = FindWindowW(rtl::W(className), rtl::W(title));
    if (!target) return false;
  }
  PostAtomMessage(target, Msg, Param, ShortStringText(Text));
  return true;
}

}  // namespace Kv_tools
