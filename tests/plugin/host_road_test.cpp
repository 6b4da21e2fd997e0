// The whole road in the real stand-in IDE with the real package and companion, read back
// from the transcript that both of them write.
#include <sstream>

#include "tests/plugin/plugin_fixture.h"

namespace plugin_test {
namespace {

// Starts the stand-in IDE on the package of the build with these options; its process, or none.
rtl::UniqueHandle StartHost(const std::wstring& options) {
  std::wstring line = L"\"" + BinFolder() + L"wtarn_host.exe\" --package=\"" + BinFolder() +
                      L"WTarnD11.dll\" " + options;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      BinFolder().c_str(), &si, &pi))
    return rtl::UniqueHandle();
  CloseHandle(pi.hThread);
  return rtl::UniqueHandle(pi.hProcess);
}

// Runs the stand-in IDE with these options to its end; false when it did not end in time.
bool RunHost(const std::wstring& options) {
  rtl::UniqueHandle process = StartHost(options);
  return process && WaitForSingleObject(process.get(), 60000) == WAIT_OBJECT_0;
}

// The settings of a road: TARN.INI naming the companion beside the tests.
void WriteSettings(const TempFolder& temp) {
  temp.Write(L"AppData\\morvane\\TARN\\TARN.INI",
             L"[PlugInSettings]\r\nProgramlocation=" + BinFolder() +
                 L"TarnPlugIn.exe\r\n[Projects]\r\nFolder=" + temp.Path() + L"\\Projects\r\n");
}

// The seconds at the start of the transcript line that contains text; -1 when there is none.
double TimeOf(const std::string& transcript, const std::string& text) {
  size_t at = transcript.find(text);
  if (at == std::string::npos) return -1;
  size_t line = transcript.rfind('\n', at);
  return std::stod(transcript.substr(line == std::string::npos ? 0 : line + 1));
}

TEST(HostRoad, TheWholeRoadInTheStandInIde) {
  TempFolder temp;
  const std::wstring project = temp.Path() + L"\\Projects\\Demo.dproj";
  temp.Write(L"Projects\\Demo.dproj", L"<Project/>");
  WriteSettings(temp);
  EnvVar switches(L"TARNPLUGIN_SWITCHES", (L"\"/send=" + project + L"\" /sendafter=5000").c_str());
  const std::wstring transcript = temp.Path() + L"\\road.txt";
  ASSERT_TRUE(RunHost(L"--headless --open=WTarn --exit-after=12 --resize=900x600 --transcript=\"" +
                      transcript + L"\" --appdata=\"" + temp.Path() + L"\\AppData\""));
  const std::string road = ReadText(transcript);
  SCOPED_TRACE(road);

  // The steps of the road, in this order, each found after the one before.
  const std::string project_utf8 = rtl::ToUtf8(rtl::FromW(project.c_str()));
  const std::string steps[] = {
      "host:        loaded WTarnD11.dll",
      "units started in this order: Kv_tools (-1), TarnEdata (-1), WTarnConstants (-1), DVersion "
      "(-1), "
      "WTarnView (-1), WTarnCreator (-1), WTarnD11 (-1)",
      "host:        Register",
      "RegisterPlugin WTarn \"Tarn\", visible",
      "lists Tarn  (WTarn)",
      "open WTarn: GetView gives none, icon index 2; CreateView",
      "CreateCaptionFrame WTarn \"Tarn\", no owner",
      "CreateView returned TWelcomePageCaptionFrame, icon index now 3",
      "Panel1 colour 0x002B2B2B, parent background off",
      "with parameters: Slave \"Delphi 11 Alexandria\" \"",
      "embedded TMainForm",
      ": parent is Panel1 TPanel",
      "WS_BORDER cleared, WS_DLGFRAME kept, WS_THICKFRAME kept",
      ": fills it",
      "page resized to 900 x 600",
      ": fills it",
      "close WTarn: DestroyView",
      "companion:   WM_CLOSE to TMainForm",
      "companion:   WM_CLOSE to TApplication",
      "the companion process has ended",
      "host:        Finalize",
      "UnRegisterPlugin WTarn",
      "released the plug-in: that was its last reference",
      "units shut down in this order: WTarnD11 (0), WTarnCreator (0), WTarnView (0), DVersion (0), "
      "WTarnConstants (0), TarnEdata (0), Kv_tools (0)",
      "host:        unloaded WTarnD11.dll",
  };
  size_t at = 0;
  for (const std::string& step : steps) {
    size_t found = road.find(step, at);
    EXPECT_NE(found, std::string::npos) << "missing after position " << at << ": " << step;
    if (found != std::string::npos) at = found + step.size();
  }

  // The frame's window handle is the one the companion was given.
  const size_t frame_at = road.find("view:        TMainFrame 0x");
  ASSERT_NE(frame_at, std::string::npos);
  const unsigned long frame = std::stoul(road.substr(frame_at + 26, 10), nullptr, 16);
  EXPECT_NE(road.find("with parameters: Slave \"Delphi 11 Alexandria\" \"" + std::to_string(frame) +
                      "\""),
            std::string::npos);
  EXPECT_NE(road.find("sent copy-data 10023 \"" + project_utf8 + "\" (result 0)"),
            std::string::npos);
  EXPECT_NE(road.find("actions:     OpenProject \"" + project_utf8 + "\", new project group yes"),
            std::string::npos);
  // The first tick comes 3 s after the view was built.
  const double tick = TimeOf(road, "companion:   started") - TimeOf(road, "CreateView returned");
  EXPECT_GT(tick, 2.9);
  EXPECT_LT(tick, 5.0);
}

// The IDE ends while the embedded companion's window thread is busy: the view is freed (the
// busy companion inside it ended) and the package unloads on time, and the IDE's thread is
// away for no longer than the frame's first wait (2000 ms) and a second, as timed from another
// process.
TEST(HostRoad, UnloadsOnTimeWhileTheCompanionHangs) {
  TempFolder temp;
  WriteSettings(temp);
  EnvVar switches(L"TARNPLUGIN_SWITCHES", L"/hang=embedded:12000");
  const std::wstring transcript = temp.Path() + L"\\road.txt";
  rtl::UniqueHandle host = StartHost(L"--headless --open=WTarn --exit-after=9 --transcript=\"" +
                                     transcript + L"\" --appdata=\"" + temp.Path() + L"\\AppData\"");
  ASSERT_TRUE(host);
  HWND page = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (page = FindWindowW(L"TWelcomePage", nullptr)) != nullptr; },
                        10000));
  AnswerTimer answers(page);
  ASSERT_EQ(WaitForSingleObject(host.get(), 60000), static_cast<DWORD>(WAIT_OBJECT_0));
  const AnswerTimer::Wait longest = answers.Stop();
  const std::string road = ReadText(transcript);
  SCOPED_TRACE(road);
  EXPECT_GE(longest.ms, 2000) << "the first search waits 2000 ms";
  EXPECT_LT(longest.ms, 3000) << "posted at " << longest.at << " ms";
  const double hangs = TimeOf(road, "hangs for"), closes = TimeOf(road, "close WTarn"),
               freed = TimeOf(road, "GetView now gives none"),
               finalize = TimeOf(road, "host:        Finalize"),
               unloaded = TimeOf(road, "unloaded WTarnD11.dll");
  EXPECT_GT(hangs, 0);
  EXPECT_LT(hangs, closes) << "the view is freed while the companion is busy";
  EXPECT_LT(freed - closes, 1.1) << "DestroyView: the stop's 100 ms and a second at most";
  EXPECT_LT(unloaded - finalize, 1.0);
  EXPECT_NE(road.find("the companion process has ended"), std::string::npos);
  EXPECT_EQ(road.find("answers again"), std::string::npos) << "it was ended while busy";
}

}  // namespace
}  // namespace plugin_test
