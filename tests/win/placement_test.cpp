// Window positions of real forms saved to and restored from INI files.
#include "kv_tools/placement.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "kv_tools/globals.h"
#include "kv_tools/sysinfo.h"
#include "rtl/errors.h"
#include "rtl/lists_win.h"
#include "rtl/stdctrls_win.h"
#include "tests/core/temp_folder.h"
#include "tests/win/message_recorder.h"

namespace Kv_tools {
namespace {

using rtl::TForm;
using rtl::TWindowState;
using wtarn_test::ScopedGlobal;
using wtarn_test::TempFolder;

RECT BoundsOf(const TForm& form) {
  return {form.Left(), form.Top(), form.Left() + form.Width(), form.Top() + form.Height()};
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// One shown form for every test: Wine takes seconds to take a shown window down again.
class PlacementWin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    shared_ = new TForm(nullptr);
    shared_->Show();
  }
  static void TearDownTestSuite() { delete shared_; }
  void SetUp() override {
    form_.SetWindowState(TWindowState::wsNormal);
    form_.SetBounds(100, 120, 400, 300);
  }
  String Section() const { return WindowPosSection(rtl::Screen().Width(), rtl::Screen().Height(), GetThisComputerName()); }
  String Stored(const String& section, const String& key) const {
    rtl::IniFile ini(ini_);
    return ini.ReadString(section, key, u"");
  }
  void Store(const String& section, const String& key, const String& value) const {
    rtl::IniFile ini(ini_);
    ini.WriteString(section, key, value);
  }

  TempFolder tmp_{u"place"};
  String ini_ = tmp_ / u"pos.ini";
  static inline TForm* shared_ = nullptr;
  TForm& form_ = *shared_;
};

TEST_F(PlacementWin, SavedFormComesBackWhereItWas) {
  SaveWindowPos(form_, ini_, u"Main");
  EXPECT_EQ(Stored(Section(), u"Main"), u"100^120^500^420^1^");

  const RECT saved = BoundsOf(form_);
  form_.SetBounds(300, 200, 250, 150);
  EXPECT_TRUE(RestoreWindowPos(form_, ini_, u"Main", true));
  EXPECT_TRUE(SameRect(BoundsOf(form_), saved));

  form_.SetBounds(300, 200, 250, 150);
  EXPECT_TRUE(RestoreWindowNotMinPos(form_, ini_, u"Main"));
  EXPECT_TRUE(SameRect(BoundsOf(form_), saved));

  form_.SetBounds(300, 200, 250, 150);
  EXPECT_TRUE(RestoreWindowLeftTopPos(form_, ini_, u"Main", true));
  EXPECT_TRUE(SameRect(BoundsOf(form_), RECT{100, 120, 350, 270})) << "the position only";

  // The INI object variants move by a work area that does not start at the corner.
  const RECT wa = rtl::Screen().WorkAreaRect();
  const int left = 100 + std::max(0L, wa.left), top = 120 + std::max(0L, wa.top);
  form_.SetBounds(300, 200, 250, 150);
  EXPECT_TRUE(RestoreWindowLeftTopPosIni2(form_, ini_, u"Main", true));
  EXPECT_TRUE(SameRect(BoundsOf(form_), RECT{left, top, left + 250, top + 150}));
  rtl::MemIniFile mem(ini_);
  form_.SetBounds(300, 200, 250, 150);
  EXPECT_TRUE(RestoreWindowLeftTopPosIni(form_, mem, u"Main", false));
  EXPECT_TRUE(SameRect(BoundsOf(form_), RECT{left, top, left + 250, top + 150}));
}

TEST_F(PlacementWin, MemoryIniTakesTheRecordUntilTheCallerWrites) {
  rtl::MemIniFile mem(ini_);
  SaveWindowPosMIni(form_, u"unused.ini", u"A", mem);
  IniSaveWindowPos(mem, form_, u"unused.ini", u"B");
  EXPECT_EQ(mem.ReadString(Section(), u"A", u""), u"100^120^500^420^1^");
  EXPECT_EQ(mem.ReadString(Section(), u"B", u""), u"100^120^500^420^1^");
  EXPECT_EQ(Stored(Section(), u"A"), u"") << "nothing on disk yet";
  mem.UpdateFile();
  EXPECT_EQ(Stored(Section(), u"B"), u"100^120^500^420^1^");
}

TEST_F(PlacementWin, StoredStates) {
  Store(Section(), u"Max", u"100^120^500^420^3^");
  Store(Section(), u"Min", u"100^120^500^420^2^");

  EXPECT_TRUE(RestoreWindowPos(form_, ini_, u"Max", false));
  EXPECT_EQ(form_.WindowState(), TWindowState::wsNormal) << "ApplyState false";
  EXPECT_TRUE(RestoreWindowPos(form_, ini_, u"Max", true));
  EXPECT_EQ(form_.WindowState(), TWindowState::wsMaximized);

  // A maximized form saves its normal rectangle, and comes back maximized over it.
  SaveWindowPos(form_, ini_, u"Saved");
  EXPECT_EQ(Stored(Section(), u"Saved"), u"100^120^500^420^3^");
  EXPECT_TRUE(RestoreWindowPos(form_, ini_, u"Min", true));
  EXPECT_EQ(form_.WindowState(), TWindowState::wsMinimized);
  EXPECT_TRUE(RestoreWindowNotMinPos(form_, ini_, u"Min"));
  EXPECT_EQ(form_.WindowState(), TWindowState::wsNormal) << "a minimized record shows normal";
  EXPECT_TRUE(SameRect(BoundsOf(form_), RECT{100, 120, 500, 420}));
}

TEST_F(PlacementWin, MissingOrBrokenRecordsLeaveTheForm) {
  Store(Section(), u"Text", u"abc");
  Store(Section(), u"Short", u"10^20^30^");
  rtl::IniFile ini(ini_);
  const RECT before = BoundsOf(form_);
  EXPECT_FALSE(RestoreWindowPos(form_, ini_, u"None", true));
  EXPECT_FALSE(RestoreWindowNotMinPos(form_, ini_, u"None"));
  EXPECT_FALSE(RestoreWindowLeftTopPos(form_, ini_, u"None", true));
  EXPECT_FALSE(RestoreWindowLeftTopPosIni(form_, ini, u"None", true));
  EXPECT_FALSE(RestoreWindowLeftTopPosIni2(form_, tmp_ / u"absent.ini", u"Main", true));
  EXPECT_FALSE(RestoreWindowMinPos(form_, ini_, u"None", true));
  EXPECT_THROW(RestoreWindowPos(form_, ini_, u"Text", true), rtl::EConvertError);
  EXPECT_THROW(RestoreWindowLeftTopPosIni(form_, ini, u"Text", true), rtl::EConvertError);
  EXPECT_THROW(RestoreWindowPos(form_, ini_, u"Short", true), rtl::EConvertError) << "no field 4";
  EXPECT_THROW(RestoreWindowLeftTopPosIni(form_, ini, u"Short", true), rtl::EConvertError) << "no field 5";
  EXPECT_TRUE(SameRect(BoundsOf(form_), before));
  EXPECT_EQ(form_.WindowState(), TWindowState::wsNormal);
}

TEST_F(PlacementWin, WriteFailureIsShownInGerman) {
  wtarn_test::MessageRecorder messages;
  const String unwritable = tmp_ / u"no such folder\\pos.ini";
  SaveWindowPos(form_, unwritable, u"Main");
  ASSERT_EQ(messages.Shown().size(), 1u);
  EXPECT_EQ(messages.Shown()[0].text, u"Nach " + unwritable +
                                          u" konnte nicht geschrieben werden!\r\r"
                                          u"Möglicherweise bestehen keine Schreibrechte des Anwenders.");
  EXPECT_THROW(SaveWindowMinPos(form_, unwritable, u"Main"), rtl::EIniFileException) << "not caught";
}

TEST_F(PlacementWin, MinimizedPosition) {
  Store(u"MinPos", u"Main", u"40^50^");
  EXPECT_TRUE(RestoreWindowMinPos(form_, ini_, u"Main", false));
  EXPECT_FALSE(IsIconic(form_.Handle())) << "Minimize false";
  EXPECT_TRUE(SaveWindowMinPos(form_, ini_, u"Again"));
  EXPECT_EQ(Stored(u"MinPos", u"Again"), u"40^50^");
  EXPECT_TRUE(RestoreWindowMinPos(form_, ini_, u"Main", true));
  EXPECT_TRUE(IsIconic(form_.Handle()));
  Store(u"MinPos", u"Bad", u"40^");
  EXPECT_THROW(RestoreWindowMinPos(form_, ini_, u"Bad", true), rtl::EConvertError);
}

// A label class of the program's own, treated as a label.
class TitleLabel : public rtl::TLabel {
 public:
  using rtl::TLabel::TLabel;
};

TEST(PlacementTexts, ReplaceCaptionTextVisitsTheFormsComponents) {
  TForm form(nullptr);
  auto label = new rtl::TLabel(&form);
  auto own_label = new TitleLabel(&form);
  auto panel = new rtl::TPanel(&form);
  auto check = new rtl::TCheckBox(&form);
  auto memo = new rtl::TMemo(&form);
  auto item = new rtl::TMenuItem(&form);
  auto button = new rtl::TSpeedButton(&form);
  auto inner = new rtl::TLabel(panel);  // owned by the panel, not the form
  auto list = new rtl::TListBox(&form);
  for (rtl::TWinControl* c : std::initializer_list<rtl::TWinControl*>{label, own_label, panel, check, memo, button, inner, list})
    c->SetParent(&form);
  label->SetCaption(u"%P% und %P%");
  own_label->SetCaption(u"%P%");
  panel->SetCaption(u"%P%");
  check->SetCaption(u"mit %P%");
  memo->SetText(u"%P%\r\n%p%");
  item->Caption = u"%P% öffnen";
  item->Hint = u"öffnet %P%";
  button->SetCaption(u"%P%");
  button->Hint = u"%P% starten";
  inner->SetCaption(u"%P%");
  list->Add(u"%P%");
  list->Hint = u"%P%";

  ReplaceCaptionText(form, u"%P%", u"Tarn");
  EXPECT_EQ(label->Caption(), u"Tarn und Tarn");
  EXPECT_EQ(own_label->Caption(), u"Tarn");
  EXPECT_EQ(panel->Caption(), u"Tarn");
  EXPECT_EQ(check->Caption(), u"mit Tarn");
  EXPECT_EQ(memo->Text(), u"Tarn\r\n%p%") << "case-sensitive";
  EXPECT_EQ(item->Caption, u"Tarn öffnen");
  EXPECT_EQ(item->Hint, u"öffnet Tarn");
  EXPECT_EQ(button->Hint, u"Tarn starten");
  EXPECT_EQ(button->Caption(), u"%P%") << "a speed button's caption stays";
  EXPECT_EQ(inner->Caption(), u"%P%") << "not owned by the form";
  EXPECT_EQ(list->Items(0), u"%P%");
  EXPECT_EQ(list->Hint, u"%P%");
}

}  // namespace
}  // namespace Kv_tools
