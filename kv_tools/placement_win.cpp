#include <windows.h>

#include "kv_tools/fields.h"
#include "kv_tools/globals.h"
#include "kv_tools/message_box.h"
#include "kv_tools/placement.h"
#include "kv_tools/strings.h"
#include "kv_tools/sysinfo.h"
#include "rtl/stdctrls_win.h"

namespace Kv_tools {
namespace {

using rtl::TForm;
using rtl::TMonitor;
using rtl::TWindowState;

constexpr char16_t kMinPosSection[] = u"MinPos";

String SectionOf(const TMonitor& monitor) {
  return WindowPosSection(monitor.Width(), monitor.Height(), GetThisComputerName());
}

WINDOWPLACEMENT PlacementOf(const TForm& form) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(form.Handle(), &placement);
  return placement;
}

String RecordOf(const TForm& form) {
  const WINDOWPLACEMENT placement = PlacementOf(form);
  const RECT& r = placement.rcNormalPosition;
  return WindowPosRecord({r.left, r.top, r.right, r.bottom}, static_cast<int>(placement.showCmd),
                         form.WindowState() == TWindowState::wsNormal, form.Left(), form.Top());
}

void ShowWriteFailure(const String& iniName) {
  ShowMessage(u"Nach " + iniName + u" konnte nicht geschrieben werden!\r\r"
              u"Möglicherweise bestehen keine Schreibrechte des Anwenders.");
}

void SaveToMemIni(rtl::MemIniFile& memIni, TForm& form, const String& key) {
  try {
    memIni.WriteString(SectionOf(form.Monitor()), key, RecordOf(form));
  } catch (...) {
    ShowWriteFailure(AppIniName);
  }
}

PlacementScreen ScreenAround(const WindowRect& stored) {
  const rtl::TScreen& screen = rtl::Screen();
  const TMonitor nearest = screen.MonitorFromRect({stored.Left, stored.Top, stored.Right, stored.Bottom});
  const RECT wa = screen.WorkAreaRect();
  return {nearest.Width(), nearest.Height(), screen.DesktopLeft(), screen.DesktopWidth(), screen.Width(),
          {wa.left, wa.top, wa.right, wa.bottom}};
}

void ApplyState(TForm& form, int showCmd, bool minimizedAsNormal) {
  switch (StoredStateToApply(showCmd, minimizedAsNormal)) {
    case StoredState::Normal: form.SetWindowState(TWindowState::wsNormal); break;
    case StoredState::Minimized: form.SetWindowState(TWindowState::wsMinimized); break;
    case StoredState::Maximized: form.SetWindowState(TWindowState::wsMaximized); break;
    case StoredState::Keep: break;
  }
}

// How a restore turns the stored record into bounds.
enum class Fit { WholeRecord, PositionOnly, ShiftedByWorkArea };

struct RestoreRule {
  Fit fit;
  bool applyState;
  bool minimizedAsNormal;
};

// Restores the form from Key of the section for `monitor` in `ini`; every field is read
// before the form is touched.
bool RestoreFrom(TForm& form, rtl::CustomIniFile& ini, const TMonitor& monitor, const String& key,
                 RestoreRule rule) {
  const String value = ini.ReadString(SectionOf(monitor), key, u"");
  if (!HasWindowPosRecord(value)) return false;
  const StoredWindowPos pos = rule.fit == Fit::ShiftedByWorkArea
      ? StoredWindowPos{WindowPosField(value, 1), WindowPosField(value, 2), 0, 0, WindowPosField(value, 5)}
      : StoredWindowPos{WindowPosField(value, 1), WindowPosField(value, 2), WindowPosField(value, 3),
                        WindowPosField(value, 4), WindowPosField(value, 5)};
  const PlacementScreen screen = ScreenAround({pos.Left, pos.Top, pos.Right, pos.Bottom});
  WindowBounds b;
  switch (rule.fit) {
    case Fit::WholeRecord: b = ClampWindowPos(pos, screen); break;
    case Fit::PositionOnly: b = ClampWindowLeftTopPos(pos, screen, form.Width(), form.Height()); break;
    case Fit::ShiftedByWorkArea: b = ShiftWindowLeftTopPos(pos.Left, pos.Top, screen, form.Width(), form.Height()); break;
  }
  form.SetBounds(b.Left, b.Top, b.Width, b.Height);
  if (rule.applyState) ApplyState(form, pos.ShowCmd, rule.minimizedAsNormal);
  return true;
}

}  // namespace

void SaveWindowPos(TForm& Form, const String& IniName, const String& Key) {
  try {
    rtl::IniFile ini(IniName);
    ini.WriteString(SectionOf(rtl::Screen().PrimaryMonitor()), Key, RecordOf(Form));
  } catch (...) {
    ShowWriteFailure(IniName);
  }
}

void SaveWindowPosMIni(TForm& Form, const String&, const String& Key, rtl::MemIniFile& MemIni) {
  SaveToMemIni(MemIni, Form, Key);
}

void IniSaveWindowPos(rtl::MemIniFile& MemIni, TForm& Form, const String&, const String& Key) {
  SaveToMemIni(MemIni, Form, Key);
}

bool RestoreWindowPos(TForm& Form, const String& IniName, const String& Key, bool ApplyState) {
  rtl::IniFile ini(IniName);
  return RestoreFrom(Form, ini, rtl::Screen().PrimaryMonitor(), Key, {Fit::WholeRecord, ApplyState, false});
}

bool RestoreWindowNotMinPos(TForm& Form, const String& IniName, const String& Key) {
  rtl::IniFile ini(IniName);
  return RestoreFrom(Form, ini, Form.Monitor(), Key, {Fit::WholeRecord, true, true});
}

bool RestoreWindowLeftTopPos(TForm& Form, const String& IniName, const String& Key, bool ApplyState) {
  rtl::IniFile ini(IniName);
  return RestoreFrom(Form, ini, Form.Monitor(), Key, {Fit::PositionOnly, ApplyState, false});
}

bool RestoreWindowLeftTopPosIni(TForm& Form, rtl::CustomIniFile& IniObject, const String& Key, bool ApplyState) {
  return RestoreFrom(Form, IniObject, Form.Monitor(), Key, {Fit::ShiftedByWorkArea, ApplyState, false});
}

bool RestoreWindowLeftTopPosIni2(TForm& Form, const String& IniName, const String& Key, bool ApplyState) {
  rtl::IniFile ini(IniName);
  return RestoreWindowLeftTopPosIni(Form, ini, Key, ApplyState);
}

bool SaveWindowMinPos(TForm& Form, const String& IniName, const String& Key) {
  const POINT p = PlacementOf(Form).ptMinPosition;
  rtl::IniFile ini(IniName);
  ini.WriteString(kMinPosSection, Key, rtl::IntToStr(p.x) + u"^" + rtl::IntToStr(p.y) + u"^");
  return true;
}

bool RestoreWindowMinPos(TForm& Form, const String& IniName, const String& Key, bool Minimize) {
  rtl::IniFile ini(IniName);
  const String value = ini.ReadString(kMinPosSection, Key, u"");
  if (!HasWindowPosRecord(value)) return false;
  const POINT p{WindowPosField(value, 1), WindowPosField(value, 2)};
  WINDOWPLACEMENT placement = PlacementOf(Form);
  placement.ptMinPosition = p;
  placement.flags = WPF_SETMINPOSITION;
  if (Minimize) placement.showCmd = SW_MINIMIZE;
  SetWindowPlacement(Form.Handle(), &placement);
  return true;
}

void ReplaceCaptionText(TForm& Form, const String& OldText, const String& NewText) {
  auto replaced = [&](const String& s) { return ReplaceStr(s, OldText, NewText, true); };
  for (int i = 0; i < Form.ComponentCount(); ++i) {
    rtl::TComponent* c = Form.Components(i);
    if (auto memo = dynamic_cast<rtl::TMemo*>(c)) {
      memo->SetText(replaced(memo->Text()));
    } else if (auto item = dynamic_cast<rtl::TMenuItem*>(c)) {
      item->Hint = replaced(item->Hint);
      item->Caption = replaced(item->Caption);
    } else if (auto button = dynamic_cast<rtl::TSpeedButton*>(c)) {
      button->Hint = replaced(button->Hint);
    } else if (dynamic_cast<rtl::TLabel*>(c) || dynamic_cast<rtl::TPanel*>(c) || dynamic_cast<rtl::TCheckBox*>(c)) {
      auto control = static_cast<rtl::TWinControl*>(c);
      control->SetCaption(replaced(control->Caption()));
    }
  }
}

}  // namespace Kv_tools
