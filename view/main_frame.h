// WTarnView: the plug-in's view. TMainFrame starts the companion project manager
// TarnPlugIn.exe hidden, embeds its main window into Panel1, keeps it sized, closes it again,
// and opens the projects that the companion asks for through a copy-data message.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "rtl/controls_win.h"

namespace WTarnView {

using rtl::String;

// Unit state shared by every frame.
KV_API extern bool ProgLoaded;     // true while a companion window is embedded
KV_API extern String TarnIniName;  // the companion's settings file
KV_API extern String TarnProg;     // the companion executable

// How the frame waits while the companion starts and stops: a plain sleep on the calling
// thread. The waits are 2000 ms, then up to five of 1500 ms while starting, and 100 ms after a
// stop; tests put a recorder here instead.
KV_API extern std::function<void(unsigned Milliseconds)> FrameSleep;

// Runs between finding the companion's window and making it the panel's child; empty in the
// product. Tests end the window here, as a companion that dies at that moment.
KV_API extern std::function<void(HWND Found)> BeforeEmbedding;

// Unit shut-down: clears TarnIniName and TarnProg.
KV_API void Shutdown();

// The copy-data message as the frame's handler receives it; Result is the message's result.
struct TWMCopyData {
  UINT Msg;
  HWND From;
  const COPYDATASTRUCT* CopyDataStruct;
  LRESULT Result;
};

struct Embedding;  // a re-parenting of the companion's window on its way

class KV_API TMainFrame : public rtl::TFrame {
 public:
  rtl::TPanel* Panel1;  // fills the frame; Tag holds the embedded window, 0 when none
  rtl::TPanel* Panel2;  // the button bar at the top of Panel1
  rtl::TSpeedButton* bnShowPlug;
  rtl::TTimer* Timer1;  // 3000 ms, one shot: starts the companion

  // Builds the layout, applies the IDE theme to Panel1, reads TarnProg from TarnIniName
  // ("PlugInSettings", "Programlocation"; default TarnPlugIn.exe beside the host executable)
  // and arms Timer1.
  explicit TMainFrame(rtl::TComponent* AOwner);
  // Stops the companion (StopProg). A companion it started that still sits inside Panel1 but
  // does not answer within 250 ms is ended: freeing the frame's windows would otherwise wait for
  // it (every window inside gets WM_DESTROY and is waited for).
  ~TMainFrame() override;

  // Fits the embedded window to Panel1 at (0, 0); nothing when none is embedded or the window
  // is no longer Panel1's child (it ended, or its handle value now names another window).
  void Panel1Resize(rtl::TObject* Sender);
  // The single-shot start: unless a companion is loaded, starts TarnProg when it exists with
  // Slave "Delphi 11 Alexandria" "<frame handle>" and embeds it; then shows bnShowPlug.
  void Timer1Timer(rtl::TObject* Sender);
  // Stops the companion and arms Timer1 for a new start.
  void bnShowPlugClick(rtl::TObject* Sender);
  // Starts Prog hidden through the shell with Params, waits for the started process's visible
  // "TMainForm" window (2000 ms, then up to five lookups 1500 ms apart) and makes it a
  // borderless child of Panel. Nothing is embedded when the shell call fails, no window of
  // that process turns up, or the window cannot be made Panel's child or ends on its way in.
  // A companion whose window thread is busy is waited for 500 ms at most; the embedding then
  // completes (and the window is sized) when the companion answers again, unless it was
  // stopped meanwhile.
  void StartAProg(const String& Prog, const String& Params, rtl::TPanel*& Panel);
  // Posts WM_CLOSE to the embedded window (while it is still Panel1's child) and to the
  // companion's application window, waits 100 ms, and forgets the window (ProgLoaded false,
  // Panel1.Tag 0); a companion that ignores the close request keeps running. A companion still
  // on its way in is asked to close the same way and forgotten, without the wait. Nothing
  // else when none is embedded. Windows of other processes are never asked.
  void StopProg();

 protected:
  LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;
  // Request 10023 opens the project whose UTF-16 path the data holds (read within the data's
  // byte count, up to its first zero) in a new project group through the IDE's action
  // service. Other requests, and every request while the IDE offers no action service, are
  // ignored. The result is 0.
  void WMCopyData(TWMCopyData& Message);

 private:
  // Takes the worker's report on embedding Id: the window is embedded when it became Panel1's
  // child. True when it did; false for a report of an embedding that was forgotten.
  bool EmbeddingDone(unsigned Id);
  // The worker's report as a message; false for any other message.
  bool WMEmbeddingDone(UINT Msg, WPARAM WParam);
  // The window in Panel1.Tag while it is Panel1's child and belongs to the companion started
  // last; null otherwise.
  HWND EmbeddedChild() const;
  // Posts WM_CLOSE to Main (when given) and to the started companion's application window.
  void CloseCompanion(HWND Main);
  // Ends the companions started here whose windows sit inside Panel1 and do not answer.
  void EndBusyCompanions();

  DWORD companion_ = 0;          // the process started last
  std::vector<DWORD> started_;  // every process started
  unsigned embeddings_ = 0;
  std::shared_ptr<Embedding> embedding_;  // on its way in, while the companion is busy
};

}  // namespace WTarnView
