#include "host/services.h"

#include <algorithm>

#include "host/caption_frame.h"

namespace host {

void WelcomePageService::RegisterPlugin(ToolsAPI::INTAWelcomePagePlugin* APlugin) {
  APlugin->AddRef();
  plugins_.push_back(APlugin);
  log_("welcome page:", "RegisterPlugin " + Text(APlugin->GetPluginID()) + " \"" +
                            Text(APlugin->GetPluginName()) + "\"" +
                            (APlugin->GetPluginVisible() ? ", visible" : ", hidden"));
  if (OnChange) OnChange();
}

void WelcomePageService::UnRegisterPlugin(const rtl::String& PluginID) {
  ToolsAPI::INTAWelcomePagePlugin* plugin = Find(PluginID);
  log_("welcome page:", "UnRegisterPlugin " + Text(PluginID) + (plugin ? "" : " (not registered)"));
  if (!plugin) return;
  std::erase(plugins_, plugin);
  if (OnChange) OnChange();
  const ULONG left = plugin->Release();
  log_("welcome page:", left == 0
                            ? "released the plug-in: that was its last reference"
                            : "released the plug-in; " + std::to_string(left) + " references left");
}

ToolsAPI::INTAWelcomePagePlugin* WelcomePageService::Find(const rtl::String& PluginID) const {
  auto it = std::find_if(plugins_.begin(), plugins_.end(), [&](ToolsAPI::INTAWelcomePagePlugin* p) {
    return p->GetPluginID() == PluginID;
  });
  return it == plugins_.end() ? nullptr : *it;
}

rtl::TFrame* WelcomePageService::CreateCaptionFrame(const rtl::String& PluginID,
                                                    const rtl::String& Caption,
                                                    rtl::TComponent* AOwner) {
  log_("welcome page:", "CreateCaptionFrame " + Text(PluginID) + " \"" + Text(Caption) + "\"" +
                            (AOwner ? "" : ", no owner"));
  return new CaptionFrame(AOwner, Caption, log_);
}

rtl::TColor StyleServices::GetSystemColor(rtl::TColor Color) {
  return Color == rtl::clWindow ? kThemeWindow : rtl::ColorToRGB(Color);
}

bool ActionServices::OpenProject(const rtl::String& ProjName, bool NewProjGroup) {
  log_("actions:", "OpenProject \"" + Text(ProjName) + "\", new project group " +
                       (NewProjGroup ? "yes" : "no"));
  if (OnOpen) OnOpen(ProjName);
  return true;
}

HRESULT IdeServices::QueryInterface(REFIID iid, void** obj) {
  *obj = nullptr;
  if (iid == IID_IUnknown) *obj = static_cast<IUnknown*>(this);
  if (iid == ToolsAPI::IID_IOTAIDEThemingServices)
    *obj = static_cast<ToolsAPI::IOTAIDEThemingServices*>(&theming_);
  if (iid == ToolsAPI::IID_IOTAActionServices && offer_actions_)
    *obj = static_cast<ToolsAPI::IOTAActionServices*>(&actions_);
  return *obj ? S_OK : E_NOINTERFACE;
}

}  // namespace host
