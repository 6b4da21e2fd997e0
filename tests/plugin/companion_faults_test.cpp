// The view against a companion that misbehaves: it crashes on its way in or while embedded,
// ignores the close request, floods the view with requests or sends odd copy-data records,
// its window ends between the search and the embedding, or a foreign window of its class
// and caption appears after it has gone.
#include <optional>
#include <utility>

#include "host/transcript.h"
#include "tests/plugin/plugin_fixture.h"
#include "tests/tally.h"

namespace plugin_test {
namespace {

using WTarnView::TMainFrame;

constexpr DWORD kCrashCode = EXCEPTION_ACCESS_VIOLATION;

// The companion's top-level main window; null while there is none.
HWND MainWindow() { return FindWindowW(L"TMainForm", kCaption); }

// The process that owns a window, opened to wait for, inspect and terminate it.
rtl::UniqueHandle ProcessOf(HWND wnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  return rtl::UniqueHandle(
      OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
}

bool Ended(const rtl::UniqueHandle& process, DWORD milliseconds = 5000) {
  return PumpUntil([&] { return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; },
                   milliseconds);
}

DWORD ExitCode(const rtl::UniqueHandle& process) {
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return code;
}

size_t Count(const std::string& text, const std::string& part) {
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
struct CompanionScene {
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

  // A click on "Show PlugIn".
  void PressShowPlugIn() {
    SendMessageW(frame->Panel2->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(frame->bnShowPlug->Handle()));
  }

  bool Embedded(HWND wnd) const {
    return WTarnView::ProgLoaded && frame->Panel1->Tag == reinterpret_cast<intptr_t>(wnd) &&
           GetAncestor(wnd, GA_PARENT) == frame->Panel1->Handle();
  }
  bool NothingEmbedded() const { return !WTarnView::ProgLoaded && frame->Panel1->Tag == 0; }
  bool ButtonOffered() const {
    return frame->bnShowPlug->Visible() && frame->bnShowPlug->Enabled();
  }
  std::string Transcript() const { return ReadText(transcript_file); }
};

TEST(CompanionFaults, CrashOnTheWayInThenRestart) {
  CompanionScene scene;
  scene.Tick(L"/hidden /crash=0");  // ends as the frame sizes it inside Panel1
  wtarn_test::tally::Faults("companion");
  ASSERT_TRUE(scene.companion);
  ASSERT_TRUE(Ended(scene.companion));
  EXPECT_EQ(ExitCode(scene.companion), kCrashCode);
  EXPECT_NE(scene.Transcript().find("companion:   ends abnormally"), std::string::npos);
  EXPECT_FALSE(IsWindow(scene.found));
  EXPECT_TRUE(scene.NothingEmbedded()) << "a window that ended on its way in is not kept";
  EXPECT_TRUE(scene.ButtonOffered());
  scene.page.SetBounds(0, 0, 640, 380);  // a resize with nothing embedded

  scene.PressShowPlugIn();
  EXPECT_TRUE(scene.frame->Timer1->Enabled()) << "the press arms a new start";
  const HWND crashed = scene.found;
  scene.Tick(L"/hidden");
  ASSERT_NE(scene.found, crashed);
  EXPECT_TRUE(wtarn_test::tally::Kept("companion", scene.Embedded(scene.found)))
      << "the restart embeds the new companion";
}

TEST(CompanionFaults, CrashWhileEmbedded) {
  CompanionScene scene;
  scene.Tick(L"/hidden /crash=300");  // ends 300 ms after it has been embedded
  wtarn_test::tally::Faults("companion");
  const HWND dead = scene.found;
  ASSERT_TRUE(scene.Embedded(dead));
  ASSERT_TRUE(Ended(scene.companion));
  EXPECT_EQ(ExitCode(scene.companion), kCrashCode);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(dead); }, 2000));

  // A foreign window of the companion's class and caption, and resizes after the crash.
  TestWindow foreign(L"TMainForm", kCaption, true);
  RECT before, after;
  GetWindowRect(foreign.Handle(), &before);
  scene.page.SetBounds(0, 0, 600, 300);
  scene.frame->Panel1Resize(nullptr);
  GetWindowRect(foreign.Handle(), &after);
  EXPECT_TRUE(EqualRect(&before, &after)) << "the foreign window is not moved";
  EXPECT_EQ(GetAncestor(foreign.Handle(), GA_PARENT), GetDesktopWindow());

  scene.PressShowPlugIn();  // stops what is left and arms a new start
  PumpFor(50);
  EXPECT_TRUE(scene.NothingEmbedded());
  EXPECT_TRUE(scene.frame->Timer1->Enabled());
  EXPECT_TRUE(foreign.received.empty()) << "the foreign window is not closed";
}

TEST(CompanionFaults, IgnoredCloseRequest) {
  CompanionScene scene;
  scene.Tick(L"/hidden /noclose");
  wtarn_test::tally::Faults("companion");
  const HWND stray_window = scene.found;
  ASSERT_TRUE(scene.Embedded(stray_window));
  rtl::UniqueHandle stray = std::move(scene.companion);

  std::vector<unsigned> waits;
  {
    WaitRecorder recorder;
    scene.frame->StopProg();
    waits = recorder.waits;
  }
  EXPECT_EQ(waits, std::vector<unsigned>{100}) << "the stop waits 100 ms and no longer";
  EXPECT_TRUE(scene.NothingEmbedded()) << "the frame forgets the window";
  EXPECT_TRUE(PumpUntil([&] { return Count(scene.Transcript(), "(ignored)") == 2; }, 5000))
      << "both close requests arrived and were ignored";
  EXPECT_EQ(WaitForSingleObject(stray.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the companion keeps running";

  scene.PressShowPlugIn();
  ASSERT_TRUE(scene.frame->Timer1->Enabled());
  scene.Tick(L"/hidden");
  EXPECT_NE(scene.found, stray_window);
  EXPECT_TRUE(wtarn_test::tally::Kept("companion", scene.Embedded(scene.found)))
      << "a restart embeds a new companion";

  TerminateProcess(stray.get(), 1);  // nothing is left behind
  EXPECT_TRUE(Ended(stray));
}

TEST(CompanionFaults, WindowEndsBetweenSearchAndEmbedding) {
  struct Row {
    const char* label;
    bool real_companion;  // else a window of the test that the frame finds
  } rows[] = {
      {"a window destroyed", false},
      {"the companion's process crashed", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    CompanionScene scene;
    std::optional<TestWindow> window;
    HWND ended = nullptr;
    WTarnView::BeforeEmbedding = [&](HWND wnd) {
      ended = wnd;
      if (r.real_companion) {
        TerminateProcess(scene.companion.get(), kCrashCode);
        Ended(scene.companion);
      } else {
        window.reset();
      }
    };
    if (r.real_companion)
      scene.Tick(L"/hidden");
    else
      scene.Tick(L"/late=600000", [&] { window.emplace(L"TMainForm", kCaption, true); });
    WTarnView::BeforeEmbedding = nullptr;
    wtarn_test::tally::Faults("companion");

    ASSERT_NE(ended, nullptr) << "a window was found";
    EXPECT_FALSE(IsWindow(ended));
    EXPECT_TRUE(scene.NothingEmbedded()) << "the failed embedding is not reported as one";
    EXPECT_TRUE(scene.frame->Panel1->Visible());
    EXPECT_TRUE(scene.ButtonOffered());
    scene.page.SetBounds(0, 0, 500, 300);
    scene.PressShowPlugIn();
    EXPECT_TRUE(scene.frame->Timer1->Enabled());
  }
}

TEST(CompanionFaults, NoForeignWindowIsTouchedOnceTheCompanionHasGone) {
  struct Row {
    const char* label;
    // How the embedded window goes, given it and a foreign window of the same class and caption.
    std::function<void(CompanionScene&, std::optional<TestWindow>&, HWND foreign)> go;
  } rows[] = {
      {"stopped", [](CompanionScene& s, auto&, HWND) { s.frame->StopProg(); }},
      {"ended on its own", [](CompanionScene&, auto& window, HWND) { window.reset(); }},
      {"its handle value now names a foreign window",
       [](CompanionScene& s, auto& window, HWND foreign) {
         window.reset();
         s.frame->Panel1->Tag = reinterpret_cast<intptr_t>(foreign);
       }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    CompanionScene scene;
    std::optional<TestWindow> window;
    scene.Tick(L"/late=600000", [&] { window.emplace(L"TMainForm", kCaption, true); });
    ASSERT_TRUE(window && scene.Embedded(window->Handle()));

    TestWindow foreign(L"TMainForm", kCaption, true);
    r.go(scene, window, foreign.Handle());
    wtarn_test::tally::Faults("companion");
    RECT before, after;
    GetWindowRect(foreign.Handle(), &before);
    scene.page.SetBounds(0, 0, 610, 320);
    scene.frame->Panel1Resize(nullptr);
    scene.PressShowPlugIn();
    scene.frame->StopProg();
    PumpFor(50);
    GetWindowRect(foreign.Handle(), &after);
    EXPECT_TRUE(EqualRect(&before, &after)) << "not moved";
    EXPECT_EQ(GetAncestor(foreign.Handle(), GA_PARENT), GetDesktopWindow()) << "not re-parented";
    EXPECT_TRUE(wtarn_test::tally::Kept("companion", foreign.received.empty())) << "not closed";
    EXPECT_TRUE(scene.NothingEmbedded());
    EXPECT_TRUE(scene.frame->Timer1->Enabled());
  }
}

// The project of the Ith request of the companion's flood.
String FloodPath(unsigned i) {
  return rtl::FromW((L"C:\\Flood\\Gr\u00F6\u00DFe " + std::to_wstring(i) + L"\\" +
                     std::wstring(i % 300, L'\u0436') + L".dproj")
                        .c_str());
}

TEST(CompanionFaults, FloodOfRequests) {
  constexpr unsigned kRequests = 1000;
  CompanionScene scene;
  scene.Tick(L"/late=600000 /flood=1000", [] {});
  wtarn_test::tally::Inputs("companion", kRequests);
  EXPECT_TRUE(
      PumpUntil([&] { return scene.Transcript().find("flood of") != std::string::npos; }, 30000));
  EXPECT_NE(scene.Transcript().find("flood of 1000 requests 10023: 1000 answered with 0"),
            std::string::npos)
      << "the view answers every request";
  std::vector<String> expected;
  for (unsigned i = 1; i <= kRequests; ++i) expected.push_back(FloodPath(i));
  ASSERT_EQ(scene.ide.opened.size(), expected.size());
  EXPECT_TRUE(wtarn_test::tally::Kept("companion", scene.ide.opened == expected))
      << "every request arrives intact and in order";
  EXPECT_TRUE(scene.ide.new_group_always);
  EXPECT_TRUE(scene.NothingEmbedded());
}

TEST(CompanionFaults, OddRecordsFromAnotherProcess) {
  const std::wstring long_path = L"C:\\" + std::wstring(20000, L'x') + L".dproj";
  struct Row {
    const char* label;
    std::wstring raw;  // ID:BYTES:TEXT, BYTES "*" for the text and its zero
    std::optional<String> opened;
  } rows[] = {
      {"a plain request", L"10023:*:C:\\P\\Demo.dproj", u"C:\\P\\Demo.dproj"},
      {"no bytes", L"10023:0:C:\\P\\Ghost.dproj", u""},
      {"odd byte count", L"10023:7:abcXYZ", u"abc"},
      {"no terminating zero", L"10023:12:abcdef", u"abcdef"},
      {"a count past the zero", L"10023:64:short", u"short"},
      {"another identifier", L"10024:*:C:\\P\\Other.dproj", std::nullopt},
      {"identifier 0 without data", L"0:0:", std::nullopt},
      {"a path beyond MAX_PATH", L"10023:*:" + long_path, rtl::FromW(long_path.c_str())},
      {"letters beyond Latin-1", L"10023:*:C:\\\u041F\u0440\u043E\u0435\u043A\u0442\\\u6F22.dproj",
       u"C:\\\u041F\u0440\u043E\u0435\u043A\u0442\\\u6F22.dproj"},
  };
  std::wstring switches = L"/late=600000";
  std::vector<String> expected;
  for (const Row& r : rows) {
    switches += L" \"/raw=" + r.raw + L"\"";
    if (r.opened) expected.push_back(*r.opened);
  }
  CompanionScene scene;
  scene.Tick(switches.c_str(), [] {});
  wtarn_test::tally::Inputs("companion", std::size(rows));
  EXPECT_TRUE(PumpUntil(
      [&] { return Count(scene.Transcript(), "sent copy-data") == std::size(rows); }, 10000));
  EXPECT_EQ(Count(scene.Transcript(), "(result 0)"), std::size(rows)) << "each answered with 0";
  ASSERT_EQ(scene.ide.opened.size(), expected.size());
  for (size_t i = 0, e = 0; i < std::size(rows); ++i) {
    if (!rows[i].opened) continue;
    SCOPED_TRACE(rows[i].label);
    EXPECT_TRUE(wtarn_test::tally::Kept("companion", scene.ide.opened[e++] == *rows[i].opened));
  }
}

}  // namespace
}  // namespace plugin_test
