// The IDE's extension interfaces that the package uses, and the two service references that
// the IDE fills in while it runs. COM-style: every interface derives from IUnknown and is
// known by its GUID; frames are the runtime's TFrame objects.
//
// The references live in toolsapi.dll, which the IDE and its packages share: the IDE sets
// them before it loads packages and clears them when it shuts down, so either may be null.
#pragma once

#ifdef _WIN32
#include <unknwn.h>

#include <utility>
#include <vector>

#include "rtl/controls_win.h"

#if defined(WTARN_BUILDING_TOOLSAPI)
#define TOOLSAPI_API __declspec(dllexport)
#else
#define TOOLSAPI_API __declspec(dllimport)
#endif

namespace ToolsAPI {

using rtl::String;

inline constexpr GUID IID_INTAWelcomePagePlugin = {
    0x1E2E6E47, 0xB4C5, 0x49A6, {0x80, 0x18, 0x93, 0x8B, 0x5C, 0xC1, 0xED, 0xFE}};
inline constexpr GUID IID_INTAWelcomePageContentPluginCreator = {
    0x60AB2EA1, 0x9521, 0x4A7C, {0xBE, 0x7F, 0x12, 0x53, 0x08, 0xAF, 0x20, 0xE5}};
inline constexpr GUID IID_INTAWelcomePageCaptionFrame = {
    0x2E6BCE6D, 0x60BB, 0x42C5, {0xB2, 0x4A, 0x30, 0xC4, 0x09, 0x76, 0xF2, 0x02}};
inline constexpr GUID IID_IOTAIDEThemingServices = {
    0xDEAD2647, 0x9B2C, 0x4084, {0xA6, 0x1E, 0x1E, 0x69, 0xA9, 0x17, 0x96, 0x37}};
inline constexpr GUID IID_IOTAActionServices = {
    0xF17A7BC9, 0xE07D, 0x11D1, {0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};

// Icons a plug-in offers to the Welcome Page.
using TGraphicArray = std::vector<HBITMAP>;

// A plug-in of the Welcome Page: its identity.
class INTAWelcomePagePlugin : public IUnknown {
 public:
  virtual String GetPluginID() = 0;
  virtual String GetPluginName() = 0;
  virtual bool GetPluginVisible() = 0;
};

// A plug-in that builds content for the Welcome Page. The view belongs to the plug-in.
class INTAWelcomePageContentPluginCreator : public INTAWelcomePagePlugin {
 public:
  virtual rtl::TFrame* GetView() = 0;
  virtual rtl::TFrame* CreateView() = 0;
  virtual void DestroyView() = 0;
  virtual TGraphicArray GetIcon() = 0;
  virtual int GetIconIndex() = 0;
  virtual void SetIconIndex(int Value) = 0;
};

// The IDE's frame that shows a plug-in's caption above one client frame.
class INTAWelcomePageCaptionFrame : public IUnknown {
 public:
  virtual void SetClientFrame(rtl::TFrame* AFrame) = 0;
};

// The Welcome Page's plug-in list.
class INTAWelcomePagePluginService : public IUnknown {
 public:
  // Adds the plug-in; the service keeps its own reference to it.
  virtual void RegisterPlugin(INTAWelcomePagePlugin* APlugin) = 0;
  // Removes the plug-in with this identifier and releases the service's reference to it.
  virtual void UnRegisterPlugin(const String& PluginID) = 0;
  // A new caption frame showing Caption; AOwner (may be null) frees it, else the caller.
  virtual rtl::TFrame* CreateCaptionFrame(const String& PluginID, const String& Caption,
                                          rtl::TComponent* AOwner) = 0;
};

// The active IDE theme's colours.
class TCustomStyleServices {
 public:
  // The theme's colour for a system colour such as rtl::clWindow.
  virtual rtl::TColor GetSystemColor(rtl::TColor Color) = 0;

 protected:
  ~TCustomStyleServices() = default;
};

class IOTAIDEThemingServices : public IUnknown {
 public:
  virtual bool IDEThemingEnabled() = 0;
  virtual TCustomStyleServices* StyleServices() = 0;
};

class IOTAActionServices : public IUnknown {
 public:
  // Opens a project, in a new project group when NewProjGroup; true when it was opened.
  virtual bool OpenProject(const String& ProjName, bool NewProjGroup) = 0;
};

TOOLSAPI_API extern INTAWelcomePagePluginService* WelcomePagePluginService;
// The IDE services object: ask it for a service by the service's GUID (QueryInterface).
TOOLSAPI_API extern IUnknown* BorlandIDEServices;

// One counted reference to an interface, released when the holder goes.
template <class I>
class Ref {
 public:
  Ref() = default;
  explicit Ref(I* p) : p_(p) {}
  Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  Ref& operator=(Ref&& other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  ~Ref() {
    if (p_) p_->Release();
  }
  I* get() const { return p_; }
  I* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  I* p_ = nullptr;
};

// The interface IID of an object (may be null), or an empty reference when it has none.
// Example: auto actions = Supports<IOTAActionServices>(BorlandIDEServices, IID_IOTAActionServices);
template <class I>
Ref<I> Supports(IUnknown* Instance, const GUID& IID) {
  void* p = nullptr;
  if (!Instance || FAILED(Instance->QueryInterface(IID, &p))) return Ref<I>();
  return Ref<I>(static_cast<I*>(p));
}

}  // namespace ToolsAPI
#endif
