#include "view/main_frame.h"

#include <memory>
#include <optional>

#include "tests/plugin/plugin_fixture.h"

namespace plugin_test {
namespace {

using WTarnView::TMainFrame;

std::string ClassName(HWND wnd) {
  char name[80];
  return std::string(name, static_cast<size_t>(GetClassNameA(wnd, name, 80)));
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// A frame as a test needs it: built, with its 3-second start disarmed.
std::unique_ptr<TMainFrame> QuietFrame() {
  auto frame = std::make_unique<TMainFrame>(nullptr);
  frame->Timer1->SetEnabled(false);
  return frame;
}

TEST(MainFrame, Layout) {
  TempFolder appdata;
  EnvVar env(L"APPDATA", appdata.Path().c_str());
  TMainFrame frame(nullptr);
  EXPECT_EQ(ClassName(frame.Handle()), "TMainFrame");
  EXPECT_EQ(frame.Width(), 822);
  EXPECT_EQ(frame.Height(), 363);
  EXPECT_EQ(frame.Color(), rtl::clWindow);
  EXPECT_EQ(frame.Font().Name, u"Segoe UI");
  EXPECT_EQ(frame.Font().Height, -12);
  EXPECT_FALSE(frame.ParentBackground());

  EXPECT_EQ(frame.Panel1->Parent(), &frame);
  EXPECT_TRUE(SameRect(frame.Panel1->BoundsRect(), RECT{0, 0, 822, 363}))
      << "Panel1 fills the frame";
  EXPECT_EQ(frame.Panel1->Color(), rtl::clWindow);
  EXPECT_EQ(frame.Panel1->BevelOuter(), rtl::TBevelCut::bvNone);
  EXPECT_EQ(frame.Panel1->Tag, 0);
  EXPECT_EQ(frame.Panel2->Parent(), frame.Panel1);
  EXPECT_TRUE(SameRect(frame.Panel2->BoundsRect(), RECT{0, 0, 822, 28}));
  EXPECT_EQ(frame.bnShowPlug->Parent(), frame.Panel2);
  EXPECT_EQ(frame.bnShowPlug->Caption(), u"Show PlugIn");
  EXPECT_FALSE(frame.bnShowPlug->Visible());
  frame.bnShowPlug->SetVisible(true);
  EXPECT_TRUE(SameRect(frame.bnShowPlug->BoundsRect(), RECT{1, 1, 98, 27})) << "97 by 26 at (1, 1)";

  EXPECT_EQ(frame.Timer1->Interval(), 3000u);
  EXPECT_TRUE(frame.Timer1->Enabled()) << "construction arms the start";
}

TEST(MainFrame, IdeTheme) {
  struct Row {
    const char* label;
    std::optional<FakeIde::Options> ide;  // none: no IDE services at all
    rtl::TColor colour;
    bool parent_background;
  } rows[] = {
      {"theming on", FakeIde::Options{true, true, true}, kThemeWindow, false},
      {"theming off", FakeIde::Options{true, false, true}, rtl::clWindow, true},
      {"no theming service", FakeIde::Options{false, true, true}, rtl::clWindow, true},
      {"no IDE services", std::nullopt, rtl::clWindow, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    std::optional<FakeIde> ide;
    if (r.ide) ide.emplace(*r.ide);
    auto frame = QuietFrame();
    EXPECT_EQ(frame->Panel1->Color(), r.colour);
    EXPECT_EQ(frame->Panel1->ParentBackground(), r.parent_background);
    EXPECT_EQ(frame->Panel1->StyleElements, static_cast<unsigned>(rtl::seFont | rtl::seBorder));
  }
}

TEST(MainFrame, CompanionLocation) {
  TempFolder temp;
  const std::wstring dir = temp.Path(), dir_slash = dir + L"\\";
  const String default_prog = rtl::FromW((BinFolder() + L"TarnPlugIn.exe").c_str());
  struct Row {
    const char* label;
    const wchar_t* appdata;  // null: unset
    const wchar_t* key;      // Programlocation in TARN.INI; null: no file
    String ini_name, prog;
  } rows[] = {
      {"APPDATA, no settings file", dir.c_str(), nullptr,
       rtl::FromW(dir.c_str()) + u"\\morvane\\TARN\\TARN.INI", default_prog},
      {"APPDATA ending in a backslash", dir_slash.c_str(), nullptr,
       rtl::FromW(dir.c_str()) + u"\\morvane\\TARN\\TARN.INI", default_prog},
      {"APPDATA unset", nullptr, nullptr, u"morvane\\TARN\\TARN.INI", default_prog},
      {"APPDATA empty", L"", nullptr, u"morvane\\TARN\\TARN.INI", default_prog},
      {"key with a program", dir.c_str(), L"D:\\Tarn\\TarnPlugIn.exe",
       rtl::FromW(dir.c_str()) + u"\\morvane\\TARN\\TARN.INI", u"D:\\Tarn\\TarnPlugIn.exe"},
      {"key ending in a backslash", dir.c_str(), L"C:\\Tools\\",
       rtl::FromW(dir.c_str()) + u"\\morvane\\TARN\\TARN.INI", u"C:\\Tools"},
      {"key ending in two backslashes", dir.c_str(), L"C:\\Tools\\\\",
       rtl::FromW(dir.c_str()) + u"\\morvane\\TARN\\TARN.INI", u"C:\\Tools\\"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    const std::wstring ini = dir + L"\\morvane\\TARN\\TARN.INI";
    DeleteFileW(ini.c_str());
    if (r.key)
      temp.Write(L"morvane\\TARN\\TARN.INI",
                 L"[PlugInSettings]\r\nProgramlocation=" + std::wstring(r.key) + L"\r\n");
    EnvVar env(L"APPDATA", r.appdata);
    QuietFrame();
    EXPECT_EQ(WTarnView::TarnIniName, r.ini_name);
    EXPECT_EQ(WTarnView::TarnProg, r.prog);
  }
}

TEST(MainFrame, CopyDataRequests) {
  struct Row {
    const char* label;
    ULONG_PTR id;
    std::u16string data;  // the bytes behind the record
    DWORD bytes;          // the record's byte count
    bool actions;         // the IDE offers its action service
    std::optional<String> opened;
  } rows[] = {
      {"open a project", 10023, std::u16string(u"C:\\P\\Demo.dproj\0", 16), 32, true,
       u"C:\\P\\Demo.dproj"},
      {"empty path still opens", 10023, std::u16string(u"\0", 1), 2, true, u""},
      {"other request ignored", 10024, std::u16string(u"C:\\P\\Demo.dproj\0", 16), 32, true,
       std::nullopt},
      {"no action service: dropped", 10023, std::u16string(u"C:\\P\\Demo.dproj\0", 16), 32, false,
       std::nullopt},
      {"no zero within the count", 10023, u"abcXYZ", 6, true, u"abc"},
      {"odd byte count", 10023, u"abcXYZ", 7, true, u"abc"},
      {"zero inside the data", 10023, std::u16string(u"ab\0cd", 5), 10, true, u"ab"},
      {"no bytes", 10023, u"abc", 0, true, u""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    FakeIde ide({true, false, r.actions});
    auto frame = QuietFrame();
    std::u16string buffer = r.data;  // the text may run on past the count
    COPYDATASTRUCT record{r.id, r.bytes, buffer.data()};
    EXPECT_EQ(SendMessageW(frame->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record)), 0);
    if (r.opened) {
      EXPECT_EQ(ide.opened, std::vector<String>{*r.opened});
      EXPECT_TRUE(ide.new_group_always);
    } else {
      EXPECT_TRUE(ide.opened.empty());
    }
  }
  FakeIde ide;
  auto frame = QuietFrame();
  COPYDATASTRUCT no_data{10023, 8, nullptr};
  SendMessageW(frame->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&no_data));
  EXPECT_EQ(ide.opened, std::vector<String>{u""}) << "a count without data reads nothing";
}

}  // namespace
}  // namespace plugin_test
