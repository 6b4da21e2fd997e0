#include "host/caption_frame.h"

namespace host {

CaptionFrame::CaptionFrame(rtl::TComponent* AOwner, const rtl::String& Caption, const Log& log)
    : rtl::TFrame(AOwner, L"TWelcomePageCaptionFrame"), log_(log) {
  SetColor(rtl::clBtnFace);
  SetFont({u"Segoe UI", -13, rtl::clWindowText});
  auto bar = new rtl::TPanel(this);
  bar->SetBevelOuter(rtl::TBevelCut::bvNone);
  bar->SetCaption(Caption);
  bar->SetParent(this);
  bar->SetHeight(28);
  bar->SetAlign(rtl::TAlign::alTop);
  client_ = new rtl::TPanel(this);
  client_->SetBevelOuter(rtl::TBevelCut::bvNone);
  client_->SetParent(this);
  client_->SetAlign(rtl::TAlign::alClient);
}

CaptionFrame::~CaptionFrame() { log_("caption frame:", "being freed, with its client frame"); }

bool CaptionFrame::GetInterface(const GUID& IID, void** Obj) {
  *Obj = IID == ToolsAPI::IID_INTAWelcomePageCaptionFrame
             ? static_cast<ToolsAPI::INTAWelcomePageCaptionFrame*>(this)
             : nullptr;
  return *Obj != nullptr;
}

HRESULT CaptionFrame::QueryInterface(REFIID iid, void** obj) {
  return GetInterface(iid, obj) ? S_OK : E_NOINTERFACE;
}

void CaptionFrame::SetClientFrame(rtl::TFrame* AFrame) {
  AFrame->SetParent(client_);
  AFrame->SetAlign(rtl::TAlign::alClient);
  log_("caption frame:", "SetClientFrame: " + ClassOf(AFrame->Handle()) + " " +
                             Hex(reinterpret_cast<uintptr_t>(AFrame->Handle())) +
                             " fills the client area");
}

}  // namespace host
