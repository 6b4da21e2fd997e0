// TMainFrame: starting, embedding, sizing and stopping the companion program.
//
// The companion's window belongs to another process, and every call that re-parents, restyles
// or sizes it at once waits for that process's window thread. So the frame never makes such a
// call on the IDE's thread: it re-parents and restyles the window on a worker thread, waits for
// it only a moment (kEmbeddingWait, answering the messages sent to it meanwhile), and otherwise
// finishes the embedding when the worker reports back; it sizes the window without waiting,
// and only posts its close requests. A window counts as the companion only when it belongs to
// the process that the frame started.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>

#include "kv_tools/window_helpers.h"
#include "rtl/file_system.h"
#include "rtl/handles.h"
#include "rtl/platform.h"
#include "rtl/window_text_win.h"
#include "view/main_frame.h"

namespace WTarnView {

// One re-parenting on its way, shared by the frame and the worker thread that does it.
struct Embedding {
  HWND wnd;         // the companion's window
  HWND panel;       // its new parent
  RECT bounds;      // where it goes in the panel: the frame's left, top, width and height
  DWORD ide_thread;
  HWND frame;       // told when the worker is done
  unsigned id;
  rtl::UniqueHandle done = rtl::UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::atomic<bool> parented{false};  // the window became the panel's child

  // True once the worker is done with the window.
  bool Finished() const { return WaitForSingleObject(done.get(), 0) == WAIT_OBJECT_0; }
};

namespace {

const String kMainFormClass = u"TMainForm";
const String kApplicationClass = u"TApplication";
const String kCompanionCaption = u"TarnPlugIn Slave Delphi 11 Alexandria";
constexpr unsigned kFirstSearchWait = 2000;
constexpr unsigned kSearchRetryWait = 1500;
constexpr int kSearchRetries = 5;
constexpr unsigned kStopWait = 100;
// How long the IDE's thread waits for a re-parenting before it leaves it to the worker.
constexpr DWORD kEmbeddingWait = 500;
// How long a companion inside the frame may take to answer when the frame goes, and how long
// one that did not is given to end.
constexpr UINT kAnswerWait = 250;
constexpr DWORD kEndWait = 500;

// The companion's command line: Slave "Delphi 11 Alexandria" "<frame handle>".
String SlaveParameters(HWND frame) {
  const auto handle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(frame));
  return u"Slave \"Delphi 11 Alexandria\" \"" + rtl::IntToStr(handle) + u"\"";
}

// The first top-level window of the process whose class and caption match: Exact asks for
// both as they stand (letter case aside), otherwise the caption need only hold the title (as
// InAllWindowTitle). Null when the process has none. Reading another process's caption never
// waits for it.
HWND CompanionWindow(DWORD process, const String& windowClass, bool exact) {
  for (HWND wnd = GetTopWindow(nullptr); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner != process || process == 0) continue;
    const String caption = rtl::WindowCaption(wnd), cls = rtl::WindowClassName(wnd);
    const bool match = exact ? rtl::AnsiCompareText(cls, windowClass) == 0 &&
                                   rtl::AnsiCompareText(caption, kCompanionCaption) == 0
                             : Kv_tools::WindowTitleMatches(caption, cls, windowClass,
                                                            kCompanionCaption);
    if (match) return wnd;
  }
  return nullptr;
}

// The companion's main window once it is visible, or the last lookup's answer.
HWND WaitForCompanionWindow(DWORD process) {
  FrameSleep(kFirstSearchWait);
  HWND wnd = CompanionWindow(process, kMainFormClass, false);
  for (int i = 0; i < kSearchRetries; ++i) {
    if (wnd && IsWindowVisible(wnd)) break;
    FrameSleep(kSearchRetryWait);
    wnd = CompanionWindow(process, kMainFormClass, true);
  }
  return wnd;
}

// The message through which the worker reports back to the frame (wParam: the embedding's id).
UINT EmbeddingDoneMessage() {
  static const UINT message = RegisterWindowMessageW(L"WTarnView.EmbeddingDone");
  return message;
}

// The worker: makes the window a borderless child of the panel at its place, then tells the
// frame. It keeps the package loaded while it runs, as a companion may hold it up for long.
DWORD WINAPI Embed(void* param) {
  std::unique_ptr<std::shared_ptr<Embedding>> job(
      static_cast<std::shared_ptr<Embedding>*>(param));
  Embedding& e = **job;
  if (::SetParent(e.wnd, e.panel)) {
    e.parented = true;
    // A child window of another thread shares the parent's input: every activation and focus
    // change of the IDE would then wait for the companion.
    AttachThreadInput(GetWindowThreadProcessId(e.wnd, nullptr), e.ide_thread, FALSE);
    SetWindowLongW(e.wnd, GWL_STYLE, GetWindowLongW(e.wnd, GWL_STYLE) & ~WS_BORDER);
    SetWindowPos(e.wnd, HWND_TOP, e.bounds.left, e.bounds.top, e.bounds.right, e.bounds.bottom,
                 SWP_FRAMECHANGED);
  }
  SetEvent(e.done.get());
  PostMessageW(e.frame, EmbeddingDoneMessage(), e.id, 0);
  job.reset();
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&Embed), &self);
  FreeLibraryAndExitThread(self, 0);
}

// Starts the worker for an embedding; false when no thread could be started.
bool StartWorker(const std::shared_ptr<Embedding>& embedding) {
  HMODULE self = nullptr;
  if (!embedding->done ||
      !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCWSTR>(&Embed), &self))
    return false;
  auto* job = new std::shared_ptr<Embedding>(embedding);
  rtl::UniqueHandle thread(CreateThread(nullptr, 0, Embed, job, 0, nullptr));
  if (thread) return true;
  delete job;
  FreeLibrary(self);
  return false;
}

// Waits up to Milliseconds for the worker, answering only the messages sent to this thread
// meanwhile (the re-parenting may send some); true when it is done.
bool WaitForWorker(const Embedding& embedding, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  HANDLE done = embedding.done.get();
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now < end ? static_cast<DWORD>(end - now) : 0;
    if (MsgWaitForMultipleObjects(1, &done, FALSE, left, QS_SENDMESSAGE) != WAIT_OBJECT_0 + 1)
      return embedding.Finished();
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
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
  companion_ = GetProcessId(process.get());
  started_.push_back(companion_);

  HWND wnd = WaitForCompanionWindow(companion_);
  if (static_cast<int32_t>(reinterpret_cast<intptr_t>(wnd)) <= 0) return;
  if (BeforeEmbedding) BeforeEmbedding(wnd);
  auto embedding = std::make_shared<Embedding>();
  embedding->wnd = wnd;
  embedding->panel = Panel->Handle();
  embedding->bounds = {Left(), Top(), Width(), Height()};
  embedding->ide_thread = GetCurrentThreadId();
  embedding->frame = Handle();
  embedding->id = ++embeddings_;
  if (StartWorker(embedding)) {
    embedding_ = embedding;
    if (WaitForWorker(*embedding, kEmbeddingWait)) EmbeddingDone(embedding->id);
  }
  Panel->SetVisible(true);
}

bool TMainFrame::EmbeddingDone(unsigned Id) {
  if (!embedding_ || embedding_->id != Id || !embedding_->Finished()) return false;
  const std::shared_ptr<Embedding> e = std::move(embedding_);
  // Only a window that became the panel's child and outlived its sizing counts as embedded; one
  // that ended on its way in (the companion crashed) is not kept.
  if (!e->parented || GetAncestor(e->wnd, GA_PARENT) != Panel1->Handle()) return false;
  ProgLoaded = true;
  Panel1->Tag = reinterpret_cast<intptr_t>(e->wnd);
  RepaintEmbedded(*Panel1, e->wnd);
  return true;
}

bool TMainFrame::WMEmbeddingDone(UINT Msg, WPARAM WParam) {
  if (Msg != EmbeddingDoneMessage()) return false;
  // Late, after the companion's thread was busy: size it as the start would have.
  if (EmbeddingDone(static_cast<unsigned>(WParam))) Panel1Resize(this);
  return true;
}

HWND TMainFrame::EmbeddedChild() const {
  const auto wnd = reinterpret_cast<HWND>(Panel1->Tag);
  DWORD owner = 0;
  if (Panel1->Tag <= 0 || GetAncestor(wnd, GA_PARENT) != Panel1->Handle()) return nullptr;
  GetWindowThreadProcessId(wnd, &owner);
  return owner == companion_ ? wnd : nullptr;
}

void TMainFrame::Panel1Resize(rtl::TObject*) {
  if (HWND wnd = EmbeddedChild()) {
    // Sized as MoveWindow would (repainted), but posted: a busy companion sizes itself later.
    SetWindowPos(wnd, nullptr, 0, 0, Panel1->Width(), Panel1->Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    RepaintEmbedded(*Panel1, wnd);
  }
}

void TMainFrame::CloseCompanion(HWND Main) {
  if (Main) PostMessageW(Main, WM_CLOSE, 0, 0);
  if (HWND application = CompanionWindow(companion_, kApplicationClass, true))
    PostMessageW(application, WM_CLOSE, 0, 0);
}

void TMainFrame::StopProg() {
  // A companion still on its way in (its window thread busy) is asked to close and forgotten.
  if (const std::shared_ptr<Embedding> e = std::move(embedding_)) CloseCompanion(e->wnd);
  if (Panel1->Tag <= 0) return;
  CloseCompanion(EmbeddedChild());
  FrameSleep(kStopWait);
  ProgLoaded = false;
  // The window is closing: a later resize or stop must not address its handle again.
  Panel1->Tag = 0;
}

void TMainFrame::EndBusyCompanions() {
  std::vector<HWND> inside;
  for (HWND wnd = GetWindow(Panel1->Handle(), GW_CHILD); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT))
    inside.push_back(wnd);
  for (HWND wnd : inside) {
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (std::find(started_.begin(), started_.end(), owner) == started_.end()) continue;
    DWORD_PTR answer;
    if (SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerWait,
                            &answer))
      continue;
    rtl::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, owner));
    if (process && TerminateProcess(process.get(), ERROR_TIMEOUT))
      WaitForSingleObject(process.get(), kEndWait);
  }
}

void TMainFrame::bnShowPlugClick(rtl::TObject*) {
  StopProg();
  Timer1->SetEnabled(true);
}

}  // namespace WTarnView
