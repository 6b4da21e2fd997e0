#include "package/creator.h"

#include <utility>

#include "package/constants.h"
#include "view/main_frame.h"

namespace WTarnCreator {
namespace {

constexpr char16_t kPluginID[] = u"WTarn";

}  // namespace

TWPDemoPlugInCreator::TWPDemoPlugInCreator() : FIconIndex(2) {}

TWPDemoPlugInCreator::~TWPDemoPlugInCreator() { DestroyView(); }

HRESULT TWPDemoPlugInCreator::QueryInterface(REFIID IID, void** Obj) {
  if (IID == IID_IUnknown || IID == ToolsAPI::IID_INTAWelcomePagePlugin ||
      IID == ToolsAPI::IID_INTAWelcomePageContentPluginCreator) {
    *Obj = static_cast<ToolsAPI::INTAWelcomePageContentPluginCreator*>(this);
    AddRef();
    return S_OK;
  }
  *Obj = nullptr;
  return E_NOINTERFACE;
}

ULONG TWPDemoPlugInCreator::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&ref_count_));
}

ULONG TWPDemoPlugInCreator::Release() {
  const LONG left = InterlockedDecrement(&ref_count_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

String TWPDemoPlugInCreator::GetPluginID() { return kPluginID; }

String TWPDemoPlugInCreator::GetPluginName() { return WTarnConstants::sPluginName(); }

bool TWPDemoPlugInCreator::GetPluginVisible() { return true; }

rtl::TFrame* TWPDemoPlugInCreator::GetView() { return FWPPluginView; }

rtl::TFrame* TWPDemoPlugInCreator::CreateView() {
  if (!FWPPluginView && ToolsAPI::WelcomePagePluginService)
    FWPPluginView = ToolsAPI::WelcomePagePluginService->CreateCaptionFrame(
        kPluginID, WTarnConstants::sPluginName(), nullptr);
  void* caption = nullptr;
  if (rtl::Supports(FWPPluginView, ToolsAPI::IID_INTAWelcomePageCaptionFrame, &caption)) {
    ToolsAPI::Ref<ToolsAPI::INTAWelcomePageCaptionFrame> frame(
        static_cast<ToolsAPI::INTAWelcomePageCaptionFrame*>(caption));
    frame->SetClientFrame(new WTarnView::TMainFrame(FWPPluginView));
    FIconIndex = 3;
  }
  return FWPPluginView;
}

void TWPDemoPlugInCreator::DestroyView() { delete std::exchange(FWPPluginView, nullptr); }

ToolsAPI::TGraphicArray TWPDemoPlugInCreator::GetIcon() { return {}; }

int TWPDemoPlugInCreator::GetIconIndex() { return FIconIndex; }

void TWPDemoPlugInCreator::SetIconIndex(int Value) { FIconIndex = Value; }

void TWPDemoPlugInCreator::PlugInStartup() {
  ToolsAPI::INTAWelcomePagePluginService* service = ToolsAPI::WelcomePagePluginService;
  if (!service) return;
  // Held while the service takes its own reference; afterwards the service's is the only one.
  ToolsAPI::Ref<TWPDemoPlugInCreator> creator(new TWPDemoPlugInCreator);
  creator->AddRef();
  service->RegisterPlugin(creator.get());
}

void TWPDemoPlugInCreator::PlugInFinish() {
  if (ToolsAPI::WelcomePagePluginService)
    ToolsAPI::WelcomePagePluginService->UnRegisterPlugin(kPluginID);
}

void Register() { TWPDemoPlugInCreator::PlugInStartup(); }

}  // namespace WTarnCreator
