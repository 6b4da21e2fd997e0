// The process and shell decisions against their descriptions: command lines quoted, the shell's
// error texts, a program line split at its quotes, the elevated run's choice (with the
// questions to the shell counted), the help viewer's call, and the wait over made-up ticks.
#include <algorithm>

#include "fuzz/fuzz_input.h"
#include "kv_tools/processes.h"
#include "rtl/file_system.h"
#include "rtl/platform.h"
#include "tests/core/fields_reference.h"

namespace literal {

using fields_reference::Copy;
using rtl::String;

int Len(const String& s) { return static_cast<int>(s.size()); }
String Quoted(const String& s) { return u"\"" + s + u"\""; }

String Trim(const String& s) {
  int first = 1, last = Len(s);
  while (first <= last && s[first - 1] <= u' ') ++first;
  while (last >= first && s[last - 1] <= u' ') --last;
  return Copy(s, first, last - first + 1);
}

std::optional<Kv_tools::ShellRequest> Split(const String& line) {
  if (line.empty()) return std::nullopt;
  if (line[0] == u'"') {
    const int close = fields_reference::Pos(u"\"", Copy(line, 2, 255));  // within the next 255
    if (close > 0) {
      String params = Trim(Copy(line, close + 2, 255));
      if (fields_reference::Pos(u"\"", params) == 0) params = Quoted(params);
      return Kv_tools::ShellRequest{Copy(line, 1, close + 1), params};
    }
  } else if (const int quote = fields_reference::Pos(u"\"", line); quote > 0) {
    return Kv_tools::ShellRequest{Trim(Copy(line, 1, quote - 1)), Copy(line, quote, 255)};
  }
  return Kv_tools::ShellRequest{fields_reference::ReplaceAll(line, u"\"", u""), String()};
}

// Reads ticks and pumps until more than ms have passed since the first reading or the stop
// flag is set after a pass; counts the readings and the pumps.
uint32_t Wait(uint32_t ms, const bool* stop, const std::function<uint32_t()>& ticks, const std::function<void()>& pump) {
  const uint32_t first = ticks();
  for (;;) {
    if (pump) pump();
    const uint32_t passed = ticks() - first;
    if (passed > ms) return passed;
    if (stop && *stop) return passed;
  }
}

}  // namespace literal

namespace {

rtl::String LineText(FuzzedDataProvider& in) {
  static const char16_t* const kPieces[] = {u"\"", u" ", u"\t", u"C:\\p.exe", u"a.txt", u"-x", u"\"\"", u"x"};
  rtl::String line;
  for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n) {
    const int pick = in.ConsumeIntegralInRange(0, 9);
    line += pick < 8 ? rtl::String(kPieces[pick]) : pick == 8 ? fuzz::Text(in, 4) : rtl::String(in.ConsumeIntegralInRange(200, 300), u'a');
  }
  return line;
}

bool Same(const Kv_tools::ShellRequest& a, const Kv_tools::ShellRequest& b) {
  return a.File == b.File && a.Parameters == b.Parameters;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);
  const String file = LineText(in), params = in.ConsumeBool() ? String() : LineText(in);

  Same("ExecCommandLine", ExecCommandLine(file, params), literal::Quoted(file) + u" " + literal::Quoted(params));
  Same("LogonCommandLine", LogonCommandLine(file, params), params.empty() ? file : file + u" " + literal::Quoted(params));

  const int code = in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, 40) : in.ConsumeIntegral<int>();
  static const int kCodes[] = {0, 2, 3, 5, 6, 8, 10, 11, 12, 13, 14, 15, 16, 19, 20};
  Same("ShellExecuteErrorText has a text", !ShellExecuteErrorText(code).empty(),
       std::find(std::begin(kCodes), std::end(kCodes), code) != std::end(kCodes));

  const std::optional<ShellRequest> mine = SplitShellLine(file), theirs = literal::Split(file);
  fuzz::Holds("SplitShellLine", mine.has_value() == theirs.has_value() && (!mine || ::Same(*mine, *theirs)));

  // The elevated run: the shell is asked only for a document without parameters.
  int asked = 0;
  const String program = in.ConsumeBool() ? String() : fuzz::Text(in, 5) + u".exe";
  const auto exe_for_file = [&](const String&) { return ++asked, program; };
  const ShellRequest run = RunAsRequest(file, params, exe_for_file);
  const String lower = rtl::AnsiLowerCase(file);
  const bool as_given = lower.find(u".exe") != String::npos || lower.find(u".com") != String::npos || !params.empty();
  Same("RunAsRequest asks the shell", asked, as_given ? 0 : 1);
  fuzz::Holds("RunAsRequest", ::Same(run, as_given || program.empty() ? ShellRequest{file, params}
                                                                      : ShellRequest{program, file}));

  const String topic = fuzz::Text(in, 6), explicit_file = in.ConsumeBool() ? String() : LineText(in);
  const String help = explicit_file.empty() ? rtl::ChangeFileExt(file, u".cHelp") : explicit_file;
  String folder = rtl::ExtractFileDir(file);
  if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
  fuzz::Holds("HelpViewerRequest", ::Same(HelpViewerRequest(topic, explicit_file, file),
                                          {folder + u"ShowHelp.exe", literal::Quoted(help) + u" " + literal::Quoted(topic)}));

  // The wait: ticks that step on by the input's amounts (wrapping at 2^32), then jump just past
  // the limit, so that every wait ends; a stop flag set from the start or by the n-th pump.
  const uint32_t ms = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 100)
                                       : in.ConsumeIntegralInRange<uint32_t>(0, UINT32_MAX - 1);
  const uint32_t first_tick = in.ConsumeIntegral<uint32_t>();
  std::vector<uint32_t> steps;
  for (int n = in.ConsumeIntegralInRange(1, 30); n > 0; --n)
    steps.push_back(in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 30) : in.ConsumeIntegral<uint32_t>());
  const int stop_after = in.ConsumeIntegralInRange(-1, 40);
  const bool with_stop = in.ConsumeBool(), with_pump = in.ConsumeBool();
  struct Run {
    uint32_t result = 0;
    int readings = 0, pumps = 0;
  };
  auto run_wait = [&](auto wait) {
    Run r;
    bool stop = stop_after == 0;
    uint32_t now = first_tick, first = 0;
    const std::function<uint32_t()> ticks = [&] {
      now = r.readings < static_cast<int>(steps.size()) ? now + steps[r.readings] : first + ms + 1;
      if (r.readings++ == 0) first = now;
      return now;
    };
    const std::function<void()> pump = [&] {
      if (++r.pumps == stop_after) stop = true;
    };
    r.result = wait(ms, with_stop ? &stop : nullptr, ticks, with_pump ? pump : std::function<void()>());
    return r;
  };
  const Run a = run_wait(WaitTicks), b = run_wait(literal::Wait);
  Same("WaitTicks", static_cast<long long>(a.result), static_cast<long long>(b.result));
  Same("WaitTicks readings", a.readings, b.readings);
  Same("WaitTicks pumps", a.pumps, b.pumps);
  return 0;
}
