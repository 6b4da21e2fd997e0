// Kv_tools processes and shell: the decisions that need no platform (command lines, the
// shell's error texts, the reading of a program line, the help viewer's call, the wait).
#include "kv_tools/processes.h"

#include "kv_tools/paths.h"
#include "kv_tools/strings.h"
#include "rtl/file_system.h"
#include "rtl/platform.h"

namespace Kv_tools {
namespace {

using rtl::StringView;

constexpr size_t kShortLimit = 255;  // characters taken from a line, as a short string holds

// s without leading and trailing blanks and control characters.
String Trim(StringView s) {
  size_t first = 0, last = s.size();
  while (first < last && s[first] <= u' ') ++first;
  while (last > first && s[last - 1] <= u' ') --last;
  return String(s.substr(first, last - first));
}

String Quoted(const String& s) { return u"\"" + s + u"\""; }

}  // namespace

String ExecCommandLine(const String& FileName, const String& Params) {
  return Quoted(FileName) + u" " + Quoted(Params);
}

String LogonCommandLine(const String& Program, const String& Params) {
  return Params.empty() ? Program : Program + u" " + Quoted(Params);
}

String ShellExecuteErrorText(int Code) {
  switch (Code) {
    case 0: return u"Zuwenig Speicher, ausführbare Datei war zerstört, Relokationswerte waren ungültig";
    case 2: return u"Datei wurde nicht gefunden.";
    case 3: return u"Verzeichnis wurde nicht gefunden.";
    case 5:
      return u"Fehler beim Zugriff auf eine Datei oder Verzeichnis im Netz oder Fehler beim Zugriff auf eine "
             u"gesperrte Datei im Netz. Möglicherweise besteht derzeit kein Netzzugang.";
    case 6: return u"Bibliothek forderte separate Datensegmente für jede Task an.";
    case 8: return u"Zuwenig Speicher, um die Anwendung zu starten.";
    case 10: return u"Falsche Windows-Version.";
    case 11:
      return u"Ungültige ausführbare Datei. Entweder keine Windows-Anwendung oder Fehler in der EXE-Datei.";
    case 12: return u"Anwendung für ein anderes Betriebssystem.";
    case 13: return u"Anwendung für MS-DOS 4.0.";
    case 14: return u"Typ der ausführbaren Datei unbekannt.";
    case 15: return u"Versuch, eine Real-Mode-Anwendung (für eine frühere Windows-Version) zu laden.";
    case 16:
      return u"Versuch, eine zweite Instanz einer ausführbaren Datei mit mehreren Datensegmenten, die nicht als "
             u"nur lesbar gekennzeichnet waren, zu laden.";
    case 19:
      return u"Versuch, eine komprimierte ausführbare Datei zu laden. Die Datei muß dekomprimiert werden, bevor "
             u"sie geladen werden kann.";
    case 20:
      return u"Ungültige dynamische Linkbibliothek (DLL). Eine der DLLs, die benötigt wurde, um die Anwendung "
             u"auszuführen, war beschädigt.";
    default: return String();
  }
}

std::optional<ShellRequest> SplitShellLine(const String& Line) {
  if (Line.empty()) return std::nullopt;
  ShellRequest request;
  if (Line[0] == u'"') {
    const size_t close = Line.find(u'"', 1);
    if (close != String::npos && close <= kShortLimit) {
      request.File = Line.substr(0, close + 1);
      request.Parameters = Trim(StringView(Line).substr(close + 1, kShortLimit));
      if (request.Parameters.find(u'"') == String::npos) request.Parameters = Quoted(request.Parameters);
      return request;
    }
    request.File = Line;
  } else if (const size_t quote = Line.find(u'"'); quote != String::npos) {
    request.File = Trim(StringView(Line).substr(0, quote));
    request.Parameters = Line.substr(quote, kShortLimit);
    return request;
  } else {
    request.File = Line;
  }
  request.File = ReplaceStr(request.File, u"\"", u"", true);
  return request;
}

ShellRequest RunAsRequest(const String& FileName, const String& Params,
                          const std::function<String(const String&)>& exe_for_file) {
  const String lower = rtl::AnsiLowerCase(FileName);
  if (lower.find(u".exe") != String::npos || lower.find(u".com") != String::npos || !Params.empty())
    return {FileName, Params};
  const String program = exe_for_file(FileName);
  if (program.empty()) return {FileName, Params};
  return {program, FileName};
}

ShellRequest HelpViewerRequest(const String& Topic, const String& explicit_file, const String& program_file) {
  const String help_file = explicit_file.empty() ? rtl::ChangeFileExt(program_file, u".cHelp") : explicit_file;
  return {chkPath(rtl::ExtractFileDir(program_file)) + u"ShowHelp.exe", Quoted(help_file) + u" " + Quoted(Topic)};
}

uint32_t WaitTicks(uint32_t Milliseconds, const bool* stop, const std::function<uint32_t()>& ticks,
                   const std::function<void()>& pump) {
  const uint32_t start = ticks();
  for (;;) {
    if (pump) pump();
    const uint32_t passed = ticks() - start;
    if (passed > Milliseconds || (stop && *stop)) return passed;
  }
}

}  // namespace Kv_tools
