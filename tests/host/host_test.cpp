// The stand-in IDE's decisions about installed packages, and its runs with a Known Packages
// list of awkward entries and with a copy-data record too large to pass.
#include <gtest/gtest.h>

#include <cstring>

#include "host/package_list.h"
#include "host/transcript.h"
#include "package/identity.h"
#include "tests/host/host_run.h"

namespace host_test {
namespace {

using host::PackageFile;

// The first bytes of a module for this machine with these file characteristics.
std::string Head(WORD machine, WORD characteristics) {
  std::string h(512, '\0');
  h.replace(0, 2, "MZ");
  h[0x3C] = '\x80';
  h.replace(0x80, 4, std::string("PE\0\0", 4));
  std::memcpy(&h[0x84], &machine, 2);
  std::memcpy(&h[0x96], &characteristics, 2);
  return h;
}

// An identity record of layout 1 named WTarnD11 with these flags and required packages.
std::string Identity(unsigned flags, const std::vector<std::wstring>& required) {
  std::wstring words = {1, static_cast<wchar_t>(flags)};
  words += std::wstring(L"WTarnD11") + L'\0' + L"described" + L'\0' + static_cast<wchar_t>(required.size());
  for (const std::wstring& r : required) words += r + L'\0';
  return "WTPK" + std::string(reinterpret_cast<const char*>(words.data()), 2 * words.size());
}

// The package's own identity resource, from the built DLL.
std::string BuiltIdentity() {
  rtl::UniqueModule dll(LoadLibraryExW((BinFolder() + L"WTarnD11.dll").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  HRSRC res = dll ? FindResourceW(dll.get(), WTarnPackage::kIdentityResource, RT_RCDATA) : nullptr;
  if (!res) return "";
  return std::string(static_cast<const char*>(LockResource(LoadResource(dll.get(), res))),
                     SizeofResource(dll.get(), res));
}

TEST(PackageIdentity, TheBuiltPackageCarriesItsIdentity) {
  const std::string bytes = BuiltIdentity();
  const auto id = host::ReadIdentity(bytes);
  ASSERT_TRUE(id);
  EXPECT_EQ(id->name, L"WTarnD11");
  EXPECT_EQ(id->description, L"--- Morvane Tarn PlugIn für Delphi 11 Welcome Page");
  EXPECT_EQ(id->flags, WTarnPackage::kNeverRebuilt) << "never rebuilt, neither design- nor run-only";
  EXPECT_EQ(id->required, (std::vector<std::wstring>{L"designide280.bpl", L"vcl280.bpl", L"rtl280.bpl"}));
  for (size_t cut = 0; cut < bytes.size(); ++cut)
    EXPECT_FALSE(host::ReadIdentity(bytes.substr(0, cut))) << "cut after " << cut << " bytes";
  for (size_t at : {0, 4}) {
    std::string odd = bytes;
    odd[at] = '\x09';
    EXPECT_FALSE(host::ReadIdentity(odd)) << "byte " << at << " changed";
  }
}

TEST(PackageList, WhichFilesTheIdeLoads) {
  const std::string dll = Head(IMAGE_FILE_MACHINE_I386, IMAGE_FILE_DLL | IMAGE_FILE_EXECUTABLE_IMAGE);
  const std::string good = Identity(1, {L"designide280.bpl", L"vcl280.bpl", L"rtl280.bpl"});
  std::string far_header = dll;
  far_header[0x3C] = '\xF0';
  far_header[0x3D] = '\x01';
  struct Row {
    const char* label;
    PackageFile file;
    std::vector<std::wstring> loaded;
    std::string refusal;
  } rows[] = {
      {"missing", {false, std::nullopt, std::nullopt}, {}, "the file is missing"},
      {"unreadable", {true, std::nullopt, std::nullopt}, {}, "the file cannot be read"},
      {"a text", {true, "[Settings]\r\nA=1\r\n", std::nullopt}, {}, "it is not a Windows module"},
      {"header beyond the bytes", {true, far_header, good}, {}, "it is not a Windows module"},
      {"64-bit DLL", {true, Head(IMAGE_FILE_MACHINE_AMD64, IMAGE_FILE_DLL), good}, {}, "it is not a 32-bit module"},
      {"program", {true, Head(IMAGE_FILE_MACHINE_I386, IMAGE_FILE_EXECUTABLE_IMAGE), good}, {},
       "it is a program, not a DLL"},
      {"DLL without identity", {true, dll, std::nullopt}, {}, "it is not a package: it carries no package identity"},
      {"damaged identity", {true, dll, good.substr(0, 20)}, {}, "its package identity is damaged"},
      {"run-time only", {true, dll, Identity(5, {})}, {}, "it is a run-time-only package"},
      {"foreign requirements", {true, dll, Identity(1, {L"vcl280.bpl", L"dbrtl280.bpl", L"fmx280.bpl"})}, {},
       "it requires dbrtl280.bpl, fmx280.bpl, which this IDE does not provide"},
      {"its name loaded already", {true, dll, good}, {L"Other", L"wtarnd11"},
       "a package named WTarnD11 is loaded already"},
      {"accepted", {true, dll, good}, {L"Other"}, ""},
      {"names of any case, design time only", {true, dll, Identity(3, {L"DesignIDE280.BPL"})}, {}, ""},
  };
  for (const Row& r : rows)
    EXPECT_EQ(host::Refusal(r.file, host::kProvidedPackages, r.loaded), r.refusal) << r.label;
}

TEST(PackageList, KnownPackagesValues) {
  auto text = [](const std::wstring& t) { return std::string(reinterpret_cast<const char*>(t.data()), 2 * t.size()); };
  struct Row {
    const wchar_t* name;
    DWORD type;
    std::string data;
    const wchar_t* description;
    const char* problem;
  } rows[] = {
      {L"C:\\P\\a.bpl", REG_SZ, text(L"Pack A") + std::string(2, '\0'), L"Pack A", ""},
      {L"C:\\P\\a.bpl", REG_SZ, text(L"Pack A"), L"Pack A", ""},               // no zero
      {L"C:\\P\\a.bpl", REG_SZ, text(L"Pack A") + "x", L"Pack A", ""},         // odd length
      {L"C:\\P\\a.bpl", REG_EXPAND_SZ, text(L"Größe ж") + std::string(2, '\0'), L"Größe ж", ""},
      {L"C:\\P\\a.bpl", REG_DWORD, std::string("\1\0\0\0", 4), L"", "its value is not a text (registry type 4)"},
      {L"C:\\P\\a.bpl", REG_MULTI_SZ, text(L"a") + std::string(4, '\0'), L"", "its value is not a text (registry type 7)"},
      {L"", REG_SZ, text(L"x"), L"", "the list's default value names no package"},
  };
  for (const Row& r : rows) {
    const host::KnownPackage p = host::ReadKnownPackage(r.name, r.type, r.data);
    EXPECT_EQ(p.path, r.name);
    EXPECT_EQ(p.description, r.description) << r.problem;
    EXPECT_EQ(p.problem, r.problem);
  }
}

TEST(MessageLoop, StepsForEachAnswer) {
  using host::LoopStep;
  struct Row {
    BOOL answer;
    unsigned errors_before;
    LoopStep step;
  } rows[] = {
      {1, 0, LoopStep::kDispatch}, {1, host::kMessageErrorLimit - 1, LoopStep::kDispatch},
      {0, 0, LoopStep::kQuit},     {0, 3, LoopStep::kQuit},
      {-1, 0, LoopStep::kSkip},    {-1, host::kMessageErrorLimit - 2, LoopStep::kSkip},
      {static_cast<BOOL>(0xC000001D), 0, LoopStep::kSkip},  // Wine's answer to an 8 MB record
      {-1, host::kMessageErrorLimit - 1, LoopStep::kGiveUp},
  };
  for (const Row& r : rows)
    EXPECT_EQ(host::NextLoopStep(r.answer, r.errors_before), r.step) << r.answer << " after " << r.errors_before;
}

TEST(HostPackages, LoadsTheInstalledPackagesAndSaysWhyNotTheOthers) {
  KnownPackages list;
  // A copy of the package whose identity record claims layout 0x0901.
  std::string bytes = ReadText(BinFolder() + L"WTarnD11.dll");
  bytes[bytes.find(std::string("WTPK\1", 5)) + 5] = '\x09';
  wchar_t temp[MAX_PATH];
  const std::wstring damaged = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"wtarn layout9.bpl";
  DWORD n;
  WriteFile(rtl::UniqueFile(CreateFileW(damaged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)).get(),
            bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  const std::wstring package = BinFolder() + L"WTarnD11.dll";
  KnownPackages::SetText(package, L"--- Morvane Tarn PlugIn für Delphi 11 Welcome Page");
  KnownPackages::SetText(L"C:\\Gone\\gone.bpl", L"Gone");
  KnownPackages::Set(L"C:\\Odd\\number.bpl", REG_DWORD, std::string(4, '\0'));
  KnownPackages::SetText(damaged, L"Layout 9");
  const std::string road = RunHost(L"--exit-after=1");
  SCOPED_TRACE(road);
  auto utf8 = transcript::Utf8;
  for (const std::string& line : {
           "installed packages (HKCU\\" + utf8(kKnownPackages) + "): 4",
           utf8(package) + "  \"--- Morvane Tarn PlugIn für Delphi 11 Welcome Page\"",
           std::string("skipped value \"C:\\Odd\\number.bpl\": its value is not a text (registry type 4)"),
           "loaded WTarnD11.dll (" + utf8(package) + ")",
           std::string("lists Tarn  (WTarn)"),
           std::string("not loaded C:\\Gone\\gone.bpl: the file is missing"),
           "not loaded " + utf8(damaged) + ": its package identity is damaged",
           std::string("host:        unloaded WTarnD11.dll"),
       })
    EXPECT_NE(road.find(line), std::string::npos) << line;
  DeleteFileW(damaged.c_str());
}

// Wine fails GetMessage for a copy-data record of 8 MB; the IDE goes on to its own end.
TEST(HostPackages, KeepsRunningAfterAMessageError) {
  KnownPackages list;
  rtl::UniqueHandle host = StartHost(L"--exit-after=6");
  ASSERT_TRUE(host);
  HWND page = nullptr;
  for (int i = 0; i < 200 && !page; ++i, Sleep(100)) page = FindWindowW(L"TWelcomePage", nullptr);
  ASSERT_NE(page, nullptr);
  std::string record(8 << 20, 'x');
  COPYDATASTRUCT data{10023, static_cast<DWORD>(record.size()), record.data()};
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(page, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 5000, &answer);
  EXPECT_NE(SendMessageTimeoutW(page, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer), 0)
      << "the IDE answers after the record";
  ASSERT_EQ(WaitForSingleObject(host.get(), 60000), static_cast<DWORD>(WAIT_OBJECT_0));
  const std::string road = ReadText(TranscriptFile());
  SCOPED_TRACE(road);
  EXPECT_GE(TimeOf(road, "host:        done"), 6.0) << "ended by its own timer";
}

}  // namespace
}  // namespace host_test
