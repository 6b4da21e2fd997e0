// The Welcome Page's caption frame: a bar with the plug-in's caption above a client area that
// holds one client frame, which the caption frame then owns.
#pragma once

#include "host/log.h"
#include "toolsapi/toolsapi.h"

namespace host {

class CaptionFrame : public rtl::TFrame, public ToolsAPI::INTAWelcomePageCaptionFrame {
 public:
  CaptionFrame(rtl::TComponent* AOwner, const rtl::String& Caption, const Log& log);
  ~CaptionFrame() override;

  // Offers INTAWelcomePageCaptionFrame.
  bool GetInterface(const GUID& IID, void** Obj) override;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override;
  // A component's interface is not counted: the component lives until it is freed.
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  // Shows AFrame in the client area, filling it.
  void SetClientFrame(rtl::TFrame* AFrame) override;

 private:
  const Log& log_;
  rtl::TPanel* client_;
};

}  // namespace host
