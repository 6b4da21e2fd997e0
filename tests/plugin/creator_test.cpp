#include "package/creator.h"

#include "tests/plugin/plugin_fixture.h"

namespace plugin_test {
namespace {

using WTarnCreator::TWPDemoPlugInCreator;

// A creator held by the test as the Welcome Page would hold it.
ToolsAPI::Ref<TWPDemoPlugInCreator> NewCreator() {
  auto* creator = new TWPDemoPlugInCreator;
  creator->AddRef();
  return ToolsAPI::Ref<TWPDemoPlugInCreator>(creator);
}

TEST(PluginCreator, IdentityAndInterfaces) {
  auto creator = NewCreator();
  void* as_plugin = nullptr;
  void* as_creator = nullptr;
  void* other = reinterpret_cast<void*>(1);
  ASSERT_EQ(creator->QueryInterface(ToolsAPI::IID_INTAWelcomePagePlugin, &as_plugin), S_OK);
  ASSERT_EQ(creator->QueryInterface(ToolsAPI::IID_INTAWelcomePageContentPluginCreator, &as_creator),
            S_OK);
  EXPECT_EQ(as_plugin, as_creator) << "one table of operations serves both";
  EXPECT_EQ(creator->QueryInterface(ToolsAPI::IID_INTAWelcomePageCaptionFrame, &other),
            E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(creator->Release(), 2u);  // the two references just taken
  EXPECT_EQ(creator->Release(), 1u);

  EXPECT_EQ(creator->GetPluginID(), u"WTarn");
  EXPECT_EQ(creator->GetPluginName(), u"Tarn");
  EXPECT_TRUE(creator->GetPluginVisible());
  EXPECT_TRUE(creator->GetIcon().empty());
  EXPECT_EQ(creator->GetIconIndex(), 2);
  creator->SetIconIndex(7);
  EXPECT_EQ(creator->GetIconIndex(), 7);
}

TEST(PluginCreator, ViewLifecycle) {
  FakeWelcomePage page;
  auto creator = NewCreator();
  EXPECT_EQ(creator->GetView(), nullptr) << "before any CreateView";

  rtl::TFrame* view = creator->CreateView();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(page.calls, std::vector<std::string>{"caption frame WTarn \"Tarn\" no owner"});
  auto* caption = static_cast<FakeCaptionFrame*>(view);
  ASSERT_EQ(caption->clients.size(), 1u);
  EXPECT_NE(dynamic_cast<WTarnView::TMainFrame*>(caption->clients[0]), nullptr);
  EXPECT_EQ(caption->clients[0]->Owner(), view) << "the caption frame owns the main frame";
  EXPECT_EQ(creator->GetIconIndex(), 3);
  EXPECT_EQ(creator->GetView(), view);

  creator->SetIconIndex(2);
  EXPECT_EQ(creator->CreateView(), view) << "a second CreateView reuses the caption frame";
  EXPECT_EQ(page.calls.size(), 1u);
  EXPECT_EQ(caption->clients.size(), 2u) << "... but installs a further main frame";
  EXPECT_EQ(creator->GetIconIndex(), 3);

  creator->DestroyView();
  EXPECT_EQ(page.frames_alive, 0);
  EXPECT_EQ(creator->GetView(), nullptr);
  creator->DestroyView();  // nothing left to free
  EXPECT_EQ(page.frames_alive, 0);
}

TEST(PluginCreator, CaptionFrameWithoutTheInterface) {
  FakeWelcomePage page(/*frames_offer_interface=*/false);
  auto creator = NewCreator();
  rtl::TFrame* view = creator->CreateView();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(static_cast<FakeCaptionFrame*>(view)->clients.empty());
  EXPECT_EQ(creator->GetIconIndex(), 2);
}

TEST(PluginCreator, RegistrationAndTheLastReference) {
  FakeWelcomePage page;
  TWPDemoPlugInCreator::PlugInStartup();
  ASSERT_EQ(page.plugins.size(), 1u);
  EXPECT_EQ(page.plugins[0]->GetPluginName(), u"Tarn");
  auto creator = ToolsAPI::Supports<ToolsAPI::INTAWelcomePageContentPluginCreator>(
      page.plugins[0], ToolsAPI::IID_INTAWelcomePageContentPluginCreator);
  ASSERT_TRUE(creator);
  creator->CreateView();
  creator = {};
  EXPECT_EQ(page.frames_alive, 1);

  TWPDemoPlugInCreator::PlugInFinish();
  EXPECT_EQ(page.calls.back(), "unregister WTarn -> 0 left")
      << "the service held the only reference";
  EXPECT_EQ(page.frames_alive, 0) << "the last release frees the view";
}

TEST(PluginCreator, WithoutTheWelcomePageService) {
  ASSERT_EQ(ToolsAPI::WelcomePagePluginService, nullptr);
  TWPDemoPlugInCreator::PlugInStartup();  // nothing to register with
  TWPDemoPlugInCreator::PlugInFinish();   // IDE shutting down: nothing to unregister
  auto creator = NewCreator();
  EXPECT_EQ(creator->CreateView(), nullptr);
  EXPECT_EQ(creator->GetIconIndex(), 2);
}

}  // namespace
}  // namespace plugin_test
