// TMainFrame: layout, construction and the companion's copy-data requests.
#include "view/main_frame.h"

#include <string>

#include "kv_tools/paths.h"
#include "rtl/ini_file.h"
#include "toolsapi/toolsapi.h"

namespace WTarnView {

bool ProgLoaded = false;
String TarnIniName;
String TarnProg;
std::function<void(unsigned)> FrameSleep = [](unsigned ms) { Sleep(ms); };
std::function<void(HWND)> BeforeEmbedding;

void Shutdown() {
  TarnIniName.clear();
  TarnProg.clear();
}

namespace {

constexpr ULONG_PTR kOpenProjectRequest = 10023;

// The companion's settings file under the application-data folder (relative when unknown).
String TarnIniNameFor(const String& appData) {
  return Kv_tools::chkPath(appData) + u"morvane\\TARN\\TARN.INI";
}

// The text of a copy-data record: UTF-16 up to the first zero, never past its byte count.
String CopyDataText(const COPYDATASTRUCT& data) {
  if (!data.lpData) return String();
  const auto* text = static_cast<const char16_t*>(data.lpData);
  const size_t limit = data.cbData / sizeof(char16_t);
  size_t n = 0;
  while (n < limit && text[n] != u'\0') ++n;
  return String(text, n);
}

String EnvironmentVariable(const wchar_t* name) {
  std::wstring value(256, L'\0');
  DWORD n = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  if (n >= value.size()) {
    value.resize(n);
    n = GetEnvironmentVariableW(name, value.data(), n);
  }
  return rtl::FromW(value.data(), n < value.size() ? n : 0);
}

// With the IDE's theming switched on, Panel1 takes the theme's window colour.
void ApplyIdeTheme(rtl::TPanel& panel) {
  auto theming = ToolsAPI::Supports<ToolsAPI::IOTAIDEThemingServices>(
      ToolsAPI::BorlandIDEServices, ToolsAPI::IID_IOTAIDEThemingServices);
  if (!theming || !theming->IDEThemingEnabled()) return;
  panel.StyleElements &= ~rtl::seClient;
  panel.SetParentBackground(false);
  if (ToolsAPI::TCustomStyleServices* style = theming->StyleServices())
    panel.SetColor(style->GetSystemColor(rtl::clWindow));
}

}  // namespace

TMainFrame::TMainFrame(rtl::TComponent* AOwner) : rtl::TFrame(AOwner, L"TMainFrame") {
  SetBounds(0, 0, 822, 363);
  SetColor(rtl::clWindow);
  SetFont({u"Segoe UI", -12, rtl::clWindowText});

  Panel1 = new rtl::TPanel(this);
  Panel1->SetBevelOuter(rtl::TBevelCut::bvNone);
  Panel1->SetColor(rtl::clWindow);
  Panel1->StyleElements = rtl::seFont | rtl::seBorder;
  Panel1->OnResize = [this](rtl::TObject* sender) { Panel1Resize(sender); };
  Panel1->SetParent(this);
  Panel1->SetAlign(rtl::TAlign::alClient);

  Panel2 = new rtl::TPanel(this);
  Panel2->SetParent(Panel1);
  Panel2->SetHeight(28);
  Panel2->SetAlign(rtl::TAlign::alTop);

  bnShowPlug = new rtl::TSpeedButton(this);
  bnShowPlug->SetVisible(false);
  bnShowPlug->SetParent(Panel2);
  bnShowPlug->SetBounds(1, 1, 97, 26);
  bnShowPlug->SetAlign(rtl::TAlign::alLeft);
  bnShowPlug->SetCaption(u"Show PlugIn");
  bnShowPlug->OnClick = [this](rtl::TObject* sender) { bnShowPlugClick(sender); };

  Timer1 = new rtl::TTimer(this);
  Timer1->SetEnabled(false);
  Timer1->SetInterval(3000);
  Timer1->OnTimer = [this](rtl::TObject* sender) { Timer1Timer(sender); };

  ApplyIdeTheme(*Panel1);
  TarnIniName = TarnIniNameFor(EnvironmentVariable(L"APPDATA"));
  TarnProg = Kv_tools::RemoveSlash(
      rtl::IniFile(TarnIniName)
          .ReadString(u"PlugInSettings", u"Programlocation",
                      Kv_tools::chkPath(Kv_tools::AppPath()) + u"TarnPlugIn.exe"));
  Timer1->SetEnabled(true);
}

TMainFrame::~TMainFrame() {
  StopProg();
  EndBusyCompanions();
}

LRESULT TMainFrame::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (WMEmbeddingDone(Msg, WParam)) return 0;
  if (Msg != WM_COPYDATA) return rtl::TFrame::WndProc(Msg, WParam, LParam);
  TWMCopyData message{Msg, reinterpret_cast<HWND>(WParam),
                      reinterpret_cast<const COPYDATASTRUCT*>(LParam), 0};
  WMCopyData(message);
  return message.Result;
}

void TMainFrame::WMCopyData(TWMCopyData& Message) {
  Message.Result = 0;
  auto actions = ToolsAPI::Supports<ToolsAPI::IOTAActionServices>(ToolsAPI::BorlandIDEServices,
                                                                  ToolsAPI::IID_IOTAActionServices);
  if (!actions || !Message.CopyDataStruct) return;
  if (Message.CopyDataStruct->dwData == kOpenProjectRequest)
    actions->OpenProject(CopyDataText(*Message.CopyDataStruct), true);
}

}  // namespace WTarnView
