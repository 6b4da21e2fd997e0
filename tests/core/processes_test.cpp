#include "kv_tools/processes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace Kv_tools {
namespace {

TEST(CommandLines, ExecAndLogonQuoting) {
  EXPECT_EQ(ExecCommandLine(u"C:\\T\\p.exe", u"a b"), u"\"C:\\T\\p.exe\" \"a b\"");
  EXPECT_EQ(ExecCommandLine(u"C:\\T\\p.exe", u""), u"\"C:\\T\\p.exe\" \"\"") << "empty parameters stay quoted";
  EXPECT_EQ(LogonCommandLine(u"C:\\T\\p.exe", u"a b"), u"C:\\T\\p.exe \"a b\"") << "the program is not quoted";
  EXPECT_EQ(LogonCommandLine(u"C:\\T\\p.exe", u""), u"C:\\T\\p.exe");
}

TEST(ShellErrors, MessagesByCode) {
  const std::vector<int> with_text = {0, 2, 3, 5, 6, 8, 10, 11, 12, 13, 14, 15, 16, 19, 20};
  for (int code = 0; code <= 32; ++code) {
    SCOPED_TRACE(code);
    const bool listed = std::find(with_text.begin(), with_text.end(), code) != with_text.end();
    EXPECT_EQ(ShellExecuteErrorText(code).empty(), !listed);
  }
  EXPECT_EQ(ShellExecuteErrorText(2), u"Datei wurde nicht gefunden.");
  EXPECT_EQ(ShellExecuteErrorText(0),
            u"Zuwenig Speicher, ausführbare Datei war zerstört, Relokationswerte waren ungültig");
  EXPECT_EQ(ShellExecuteErrorText(19),
            u"Versuch, eine komprimierte ausführbare Datei zu laden. Die Datei muß dekomprimiert werden, bevor "
            u"sie geladen werden kann.");
}

TEST(ShellLine, ProgramAndParameters) {
  const String long_name(300, u'x');
  struct Row {
    const char* label;
    String line;
    String file, parameters;
  } rows[] = {
      {"quoted program, blank, file", u"\"C:\\P F\\e.exe\" a.txt", u"\"C:\\P F\\e.exe\"", u"\"a.txt\""},
      {"nothing behind the quoted program", u"\"C:\\e.exe\"", u"\"C:\\e.exe\"", u"\"\""},
      {"blanks behind it are trimmed", u"\"C:\\e.exe\"  \t", u"\"C:\\e.exe\"", u"\"\""},
      {"quoted parameters stay as they are", u"\"C:\\e.exe\"  \"a b.txt\" ", u"\"C:\\e.exe\"", u"\"a b.txt\""},
      {"parameters with a quote are not wrapped", u"\"C:\\e.exe\" -x \"a\"", u"\"C:\\e.exe\"", u"-x \"a\""},
      {"unquoted program, quoted file", u"  C:\\e.exe  \"a b.txt\" -y", u"C:\\e.exe", u"\"a b.txt\" -y"},
      {"unclosed quote: quotes removed, no parameters", u"\"C:\\P F\\e.exe a.txt", u"C:\\P F\\e.exe a.txt", u""},
      {"no quote: the line as it is", u" C:\\e.exe a.txt", u" C:\\e.exe a.txt", u""},
      {"closing quote beyond 255 characters is not seen", u"\"" + long_name + u"\" p", long_name + u" p", u""},
      {"parameters cut at 255 characters", u"C:\\e.exe \"" + long_name, u"C:\\e.exe",
       (u"\"" + long_name).substr(0, 255)},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    const std::optional<ShellRequest> request = SplitShellLine(r.line);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->File, r.file);
    EXPECT_EQ(request->Parameters, r.parameters);
  }
  EXPECT_FALSE(SplitShellLine(u"")) << "an empty line opens nothing";
}

TEST(ShellLine, RunAsChoosesProgramAndParameters) {
  std::vector<String> asked;
  auto exe_for = [&](const String& file) {
    asked.push_back(file);
    return file.ends_with(u".txt") ? String(u"C:\\W\\notepad.exe") : String();
  };
  struct Row {
    const char* label;
    String file, params;
    String expected_file, expected_params;
    bool asks;
  } rows[] = {
      {"document: its program, the document as parameter", u"C:\\d\\a.txt", u"", u"C:\\W\\notepad.exe",
       u"C:\\d\\a.txt", true},
      {"program", u"C:\\T\\tool.exe", u"", u"C:\\T\\tool.exe", u"", false},
      {".COM in any case", u"C:\\T\\OLD.COM", u"", u"C:\\T\\OLD.COM", u"", false},
      {".exe anywhere in the name", u"C:\\my.exedir\\a.txt", u"", u"C:\\my.exedir\\a.txt", u"", false},
      {"document with parameters runs itself", u"C:\\d\\a.txt", u"-p", u"C:\\d\\a.txt", u"-p", false},
      {"document without program", u"C:\\d\\a.xyz", u"", u"C:\\d\\a.xyz", u"", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    asked.clear();
    const ShellRequest request = RunAsRequest(r.file, r.params, exe_for);
    EXPECT_EQ(request.File, r.expected_file);
    EXPECT_EQ(request.Parameters, r.expected_params);
    EXPECT_EQ(!asked.empty(), r.asks);
  }
}

TEST(ShellLine, HelpViewerCall) {
  const ShellRequest derived = HelpViewerRequest(u"Start page", u"", u"C:\\Tarn\\bin\\tarn.exe");
  EXPECT_EQ(derived.File, u"C:\\Tarn\\bin\\ShowHelp.exe");
  EXPECT_EQ(derived.Parameters, u"\"C:\\Tarn\\bin\\tarn.cHelp\" \"Start page\"");

  const ShellRequest explicit_file = HelpViewerRequest(u"", u"D:\\h\\x.cHelp", u"C:\\tarn.exe");
  EXPECT_EQ(explicit_file.File, u"C:\\ShowHelp.exe");
  EXPECT_EQ(explicit_file.Parameters, u"\"D:\\h\\x.cHelp\" \"\"");
}

// A tick counter that answers the given readings, then keeps the last one.
struct Ticks {
  std::vector<uint32_t> readings;
  size_t next = 0;
  uint32_t operator()() { return readings[std::min(next++, readings.size() - 1)]; }
};

TEST(Waits, TickArithmeticAndStopFlag) {
  struct Row {
    const char* label;
    uint32_t milliseconds;
    std::vector<uint32_t> readings;
    int raise_at_pass;  // 0: never
    uint32_t passed;
    int pumps;
  } rows[] = {
      {"more than the time, not equal", 20, {100, 110, 120, 121}, 0, 21, 3},
      {"wrap of the counter does not end early", 20, {0xFFFFFFF0u, 0xFFFFFFFAu, 0x00000002u, 0x00000005u}, 0, 21, 3},
      {"0 ms: the counter must move", 0, {7, 7, 7, 8}, 0, 1, 3},
      {"flag raised on the second pass", 1000, {5, 6, 7, 8}, 2, 2, 2},
      {"flag raised in the first pass", 1000, {5, 6}, 1, 1, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    Ticks ticks{r.readings};
    bool stop = false;
    int pumps = 0;
    const uint32_t passed = WaitTicks(r.milliseconds, &stop, std::ref(ticks), [&] {
      if (++pumps == r.raise_at_pass) stop = true;
    });
    EXPECT_EQ(passed, r.passed);
    EXPECT_EQ(pumps, r.pumps);
  }

  Ticks still{{5, 5}};
  bool stop = true;
  int pumps = 0;
  WaitTicks(1000, &stop, std::ref(still), [&] { ++pumps; });
  EXPECT_EQ(pumps, 1) << "a flag raised before the call still lets messages run once";

  Ticks ticks{{0xFFFFFFFFu, 0, 1, 2}};
  EXPECT_EQ(WaitTicks(1, nullptr, std::ref(ticks), nullptr), 2u) << "a delay without messages or flag";
}

}  // namespace
}  // namespace Kv_tools
