// Kv_tools: miscellaneous services: logging entry point, stop-watch, week numbers, printer
// settings, component files, the clipboard's file list, resources, debugger output.
#pragma once

#include <cstdint>
#include <string_view>

#include "rtl/string.h"

#ifdef _WIN32
#include <windows.h>

#include "rtl/controls_win.h"
#include "rtl/stream.h"
#include "rtl/string_list.h"
#endif

namespace Kv_tools {

using rtl::String;

// The kinds of log entry, in their ordinal order 0 to 8.
enum TLog {
  LogStartTimer,
  LogStopTimer,
  LogSystemInformation,
  LogError,
  LogWarningFormat,
  LogInfoFormat,
  LogTrace,
  LogDebug,
  LogInfo
};

// The ISO 8601 week number (1 to 53) of a date value (days since 30 December 1899); the time
// of day does not count. Weeks run Monday to Sunday; week 1 holds the year's first Thursday.
// A value whose week's Thursday is not a day of the years 1 to 9999 (NaN too) gives 0.
// Example: WeekOfYear(29 December 2014) == 1; WeekOfYear(1 January 2016) == 53.
KV_API int WeekOfYear(double ADate);

// Count line breaks (CR LF); empty for Count <= 0. Example: ANewL(2) == u"\r\n\r\n".
KV_API String ANewL(int Count);

// The stop-watch text for a counter interval: (Stop - Start) / Freq in milliseconds, two
// decimals with DecimalSeparator, then " ms". EZeroDivide when Freq is 0.
// Example: ElapsedMsText(0, 15000, 10000, u',') == u"1500,00 ms".
KV_API String ElapsedMsText(int64_t Start, int64_t Stop, int64_t Freq, char16_t DecimalSeparator);

// True when a printer's level-2 information block of the 32-bit layout (84 bytes of fixed
// record at address Base, then the texts and device mode it points to) is safe to hand to
// the spooler: every text pointer is null or points into the variable part at a text that
// ends there, and the device mode lies wholly inside it.
// Example: a block whose device mode claims more driver bytes than the block holds is unsound.
KV_API bool PrinterInfoBlockIsSound(std::string_view Block, uint32_t Base);

#ifdef _WIN32
// The logging entry point: takes its arguments and does nothing.
KV_API void DoLog(rtl::TObject* Sender, TLog Kind, const String& Msg);

// Starts the stop-watch: iTimerFreq and iTimerStart from the performance counter.
KV_API void TestTimerStart();

// Stops the stop-watch (iTimerStop) and returns the elapsed time as ElapsedMsText under the
// process's decimal separator, also shown in a message box when Show is true. EZeroDivide
// when the stop-watch was never started. Example: u"1500,00 ms" after 1.5 s under German formats.
KV_API String TestTimerStop(bool Show);

// Writes the variable part of the printer's level-2 information block (its texts and device
// mode, no header) to AStream; writes nothing when the printer can't be opened or read.
KV_API void SavePrinterInfo(const wchar_t* APrinterName, rtl::Stream& AStream);

// Reads what SavePrinterInfo wrote for the same printer over its current block and, when the
// driver accepts the device mode, stores it as the printer's settings. Does nothing when the
// printer can't be opened or read, or when the stream's bytes break the block's texts or
// device mode; EReadError when the stream is short.
KV_API void LoadPrinterInfo(const wchar_t* APrinterName, rtl::Stream& AStream);

// Writes the component's published properties to the file (see rtl/published_win.h).
// EOSError when the file can't be written.
// Deliberately writes the component's own properties only, not the components it owns.
KV_API void SaveCompToFile(const rtl::TComponent& Component, const String& FileName);

// Reads the properties that SaveCompToFile wrote into the component. EFOpenError for a
// missing file, EReadError for a file of another format or class.
KV_API void LoadCompFromFile(rtl::TComponent& Component, const String& FileName);

// Appends the files of the clipboard's file-drop list to List (names cut at 260 characters);
// true when List then holds any entry, old ones included. False at once, List untouched,
// when the clipboard holds no file list.
KV_API bool GetFileListFromClipBoard(rtl::StringList& List);

// Appends the raw-data resource (RT_RCDATA) ResName of the package to AStream at its
// position. EResNotFound when the package has no such resource.
// Example: CreateStreamFromResource(u"DESCRIPTION", stream) appends the package description.
KV_API void CreateStreamFromResource(const String& ResName, rtl::MemoryStream& AStream);

// Sends the text to the debugger's output.
KV_API void ShowDebugInfo(const String& Msg);

// Frees the object (an rtl::TObject or null) attached to every entry, first to last; the
// entries and their now dangling object pointers stay in the list.
KV_API void FreeListObjects(rtl::StringList& List);

// An object that carries one integer, for lists that attach numbers to their entries.
class KV_API TIObject : public rtl::TObject {
 public:
  explicit TIObject(int Index) : I(Index) {}
  int32_t I;
};
#endif

}  // namespace Kv_tools
