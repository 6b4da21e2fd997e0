// The view against a companion that misbehaves: it crashes on its way in or while embedded,
// ignores the close request, floods the view with requests or sends odd copy-data records,
// its window ends between the search and the embedding, or a foreign window of its class
// and caption appears after it has gone.
#include <utility>

#include "tests/plugin/companion_scene.h"
#include "tests/tally.h"

namespace plugin_test {
namespace {

constexpr DWORD kCrashCode = EXCEPTION_ACCESS_VIOLATION;

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
  EXPECT_TRUE(wtarn_test::tally::Kept("companion", scene.EmbeddedSoon(scene.found)))
      << "the restart embeds the new companion";
}

TEST(CompanionFaults, CrashWhileEmbedded) {
  CompanionScene scene;
  scene.Tick(L"/hidden /crash=300");  // ends 300 ms after it has been embedded
  wtarn_test::tally::Faults("companion");
  const HWND dead = scene.found;
  ASSERT_TRUE(scene.EmbeddedSoon(dead));
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
  ASSERT_TRUE(scene.EmbeddedSoon(stray_window));
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
  EXPECT_TRUE(wtarn_test::tally::Kept("companion", scene.EmbeddedSoon(scene.found)))
      << "a restart embeds a new companion";

  TerminateProcess(stray.get(), 1);  // nothing is left behind
  EXPECT_TRUE(Ended(stray));
}

TEST(CompanionFaults, WindowEndsBetweenSearchAndEmbedding) {
  struct Row {
    const char* label;
    bool crash;  // else the companion closes its window (and ends)
  } rows[] = {
      {"the window destroyed", false},
      {"the companion's process crashed", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    CompanionScene scene;
    HWND ended = nullptr;
    WTarnView::BeforeEmbedding = [&](HWND wnd) {
      ended = wnd;
      if (r.crash)
        TerminateProcess(scene.companion.get(), kCrashCode);
      else
        AskCompanion(companion_test::kEndMain);
      Ended(scene.companion);
    };
    scene.Tick(L"/hidden");
    WTarnView::BeforeEmbedding = nullptr;
    wtarn_test::tally::Faults("companion");

    ASSERT_NE(ended, nullptr) << "a window was found";
    EXPECT_FALSE(IsWindow(ended));
    PumpFor(200);
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
    // How the embedded window goes, given a foreign window of the same class and caption.
    std::function<void(CompanionScene&, HWND foreign)> go;
  } rows[] = {
      {"stopped", [](CompanionScene& s, HWND) { s.frame->StopProg(); }},
      {"ended on its own", [](CompanionScene&, HWND) { AskCompanion(companion_test::kEndMain); }},
      {"its handle value now names a foreign window",
       [](CompanionScene& s, HWND foreign) {
         AskCompanion(companion_test::kEndMain);
         s.frame->Panel1->Tag = reinterpret_cast<intptr_t>(foreign);
       }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    CompanionScene scene;
    scene.Tick(L"/hidden");
    ASSERT_TRUE(scene.EmbeddedSoon(scene.found));

    TestWindow foreign(L"TMainForm", kCaption, true);
    TestWindow foreign_application(L"TApplication", kCaption, false);
    r.go(scene, foreign.Handle());
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
    EXPECT_TRUE(wtarn_test::tally::Kept(
        "companion", foreign.received.empty() && foreign_application.received.empty()))
        << "not closed";
    EXPECT_TRUE(scene.NothingEmbedded());
    EXPECT_TRUE(scene.frame->Timer1->Enabled());
  }
}

// Look-alikes of another program (here: the test's own windows), with the companion's classes
// and caption, shown before the start, topmost, or appearing during the waits: the frame embeds
// and closes only the companion it started.
TEST(CompanionFaults, LookAlikeWindowsOfAnotherProgram) {
  struct Row {
    const char* label;
    bool before_start, topmost;
  } rows[] = {
      {"shown before the start", true, false},
      {"topmost before the start", true, true},
      {"appearing during the waits", false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    CompanionScene scene;
    std::optional<TestWindow> main, application;
    const auto appear = [&] {
      main.emplace(L"TMainForm", kCaption, true);
      application.emplace(L"TApplication", kCaption, false);
      if (r.topmost)
        SetWindowPos(main->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    };
    if (r.before_start) appear();
    scene.Tick(L"/late=300", [&] {
      if (!r.before_start) appear();
      EXPECT_TRUE(PumpUntil([] { return MainWindow() != nullptr; }, 10000));
      scene.found = MainWindow();
      scene.companion = ProcessOf(scene.found);
    });
    wtarn_test::tally::Faults("companion");
    EXPECT_TRUE(scene.EmbeddedSoon(scene.found)) << "the companion it started is embedded";
    scene.PressShowPlugIn();
    EXPECT_TRUE(Ended(scene.companion)) << "the companion is asked to close";
    EXPECT_EQ(GetAncestor(main->Handle(), GA_PARENT), GetDesktopWindow()) << "not re-parented";
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(main->Handle(), GWL_STYLE)),
              main->style_at_creation)
        << "not restyled";
    EXPECT_TRUE(wtarn_test::tally::Kept(
        "companion", main->received.empty() && application->received.empty()))
        << "not closed";
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
