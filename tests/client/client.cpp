#define WTARN_BUILDING_CLIENT
#include "tests/client/client.h"

#include "kv_tools/messages.h"
#include "package/constants.h"
#include "view/main_frame.h"

namespace {

int CopyOut(const rtl::String& text, wchar_t* buffer, int size) {
  const int n = static_cast<int>(text.size() < static_cast<size_t>(size) ? text.size() : size - 1);
  text.copy(reinterpret_cast<char16_t*>(buffer), static_cast<size_t>(n));
  buffer[n] = L'\0';
  return n;
}

}  // namespace

bool ClientProgLoaded() { return WTarnView::ProgLoaded; }

void ClientSetProgLoaded(bool value) { WTarnView::ProgLoaded = value; }

int ClientTarnProg(wchar_t* buffer, int size) { return CopyOut(WTarnView::TarnProg, buffer, size); }

void ClientSetTarnProg(const wchar_t* path) { WTarnView::TarnProg = rtl::FromW(path); }

int ClientPluginName(wchar_t* buffer, int size) {
  return CopyOut(WTarnConstants::sPluginName(), buffer, size);
}

bool ClientPostText(HWND wnd, WORD msg, WORD param, const wchar_t* text) {
  return Kv_tools::SendWndInterAppMessage(wnd, msg, param, rtl::FromW(text));
}

unsigned ClientFrameTimer(bool* enabled, wchar_t* caption, int size) {
  WTarnView::TMainFrame frame(nullptr);
  *enabled = frame.Timer1->Enabled();
  CopyOut(frame.bnShowPlug->Caption(), caption, size);
  return frame.Timer1->Interval();
}
