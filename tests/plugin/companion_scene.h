// A frame on a page of the IDE that starts the real companion beside the tests, with the
// helpers that watch the companion's process; shared by the companion fault and hang tests.
#pragma once

#include <optional>
#include <string>

#include "host/transcript.h"
#include "tests/plugin/plugin_fixture.h"

namespace plugin_test {

using WTarnView::TMainFrame;

// The companion's top-level main window; null while there is none.
inline HWND MainWindow() { return CompanionWindow(L"TMainForm"); }

// The process that owns a window, opened to wait for, inspect and terminate it.
inline rtl::UniqueHandle ProcessOf(HWND wnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  return rtl::UniqueHandle(
      OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
}

inline bool Ended(const rtl::UniqueHandle& process, DWORD milliseconds = 5000) {
  return PumpUntil([&] { return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; },
                   milliseconds);
}

inline DWORD ExitCode(const rtl::UniqueHandle& process) {
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return code;
}

inline size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// A frame on a page of the IDE, starting the real companion beside the tests; each start takes
// the switches the test gives. The frame's waits during a start pass at once, but for what the
// test does during the first one (by default: wait until the companion has its main window).
// At the end the frame goes, and every companion it started must end with it.
// The companions keep their main window /hidden, as showing it adds nothing here: Wine takes
// 2 s to move a shown window with a caption into another window.
// All the while, another process times how long the IDE's thread takes to answer: with the
// frame's waits passing at once, never longer than answer_limit.
struct CompanionScene {
  AnswerTimer answers;
  long long answer_limit = 1000;
  TempFolder temp;
  const std::wstring transcript_file = temp.Path() + L"\\road.txt";
  EnvVar appdata{L"APPDATA", temp.Path().c_str()};
  EnvVar log{transcript::kFileVariable, transcript_file.c_str()};
  std::optional<EnvVar> switches;
  FakeIde ide;
  rtl::TPanel page{nullptr};
  TMainFrame* frame;
  rtl::UniqueHandle companion;  // the last companion whose main window the frame found
  HWND found = nullptr;         // that window

  CompanionScene() {
    EXPECT_TRUE(CompanionsGone()) << "no companion is left from before";
    WTarnView::ProgLoaded = false;
    frame = new TMainFrame(&page);
    frame->Timer1->SetEnabled(false);
    frame->SetParent(&page);
    frame->SetAlign(rtl::TAlign::alClient);
    page.SetBounds(0, 0, 700, 400);
  }
  ~CompanionScene() {
    delete frame;
    WTarnView::ProgLoaded = false;
    const AnswerTimer::Wait longest = answers.Stop();
    EXPECT_GE(longest.ms, 0) << "the IDE's thread was timed";
    EXPECT_LT(longest.ms, answer_limit)
        << "the IDE's thread took " << longest.ms << " ms to answer a message posted at "
        << longest.at << " ms";
    EXPECT_TRUE(CompanionsGone()) << "the companion ends with the frame";
  }

  // The frame's timer tick, the companion started with these switches.
  void Tick(const wchar_t* companion_switches, const std::function<void()>& first_wait) {
    switches.reset();
    switches.emplace(L"TARNPLUGIN_SWITCHES", companion_switches);
    WaitRecorder waits([&](size_t i) {
      if (i == 0) first_wait();
    });
    frame->Timer1Timer(nullptr);
  }
  void Tick(const wchar_t* companion_switches) {
    Tick(companion_switches, [this] {
      EXPECT_TRUE(PumpUntil([] { return MainWindow() != nullptr; }, 10000));
      found = MainWindow();
      companion = ProcessOf(found);
    });
  }

  // A click on "Show PlugIn", as the user's: the button takes the focus first.
  void PressShowPlugIn() { SendMessageW(frame->bnShowPlug->Handle(), BM_CLICK, 0, 0); }

  bool Embedded(HWND wnd) const {
    return WTarnView::ProgLoaded && frame->Panel1->Tag == reinterpret_cast<intptr_t>(wnd) &&
           GetAncestor(wnd, GA_PARENT) == frame->Panel1->Handle();
  }
  // Embedded now or, when the companion was busy, once it has answered (within 10 s).
  bool EmbeddedSoon(HWND wnd) const {
    return PumpUntil([&] { return Embedded(wnd); }, 10000);
  }
  bool NothingEmbedded() const { return !WTarnView::ProgLoaded && frame->Panel1->Tag == 0; }
  bool ButtonOffered() const {
    return frame->bnShowPlug->Visible() && frame->bnShowPlug->Enabled();
  }
  std::string Transcript() const { return ReadText(transcript_file); }
};

}  // namespace plugin_test
