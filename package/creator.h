// WTarnCreator: the object that the IDE's Welcome Page knows the plug-in by, and Register.
#pragma once

#include <cstdint>

#include "toolsapi/toolsapi.h"

namespace WTarnCreator {

using rtl::String;

// The plug-in "WTarn" ("Tarn"). Reference-counted: the Welcome Page service holds the only
// reference, and the last Release frees the creator and with it the view. Its view is a
// caption frame from the Welcome Page service holding a WTarnView::TMainFrame.
class KV_API TWPDemoPlugInCreator : public ToolsAPI::INTAWelcomePageContentPluginCreator {
 public:
  // Icon index 2, no view, no references yet.
  TWPDemoPlugInCreator();
  // Frees the view (DestroyView).
  virtual ~TWPDemoPlugInCreator();

  // Answers IUnknown and both plug-in interfaces.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID IID, void** Obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  String GetPluginID() override;     // "WTarn"
  String GetPluginName() override;   // sPluginName: "Tarn"
  bool GetPluginVisible() override;  // true
  // The view as it stands; null before the first CreateView and after DestroyView.
  rtl::TFrame* GetView() override;
  // Gets a caption frame from the service when there is no view yet; when the frame offers the
  // caption-frame interface, installs a new TMainFrame as its client and sets the icon index
  // to 3. Returns the view.
  rtl::TFrame* CreateView() override;
  // Frees the view (and the main frames in it); nothing when there is none.
  void DestroyView() override;
  ToolsAPI::TGraphicArray GetIcon() override;  // always empty
  int GetIconIndex() override;
  void SetIconIndex(int Value) override;

  // Registers a new creator with the Welcome Page service; nothing without the service.
  static void PlugInStartup();
  // Unregisters "WTarn" from the Welcome Page service; nothing without the service.
  static void PlugInFinish();

 private:
  rtl::TFrame* FWPPluginView = nullptr;
  int32_t FIconIndex;
  LONG ref_count_ = 0;
};

// Called once by the IDE after loading the package: TWPDemoPlugInCreator::PlugInStartup.
extern "C" KV_API void Register();

}  // namespace WTarnCreator
