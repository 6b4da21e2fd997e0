// The stand-in IDE's services: the Welcome Page's plug-in list and the IDE services object
// with its theming and action services. They live as long as the IDE; their references are
// not counted.
#pragma once

#include <functional>
#include <vector>

#include "host/log.h"
#include "toolsapi/toolsapi.h"

namespace host {

// IUnknown for an object that lives as long as the IDE and offers the interface I, asked for
// by Iid (or only as IUnknown when I has no identifier).
template <class I, const GUID* Iid = nullptr>
class Uncounted : public I {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override {
    *obj = iid == IID_IUnknown || (Iid && iid == *Iid) ? static_cast<I*>(this) : nullptr;
    return *obj ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

// The Welcome Page's plug-ins: it holds one reference to each registered plug-in.
class WelcomePageService : public Uncounted<ToolsAPI::INTAWelcomePagePluginService> {
 public:
  explicit WelcomePageService(const Log& log) : log_(log) {}
  void RegisterPlugin(ToolsAPI::INTAWelcomePagePlugin* APlugin) override;
  void UnRegisterPlugin(const rtl::String& PluginID) override;
  // A new caption frame: the caption above a client area.
  rtl::TFrame* CreateCaptionFrame(const rtl::String& PluginID, const rtl::String& Caption,
                                  rtl::TComponent* AOwner) override;

  const std::vector<ToolsAPI::INTAWelcomePagePlugin*>& Plugins() const { return plugins_; }
  // The plug-in with this identifier, or null.
  ToolsAPI::INTAWelcomePagePlugin* Find(const rtl::String& PluginID) const;
  std::function<void()> OnChange;

 private:
  const Log& log_;
  std::vector<ToolsAPI::INTAWelcomePagePlugin*> plugins_;
};

// The theme's colours: a dark window colour; every other colour as the system has it.
class StyleServices : public ToolsAPI::TCustomStyleServices {
 public:
  static constexpr rtl::TColor kThemeWindow = 0x002B2B2B;
  rtl::TColor GetSystemColor(rtl::TColor Color) override;
};

class ThemingServices
    : public Uncounted<ToolsAPI::IOTAIDEThemingServices, &ToolsAPI::IID_IOTAIDEThemingServices> {
 public:
  explicit ThemingServices(bool enabled) : enabled_(enabled) {}
  bool IDEThemingEnabled() override { return enabled_; }
  ToolsAPI::TCustomStyleServices* StyleServices() override { return &style_; }

 private:
  bool enabled_;
  host::StyleServices style_;
};

// Opening a project: a transcript line, and OnOpen shows the request in the page.
class ActionServices
    : public Uncounted<ToolsAPI::IOTAActionServices, &ToolsAPI::IID_IOTAActionServices> {
 public:
  explicit ActionServices(const Log& log) : log_(log) {}
  bool OpenProject(const rtl::String& ProjName, bool NewProjGroup) override;
  std::function<void(const rtl::String&)> OnOpen;

 private:
  const Log& log_;
};

// The IDE services object: the theming service always, the action service when offered.
class IdeServices : public IUnknown {
 public:
  IdeServices(const Log& log, bool theming, bool actions)
      : theming_(theming), actions_(log), offer_actions_(actions) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  ActionServices& Actions() { return actions_; }

 private:
  ThemingServices theming_;
  ActionServices actions_;
  bool offer_actions_;
};

}  // namespace host
