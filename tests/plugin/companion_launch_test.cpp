#include <memory>

#include "host/transcript.h"
#include "tests/plugin/plugin_fixture.h"

namespace plugin_test {
namespace {

using WTarnView::TMainFrame;

// A frame whose companion (the real TarnPlugIn.exe beside the tests) starts without a main
// window; the test asks it for one at the moment it chooses.
struct LaunchScene {
  TempFolder appdata;
  EnvVar env{L"APPDATA", appdata.Path().c_str()};
  EnvVar companion{L"TARNPLUGIN_SWITCHES", L"/late=600000"};
  std::unique_ptr<TMainFrame> frame = std::make_unique<TMainFrame>(nullptr);
  LaunchScene() {
    frame->Timer1->SetEnabled(false);
    WTarnView::ProgLoaded = false;
  }
  ~LaunchScene() {
    frame.reset();
    WTarnView::ProgLoaded = false;
    EXPECT_TRUE(CompanionsGone()) << "the companion ends with the frame";
  }
};

// The window embedded (at once, or once the companion has answered) and filling Panel1, its
// style as before but for the border.
void ExpectEmbedded(TMainFrame& frame, HWND wnd, DWORD style_before) {
  EXPECT_TRUE(PumpUntil([&] { return WTarnView::ProgLoaded; }, 5000));
  EXPECT_EQ(frame.Panel1->Tag, reinterpret_cast<intptr_t>(wnd));
  EXPECT_EQ(GetAncestor(wnd, GA_PARENT), frame.Panel1->Handle());
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE)) & ~WS_VISIBLE,
            (style_before & ~WS_BORDER) & ~WS_VISIBLE)
      << "only the border bit goes";
  EXPECT_TRUE(FillsSoon(wnd, frame.Panel1->Handle())) << "the window fills Panel1";
}

TEST(CompanionStart, Timelines) {
  constexpr int kNever = -1;
  struct Row {
    const char* label;
    int appears_at_wait;  // the wait during which the window turns up
    bool visible;
    std::vector<unsigned> waits;
    bool embedded;
  } rows[] = {
      {"found at the first search", 0, true, {2000}, true},
      {"first found at the third lookup", 3, true, {2000, 1500, 1500, 1500}, true},
      {"found at the last lookup", 5, true, {2000, 1500, 1500, 1500, 1500, 1500}, true},
      {"found but never visible", 0, false, {2000, 1500, 1500, 1500, 1500, 1500}, true},
      {"never in time", kNever, true, {2000, 1500, 1500, 1500, 1500, 1500}, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    LaunchScene scene;
    HWND window = nullptr;
    DWORD style = 0;
    WaitRecorder waits([&](size_t i) {
      if (static_cast<int>(i) != r.appears_at_wait) return;
      window = AskCompanion(r.visible ? companion_test::kShowMain : companion_test::kHiddenMain);
      style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    });
    scene.frame->Timer1Timer(nullptr);
    EXPECT_EQ(waits.waits, r.waits);
    EXPECT_TRUE(scene.frame->bnShowPlug->Visible());
    EXPECT_TRUE(scene.frame->bnShowPlug->Enabled());
    EXPECT_FALSE(scene.frame->Timer1->Enabled()) << "each start is a single shot";
    if (r.embedded) {
      ExpectEmbedded(*scene.frame, window, style);
    } else {
      EXPECT_FALSE(WTarnView::ProgLoaded);
      EXPECT_EQ(scene.frame->Panel1->Tag, 0);
    }
  }
}

TEST(CompanionStart, NothingToStart) {
  TempFolder folder;
  struct Row {
    const char* label;
    bool loaded_elsewhere;
    std::wstring prog;  // empty: the companion beside the tests
  } rows[] = {
      {"a window is already embedded by another frame", true, L""},
      {"no program at the path", false, folder.Path() + L"\\TarnPlugIn.exe"},
      {"a folder at the path", false, folder.Path()},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    LaunchScene scene;
    WTarnView::ProgLoaded = r.loaded_elsewhere;
    if (!r.prog.empty()) WTarnView::TarnProg = rtl::FromW(r.prog.c_str());
    WaitRecorder waits;
    scene.frame->Timer1Timer(nullptr);
    EXPECT_TRUE(waits.waits.empty()) << "nothing was started";
    EXPECT_EQ(WTarnView::ProgLoaded, r.loaded_elsewhere);
    EXPECT_TRUE(scene.frame->bnShowPlug->Visible());
    EXPECT_TRUE(scene.frame->bnShowPlug->Enabled());
  }
}

TEST(CompanionStart, RetryStopAndTheClosedWindow) {
  LaunchScene scene;
  TMainFrame& frame = *scene.frame;
  HWND window = nullptr;
  bool window_comes = false;
  WaitRecorder waits([&](size_t) {
    if (window_comes && !window) window = AskCompanion(companion_test::kShowMain);
  });
  frame.Timer1Timer(nullptr);  // nothing turns up in time
  ASSERT_FALSE(WTarnView::ProgLoaded);

  SendMessageW(frame.Panel2->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
               reinterpret_cast<LPARAM>(frame.bnShowPlug->Handle()));
  EXPECT_EQ(waits.waits.size(), 6u) << "the click stops nothing: nothing was embedded";
  EXPECT_TRUE(frame.Timer1->Enabled()) << "the click arms the next start";
  frame.Timer1->SetEnabled(false);  // the test ticks itself
  EndCompanions();  // the first companion, which showed nothing, keeps running

  window_comes = true;
  frame.Timer1Timer(nullptr);
  ASSERT_TRUE(window);
  ExpectEmbedded(frame, window, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);

  frame.StopProg();
  EXPECT_EQ(waits.waits.back(), 100u);
  EXPECT_FALSE(WTarnView::ProgLoaded);
  EXPECT_EQ(frame.Panel1->Tag, 0) << "the closed window is forgotten";
  EXPECT_TRUE(CompanionsGone()) << "the companion ends on the close request";

  const size_t waits_after_stop = waits.waits.size();
  frame.StopProg();  // nothing embedded any more
  EXPECT_EQ(waits.waits.size(), waits_after_stop);
}

// The companion's transcript line with its parameters, or "" when it wrote none.
std::string StartLine(const std::wstring& file) {
  rtl::UniqueFile f(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  char text[4096];
  DWORD n = 0;
  if (f) ReadFile(f.get(), text, sizeof text - 1, &n, nullptr);
  std::string all(text, n);
  size_t at = all.find("with parameters: ");
  return at == std::string::npos ? "" : all.substr(at + 17, all.find('\n', at) - at - 17);
}

TEST(CompanionEmbedding, RealCompanionInRealTime) {
  TempFolder temp;
  const std::wstring transcript_file = temp.Path() + L"\\road.txt";
  EnvVar appdata(L"APPDATA", temp.Path().c_str());
  EnvVar log(transcript::kFileVariable, transcript_file.c_str());
  EnvVar switches(L"TARNPLUGIN_SWITCHES", L"/send=C:\\Projects\\Demo\\Demo.dproj /sendafter=1000");
  FakeIde ide;
  WTarnView::ProgLoaded = false;
  rtl::TPanel page(nullptr);  // the Welcome Page around the frame
  auto* frame = new TMainFrame(&page);
  frame->Timer1->SetEnabled(false);
  frame->SetParent(&page);
  frame->SetAlign(rtl::TAlign::alClient);
  page.SetBounds(0, 0, 700, 400);

  frame->Timer1Timer(nullptr);
  // Wine 8 takes about 2 s to re-parent a shown window with a caption when no window manager
  // runs: the frame does not wait that long, and the embedding completes a moment later.
  ASSERT_TRUE(PumpUntil([&] { return frame->Panel1->Tag != 0; }, 5000));
  const auto embedded = reinterpret_cast<HWND>(frame->Panel1->Tag);
  ASSERT_TRUE(IsWindow(embedded));
  EXPECT_EQ(StartLine(transcript_file),
            "Slave \"Delphi 11 Alexandria\" \"" +
                std::to_string(reinterpret_cast<uintptr_t>(frame->Handle())) + "\"");
  ExpectEmbedded(*frame, embedded, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
  page.SetBounds(0, 0, 520, 330);
  ExpectEmbedded(*frame, embedded, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);

  EXPECT_TRUE(PumpUntil([&] { return !ide.opened.empty(); }, 5000));
  EXPECT_EQ(ide.opened, std::vector<String>{u"C:\\Projects\\Demo\\Demo.dproj"});

  DWORD pid = 0;
  GetWindowThreadProcessId(embedded, &pid);
  rtl::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
  delete frame;  // the view goes: the companion is asked to close
  EXPECT_TRUE(
      PumpUntil([&] { return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; }, 5000));
  EXPECT_FALSE(WTarnView::ProgLoaded);
}

}  // namespace
}  // namespace plugin_test
