// Processes and shell against the platform. The helper record_start.exe (beside the tests)
// writes its command line and working folder to the file named by WTARN_RECORD, so each
// test can see how a routine started it.
#include "kv_tools/processes.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <optional>

#include "kv_tools/globals.h"
#include "kv_tools/paths.h"
#include "rtl/file_system.h"
#include "rtl/handles.h"
#include "rtl/platform.h"
#include "tests/core/temp_folder.h"
#include "tests/win/message_recorder.h"

namespace Kv_tools {
namespace {

using rtl::FromW;
using rtl::ToUtf8;
using rtl::W;
using wtarn_test::MessageRecorder;
using wtarn_test::ScopedGlobal;
using wtarn_test::TempFolder;

// How the helper was started.
struct Start {
  String command_line, folder;
};

class ProcessesWin : public ::testing::Test {
 protected:
  void SetUp() override { SetEnvironmentVariableW(L"WTARN_RECORD", W(record_)); }
  void TearDown() override { SetEnvironmentVariableW(L"WTARN_RECORD", nullptr); }

  static String Helper() { return AppPath() + u"record_start.exe"; }

  // The helper's record, waited for up to 10 seconds (a started program runs on its own).
  std::optional<Start> AwaitStart(DWORD timeout = 10000) {
    for (const ULONGLONG end = GetTickCount64() + timeout;;) {
      if (auto start = RecordedStart()) return start;
      if (GetTickCount64() > end) return std::nullopt;
      Sleep(20);
    }
  }

  // The record as it is now, taken away so that the next start leaves a new one.
  std::optional<Start> RecordedStart() {
    if (!rtl::FileExists(record_)) return std::nullopt;
    const std::string bytes = TempFolder::Read(record_);
    DeleteFileW(W(record_));
    const String text(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
    const size_t line_feed = text.find(u'\n');
    return Start{text.substr(0, line_feed), text.substr(line_feed + 1)};
  }

  TempFolder temp_{u"h6-proc"};
  String record_ = temp_ / u"record.txt";
};

TEST_F(ProcessesWin, ExecAndWaitQuotesAndStartsInTheProgramsFolder) {
  const String copy = temp_ / u"sub dir\\rec.exe";
  rtl::ForceDirectories(temp_ / u"sub dir");
  ASSERT_TRUE(CopyFileW(W(Helper()), W(copy), FALSE));

  ASSERT_TRUE(ExecAndWait(copy, u"", SW_HIDE));
  std::optional<Start> start = RecordedStart();
  ASSERT_TRUE(start) << "the program has ended when ExecAndWait returns";
  EXPECT_EQ(start->command_line, u"\"" + copy + u"\" \"\"");
  EXPECT_EQ(start->folder, temp_ / u"sub dir");

  ASSERT_TRUE(ExecAndWait(copy, u"a b", SW_SHOWNORMAL));
  start = RecordedStart();
  ASSERT_TRUE(start);
  EXPECT_EQ(start->command_line, u"\"" + copy + u"\" \"a b\"");

  wchar_t here[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, here);
  ASSERT_TRUE(ExecAndWait(u"record_start.exe", u"x", SW_HIDE)) << "a bare name is searched for";
  start = RecordedStart();
  ASSERT_TRUE(start);
  EXPECT_EQ(start->folder, FromW(here)) << "and starts in the caller's folder";

  EXPECT_FALSE(ExecAndWait(temp_ / u"missing.exe", u"", SW_HIDE));
}

// The stand-in for CreateProcessWithLogonW: notes what it was given and starts the program
// with CreateProcessW (Wine's own service is a stub that starts nothing).
struct LogonCall {
  String user, password, command_line;
  bool domain_null = false, application_null = false;
  DWORD logon_flags = 99, creation_flags = 0, startup_flags = 0;
  WORD show = 99;
};
LogonCall g_logon;

BOOL WINAPI StartInstead(LPCWSTR user, LPCWSTR domain, LPCWSTR password, DWORD logon_flags, LPCWSTR application,
                         LPWSTR command_line, DWORD creation_flags, LPVOID environment, LPCWSTR current_directory,
                         LPSTARTUPINFOW startup, LPPROCESS_INFORMATION process) {
  g_logon = {FromW(user),      FromW(password), FromW(command_line), domain == nullptr, application == nullptr,
             logon_flags,      creation_flags,  startup->dwFlags,    startup->wShowWindow};
  return CreateProcessW(nullptr, command_line, nullptr, nullptr, FALSE, creation_flags, environment, current_directory,
                        startup, process);
}

BOOL WINAPI FailWithoutCode(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPCWSTR, LPWSTR, DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW,
                            LPPROCESS_INFORMATION) {
  return FALSE;
}

BOOL WINAPI FailWithLogonError(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPCWSTR, LPWSTR, DWORD, LPVOID, LPCWSTR,
                               LPSTARTUPINFOW, LPPROCESS_INFORMATION) {
  SetLastError(ERROR_LOGON_FAILURE);
  return FALSE;
}

TEST_F(ProcessesWin, CreateProcessAsLogonCommandLineAndResult) {
  EXPECT_EQ(CreateProcessAsLogonWith(StartInstead, u"anna", u"geheim", Helper(), u"p 1"), 0u);
  EXPECT_EQ(g_logon.user, u"anna");
  EXPECT_EQ(g_logon.password, u"geheim");
  EXPECT_TRUE(g_logon.domain_null);
  EXPECT_TRUE(g_logon.application_null);
  EXPECT_EQ(g_logon.logon_flags, 0u);
  EXPECT_EQ(g_logon.creation_flags, DWORD{CREATE_DEFAULT_ERROR_MODE});
  EXPECT_EQ(g_logon.startup_flags, DWORD{STARTF_USESHOWWINDOW});
  EXPECT_EQ(g_logon.show, WORD{SW_SHOWNORMAL});
  const std::optional<Start> start = AwaitStart();
  ASSERT_TRUE(start);
  EXPECT_EQ(start->command_line, Helper() + u" \"p 1\"") << "the program itself is not quoted";

  EXPECT_EQ(CreateProcessAsLogonWith(FailWithLogonError, u"anna", u"x", Helper(), u""), DWORD{ERROR_LOGON_FAILURE});
  EXPECT_NE(CreateProcessAsLogonWith(FailWithoutCode, u"anna", u"x", Helper(), u""), 0u)
      << "a failure is never reported as a start";
  EXPECT_NE(CreateProcessAsLogon(u"wtarn-nobody", u"x", temp_ / u"missing.exe", u""), 0u);
}

TEST_F(ProcessesWin, ShellExecuteShowsItsMessageByCode) {
  MessageRecorder messages;
  EXPECT_FALSE(kv_ShellExecute(nullptr, u"open", temp_ / u"missing.exe", u"", u"", SW_SHOW));
  ASSERT_EQ(messages.Shown().size(), 1u);
  EXPECT_EQ(messages.Shown()[0].text, u"Datei wurde nicht gefunden.");

  const String unknown = temp_ / u"a.wtarn-no-association";
  ASSERT_TRUE(temp_.Write(unknown, "x"));
  EXPECT_FALSE(kv_ShellExecute(nullptr, u"open", unknown, u"", u"", SW_SHOW));
  ASSERT_EQ(messages.Shown().size(), 2u);
  EXPECT_EQ(messages.Shown()[1].text, u"") << "code 31 has no text";

  EXPECT_TRUE(kv_ShellExecute(nullptr, u"open", Helper(), u"x y", u"", SW_SHOW));
  EXPECT_EQ(messages.Shown().size(), 2u);
  const std::optional<Start> start = AwaitStart();
  ASSERT_TRUE(start);
  EXPECT_TRUE(start->command_line.ends_with(u" x y")) << ToUtf8(start->command_line);
}

TEST_F(ProcessesWin, ShellparalineOpensOrComplains) {
  MessageRecorder messages;
  const String helper = Helper();
  Shellparaline(u"\"" + helper + u"\"  doc.txt ");
  std::optional<Start> start = AwaitStart();
  ASSERT_TRUE(start);
  EXPECT_TRUE(start->command_line.ends_with(u" \"doc.txt\"")) << ToUtf8(start->command_line);

  Shellparaline(helper + u" \"a b\"");
  start = AwaitStart();
  ASSERT_TRUE(start);
  EXPECT_TRUE(start->command_line.ends_with(u" \"a b\"")) << ToUtf8(start->command_line);

  Shellparaline(u"");
  EXPECT_TRUE(messages.Shown().empty());

  const String missing = temp_ / u"missing.exe";
  Shellparaline(u"\"" + missing + u"\" x");
  ASSERT_EQ(messages.Shown().size(), 1u);
  EXPECT_EQ(messages.Shown()[0].text,
            u"Konnte Datei \r\r\"" + missing + u"\"\r\r nicht öffnen, Dateityp unbekannt!");
}

// A value of a key under HKEY_CLASSES_ROOT; nothing when the key is missing.
std::optional<String> ClassesValue(const String& key) {
  rtl::UniqueKey k;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, W(key), 0, KEY_READ, k.put()) != ERROR_SUCCESS) return std::nullopt;
  wchar_t value[512] = {};
  DWORD size = sizeof value;
  RegQueryValueExW(k.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  return FromW(value);
}

// Removes the test's file types from the classes root, also when a test fails.
struct FileTypeCleanup {
  ~FileTypeCleanup() {
    for (const wchar_t* key : {L".wtarnhsix", L"wtarnhsix_file", L".wtarnhsiy", L"wtarnhsiy_file"})
      RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
  }
};

TEST_F(ProcessesWin, RegisteredFileTypeOpensWithItsProgram) {
  FileTypeCleanup cleanup;
  const String helper = Helper();
  RegisterFileType(rtl::EncodeAnsi(helper), "not used", "wtarnhsix", "C:\\icons\\t.ico,1");
  EXPECT_EQ(ClassesValue(u".wtarnhsix"), u"wtarnhsix_file");
  EXPECT_EQ(ClassesValue(u"wtarnhsix_file\\DefaultIcon"), u"C:\\icons\\t.ico,1");
  EXPECT_EQ(ClassesValue(u"wtarnhsix_file\\shell\\open\\command"), u"\"" + helper + u"\" \"%1\"");

  RegisterFileType("C:\\Pr\xFC" "f\\p.exe", "", "wtarnhsiy", "");
  EXPECT_EQ(ClassesValue(u"wtarnhsiy_file\\shell\\open\\command"), u"\"C:\\Prüf\\p.exe\" \"%1\"") << "widened";
  EXPECT_FALSE(ClassesValue(u"wtarnhsiy_file\\DefaultIcon")) << "no icon, no key";

  const String document = temp_ / u"a b.wtarnhsix";
  ASSERT_TRUE(temp_.Write(document, "doc"));
  EXPECT_EQ(rtl::AnsiLowerCase(GetExeForFile(document)), rtl::AnsiLowerCase(helper));
  EXPECT_EQ(GetExeForFile(temp_ / u"x.wtarn-no-association"), u"");

  EXPECT_TRUE(RunFileAsAdminUser(nullptr, document, u"")) << "the document's program, the document as parameter";
  const std::optional<Start> start = AwaitStart();
  ASSERT_TRUE(start);
  EXPECT_NE(start->command_line.find(document), String::npos) << ToUtf8(start->command_line);
}

TEST_F(ProcessesWin, TargetOfAShortcut) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  const String link_name = temp_ / u"helper.lnk";
  {
    IShellLinkW* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&link))));
    link->SetPath(W(Helper()));
    IPersistFile* file = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    EXPECT_TRUE(SUCCEEDED(file->Save(W(link_name), TRUE)));
    file->Release();
    link->Release();
  }
  EXPECT_EQ(rtl::AnsiLowerCase(GetExeFromLink(link_name)), rtl::AnsiLowerCase(Helper()));

  const String not_a_link = temp_ / u"plain.lnk";
  ASSERT_TRUE(temp_.Write(not_a_link, "no shortcut"));
  EXPECT_EQ(GetExeFromLink(not_a_link), u"");
  EXPECT_EQ(GetExeFromLink(temp_ / u"missing.lnk"), u"");
  CoUninitialize();
}

TEST_F(ProcessesWin, HelpViewerCommandLine) {
  const String viewer = AppPath() + u"ShowHelp.exe";
  ASSERT_TRUE(CopyFileW(W(Helper()), W(viewer), FALSE));
  {
    ScopedGlobal derived(Help_ExplizitFile, u"");
    pf_ShowHelpEx(u"Thema 1", nullptr);
    const std::optional<Start> start = AwaitStart();
    ASSERT_TRUE(start);
    const String help_file = rtl::ChangeFileExt(rtl::ProgramFileName(), u".cHelp");
    EXPECT_TRUE(start->command_line.ends_with(u" \"" + help_file + u"\" \"Thema 1\"")) << ToUtf8(start->command_line);
  }
  {
    ScopedGlobal explicit_file(Help_ExplizitFile, u"D:\\Hilfe\\tarn.cHelp");
    pf_ShowHelpEx(u"", nullptr);
    const std::optional<Start> start = AwaitStart();
    ASSERT_TRUE(start);
    EXPECT_TRUE(start->command_line.ends_with(u" \"D:\\Hilfe\\tarn.cHelp\" \"\"")) << ToUtf8(start->command_line);
  }
  DeleteFileW(W(viewer));
  pf_ShowHelpEx(u"no viewer", nullptr);  // nothing to start, nothing reported
}

TEST_F(ProcessesWin, EnvironmentValuesOfAnyLength) {
  for (size_t length : {1u, 255u, 256u, 300u, 5000u}) {
    SCOPED_TRACE(length);
    const String value(length, u'v');
    SetEnvironmentVariableW(L"WTARN_H6_LONG", W(value));
    EXPECT_EQ(GetEnvironment(u"WTARN_H6_LONG"), value);
  }
  SetEnvironmentVariableW(L"WTARN_H6_LONG", nullptr);
  EXPECT_EQ(GetEnvironment(u"WTARN_H6_LONG"), u"");
}

bool* g_raise = nullptr;
void CALLBACK RaiseFlag(HWND, UINT, UINT_PTR, DWORD) { *g_raise = true; }

TEST_F(ProcessesWin, WaitsKeepMessagesFlowing) {
  bool stop = false;
  g_raise = &stop;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, RaiseFlag);
  const uint32_t passed = kv_WaitFor(10000, stop);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(stop) << "the timer ran inside the wait";
  EXPECT_LT(passed, 5000u);

  EXPECT_GE(kv_Delay(0, false), 1u);
  EXPECT_GT(kv_Delay(30, true), 30u);
}

TEST_F(ProcessesWin, PlatformRefusals) {
  EXPECT_FALSE(ShowProperties(nullptr, temp_ / u"missing.txt", nullptr));
  EXPECT_FALSE(ConnectWithNetPath(u"\\\\wtarn-no-such-host\\share"));
}

}  // namespace
}  // namespace Kv_tools
