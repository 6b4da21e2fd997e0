#include "package/package.h"

#include <vector>

#include "package/constants.h"
#include "tests/client/client.h"
#include "tests/plugin/plugin_fixture.h"

namespace plugin_test {
namespace {

HMODULE Package() { return GetModuleHandleW(L"WTarnD11.dll"); }

// A value of the package's version resource ("\\" gives the fixed part).
template <class T>
const T* VersionValue(const std::vector<BYTE>& info, const wchar_t* path) {
  void* value = nullptr;
  UINT len = 0;
  return VerQueryValueW(info.data(), path, &value, &len) ? static_cast<const T*>(value) : nullptr;
}

TEST(PackageIdentity, Resources) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(Package(), path, MAX_PATH);
  std::vector<BYTE> info(GetFileVersionInfoSizeW(path, nullptr));
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()));
  auto fixed = VersionValue<VS_FIXEDFILEINFO>(info, L"\\");
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00010001u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);
  auto translation = VersionValue<WORD>(info, L"\\VarFileInfo\\Translation");
  ASSERT_NE(translation, nullptr);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1252);
  struct Row {
    const wchar_t *key, *value;
  } strings[] = {
      {L"InternalName", L"Tarn Welcome Page Plugin für Delphi 11.3"},
      {L"FileVersion", L"1.0.1.1"},
      {L"ProductVersion", L"1.0.0.0"},
  };
  for (const Row& r : strings) {
    auto value = VersionValue<wchar_t>(
        info, (std::wstring(L"\\StringFileInfo\\040904E4\\") + r.key).c_str());
    ASSERT_NE(value, nullptr);
    EXPECT_STREQ(value, r.value);
  }

  HRSRC description = FindResourceW(Package(), L"DESCRIPTION", MAKEINTRESOURCEW(10));  // RT_RCDATA
  ASSERT_NE(description, nullptr);
  EXPECT_STREQ(static_cast<const wchar_t*>(LockResource(LoadResource(Package(), description))),
               L"--- Morvane Tarn PlugIn für Delphi 11 Welcome Page");

  wchar_t name[16];
  EXPECT_EQ(LoadStringW(Package(), 65520, name, 16), 4);
  EXPECT_STREQ(name, L"Tarn");
  EXPECT_EQ(WTarnConstants::sPluginName(), u"Tarn");
}

TEST(PackageUnits, StartUpShutDownAndRegister) {
  PackageInfoTable* table = GetPackageInfoTable();
  std::vector<std::string> names;
  for (int i = 0; i < table->UnitCount; ++i) names.push_back(table->Units[i].Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Kv_tools", "TarnEdata", "WTarnConstants", "DVersion",
                                             "WTarnView", "WTarnCreator", "WTarnD11"}));
  FakeWelcomePage page;
  String prog_while_unregistering = u"(not called)";
  page.OnUnregister = [&] { prog_while_unregistering = WTarnView::TarnProg; };

  Initialize();
  Initialize();  // a second entry does no work
  for (int i = 0; i < table->UnitCount; ++i) EXPECT_EQ(table->Units[i].Counter, -2) << names[i];
  auto reg = rtl::ProcAddress<void (*)()>(Package(), "Register");
  ASSERT_NE(reg, nullptr);
  reg();
  ASSERT_EQ(page.plugins.size(), 1u);
  EXPECT_EQ(page.plugins[0]->GetPluginID(), u"WTarn");

  WTarnView::TarnProg = u"C:\\Tarn\\TarnPlugIn.exe";
  Finalize();  // not the last exit: no work
  EXPECT_EQ(page.plugins.size(), 1u);
  EXPECT_EQ(WTarnView::TarnProg, u"C:\\Tarn\\TarnPlugIn.exe");
  Finalize();
  for (int i = 0; i < table->UnitCount; ++i) EXPECT_EQ(table->Units[i].Counter, 0) << names[i];
  EXPECT_EQ(page.calls.back(), "unregister WTarn -> 0 left");
  EXPECT_EQ(prog_while_unregistering, u"C:\\Tarn\\TarnPlugIn.exe")
      << "WTarnCreator stops before WTarnView";
  EXPECT_TRUE(WTarnView::TarnProg.empty());
  EXPECT_TRUE(WTarnView::TarnIniName.empty());
}

TEST(ClientPackage, UsesThePackageAcrossTheBoundary) {
  ClientSetProgLoaded(true);
  EXPECT_TRUE(WTarnView::ProgLoaded);
  WTarnView::ProgLoaded = false;
  EXPECT_FALSE(ClientProgLoaded());

  ClientSetTarnProg(L"C:\\Client\\TarnPlugIn.exe");
  EXPECT_EQ(WTarnView::TarnProg, u"C:\\Client\\TarnPlugIn.exe");
  WTarnView::TarnProg = u"D:\\Tarn.exe";
  wchar_t text[64];
  ClientTarnProg(text, 64);
  EXPECT_STREQ(text, L"D:\\Tarn.exe");
  ClientPluginName(text, 64);
  EXPECT_STREQ(text, L"Tarn");

  TestWindow receiver(L"WTarnClientReceiver", L"WTarn client receiver", false);
  EXPECT_TRUE(ClientPostText(receiver.Handle(), WM_APP + 5, 9, L"from the client"));
  PumpFor(30);
  ASSERT_EQ(receiver.received.size(), 1u);
  wchar_t atom[64];
  GlobalGetAtomNameW(static_cast<ATOM>(receiver.received[0].lp), atom, 64);
  GlobalDeleteAtom(static_cast<ATOM>(receiver.received[0].lp));
  EXPECT_STREQ(atom, L"from the client");

  bool armed = false;
  EXPECT_EQ(ClientFrameTimer(&armed, text, 64), 3000u) << "a frame built by the client";
  EXPECT_TRUE(armed);
  EXPECT_STREQ(text, L"Show PlugIn");
}

}  // namespace
}  // namespace plugin_test
