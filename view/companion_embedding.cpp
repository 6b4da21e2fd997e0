// TMainFrame: starting, embedding, sizing and stopping the companion program.
#include <windows.h>

#include <shellapi.h>

#include <cstdint>

#include "kv_tools/window_helpers.h"
#include "rtl/file_system.h"
#include "rtl/handles.h"
#include "view/main_frame.h"

namespace WTarnView {
namespace {

const String kMainFormClass = u"TMainForm";
const String kApplicationClass = u"TApplication";
const String kCompanionCaption = u"TarnPlugIn Slave Delphi 11 Alexandria";
constexpr unsigned kFirstSearchWait = 2000;
constexpr unsigned kSearchRetryWait = 1500;
constexpr int kSearchRetries = 5;
constexpr unsigned kStopWait = 100;

// The companion's command line: Slave "Delphi 11 Alexandria" "<frame handle>".
String SlaveParameters(HWND frame) {
  const auto handle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(frame));
  return u"Slave \"Delphi 11 Alexandria\" \"" + rtl::IntToStr(handle) + u"\"";
}

// The companion's main window once it is visible, or the last lookup's answer.
HWND WaitForCompanionWindow() {
  FrameSleep(kFirstSearchWait);
  HWND wnd = Kv_tools::InAllWindowTitle(kMainFormClass, kCompanionCaption);
  for (int i = 0; i < kSearchRetries; ++i) {
    if (wnd && IsWindowVisible(wnd)) break;
    FrameSleep(kSearchRetryWait);
    wnd = FindWindowW(rtl::W(kMainFormClass), rtl::W(kCompanionCaption));
  }
  return wnd;
}

// The window that the panel's Tag names while it is still a child of the panel; null when none
// was embedded, when it has ended, or when its handle value now names another window.
HWND EmbeddedChild(rtl::TPanel& panel) {
  const auto wnd = reinterpret_cast<HWND>(panel.Tag);
  return panel.Tag > 0 && GetAncestor(wnd, GA_PARENT) == panel.Handle() ? wnd : nullptr;
}

// Asks the embedded window to draw itself again once the panel's own pending paint is done.
// Wine draws a window of another process straight onto ours, so a later paint of the panel
// would cover it; on Windows this costs one more paint. Only invalidates: the window paints in
// its own time and is never waited for.
void RepaintEmbedded(rtl::TPanel& panel, HWND wnd) {
  UpdateWindow(panel.Handle());
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace

void TMainFrame::Timer1Timer(rtl::TObject*) {
  bnShowPlug->SetEnabled(false);
  Timer1->SetEnabled(false);
  if (!ProgLoaded && rtl::FileExists(TarnProg, true)) {
    StartAProg(TarnProg, SlaveParameters(Handle()), Panel1);
    Panel1Resize(this);
  }
  bnShowPlug->SetVisible(true);
  bnShowPlug->SetEnabled(true);
}

void TMainFrame::StartAProg(const String& Prog, const String& Params, rtl::TPanel*& Panel) {
  SHELLEXECUTEINFOW request{};
  static_assert(sizeof request == 60, "the shell request of a 32-bit program");
  request.cbSize = sizeof request;
  request.fMask = SEE_MASK_NOCLOSEPROCESS;
  request.hwnd = Handle();
  request.lpVerb = L"open";
  request.lpFile = rtl::W(Prog);
  request.lpParameters = rtl::W(Params);
  request.nShow = SW_HIDE;
  const bool started = ShellExecuteExW(&request);
  // The program keeps running; only our handle to its process goes.
  rtl::UniqueHandle process(started ? request.hProcess : nullptr);
  if (!started || reinterpret_cast<intptr_t>(request.hProcess) <= 32) return;

  HWND wnd = WaitForCompanionWindow();
  if (static_cast<int32_t>(reinterpret_cast<intptr_t>(wnd)) <= 0) return;
  if (BeforeEmbedding) BeforeEmbedding(wnd);
  // Only a window that became the panel's child and outlived its sizing counts as embedded; one
  // that ended on its way in (the companion crashed) is not kept.
  if (::SetParent(wnd, Panel->Handle())) {
    SetWindowLongW(wnd, GWL_STYLE, GetWindowLongW(wnd, GWL_STYLE) & ~WS_BORDER);
    SetWindowPos(wnd, HWND_TOP, Left(), Top(), Width(), Height(), SWP_FRAMECHANGED);
    if (IsWindow(wnd)) {
      ProgLoaded = true;
      Panel->Tag = reinterpret_cast<intptr_t>(wnd);
      RepaintEmbedded(*Panel, wnd);
    }
  }
  Panel->SetVisible(true);
}

void TMainFrame::Panel1Resize(rtl::TObject*) {
  if (HWND wnd = EmbeddedChild(*Panel1)) {
    MoveWindow(wnd, 0, 0, Panel1->Width(), Panel1->Height(), TRUE);
    RepaintEmbedded(*Panel1, wnd);
  }
}

void TMainFrame::StopProg() {
  if (Panel1->Tag <= 0) return;
  if (HWND wnd = EmbeddedChild(*Panel1)) PostMessageW(wnd, WM_CLOSE, 0, 0);
  if (HWND application = FindWindowW(rtl::W(kApplicationClass), rtl::W(kCompanionCaption)))
    PostMessageW(application, WM_CLOSE, 0, 0);
  FrameSleep(kStopWait);
  ProgLoaded = false;
  // The window is closing: a later resize or stop must not address its handle again.
  Panel1->Tag = 0;
}

void TMainFrame::bnShowPlugClick(rtl::TObject*) {
  StopProg();
  Timer1->SetEnabled(true);
}

}  // namespace WTarnView
