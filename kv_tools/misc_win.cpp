#include "kv_tools/misc.h"

#include <shellapi.h>
#include <winspool.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "kv_tools/globals.h"
#include "kv_tools/message_box.h"
#include "rtl/file_system.h"
#include "rtl/forms_win.h"
#include "rtl/handles.h"
#include "rtl/published_win.h"

namespace Kv_tools {
namespace {

struct ClosePrinterHandle {
  void operator()(HANDLE h) const { ClosePrinter(h); }
};
using UniquePrinter = std::unique_ptr<void, ClosePrinterHandle>;

UniquePrinter OpenPrinterForUse(const wchar_t* name) {
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(name), &printer, &defaults)) return nullptr;
  return UniquePrinter(printer);
}

// The printer's level-2 information block, zero-filled before the read; empty when the
// spooler can't give it.
std::vector<BYTE> ReadPrinterBlock(HANDLE printer) {
  SetLastError(0);
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  if (needed < sizeof(PRINTER_INFO_2W)) return {};
  std::vector<BYTE> block(needed);
  if (!GetPrinterW(printer, 2, block.data(), needed, &needed)) return {};
  return block;
}

void WriteWholeFile(const String& name, const std::string& bytes) {
  rtl::UniqueFile file(CreateFileW(rtl::W(name), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    const DWORD error = GetLastError();
    throw rtl::EOSError(u"Cannot create file \"" + name + u"\"", error);
  }
}

// The module that holds this library.
HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

}  // namespace

void DoLog(rtl::TObject*, TLog, const String&) {}

void TestTimerStart() {
  LARGE_INTEGER value{};
  QueryPerformanceFrequency(&value);
  iTimerFreq = value.QuadPart;
  QueryPerformanceCounter(&value);
  iTimerStart = value.QuadPart;
}

String TestTimerStop(bool Show) {
  LARGE_INTEGER value{};
  QueryPerformanceCounter(&value);
  iTimerStop = value.QuadPart;
  const String text = ElapsedMsText(iTimerStart, iTimerStop, iTimerFreq,
                                    rtl::ProcessFormatSettings().DecimalSeparator);
  if (Show) ShowMessage(text);
  return text;
}

void SavePrinterInfo(const wchar_t* APrinterName, rtl::Stream& AStream) {
  UniquePrinter printer = OpenPrinterForUse(APrinterName);
  if (!printer) return;
  const std::vector<BYTE> block = ReadPrinterBlock(printer.get());
  if (!block.empty())
    AStream.WriteBuffer(block.data() + sizeof(PRINTER_INFO_2W), block.size() - sizeof(PRINTER_INFO_2W));
}

void LoadPrinterInfo(const wchar_t* APrinterName, rtl::Stream& AStream) {
  UniquePrinter printer = OpenPrinterForUse(APrinterName);
  if (!printer) return;
  std::vector<BYTE> block = ReadPrinterBlock(printer.get());
  if (block.empty()) return;
  auto* info = reinterpret_cast<PRINTER_INFO_2W*>(block.data());
  info->pSecurityDescriptor = nullptr;
  const size_t rest = block.size() - sizeof(PRINTER_INFO_2W);
  if (AStream.Read(block.data() + sizeof(PRINTER_INFO_2W), rest) != rest)
    throw rtl::EReadError(u"Stream read error");
  // The pointers are the current block's; the bytes they point to came from the stream.
  const std::string_view bytes(reinterpret_cast<const char*>(block.data()), block.size());
  if (!PrinterInfoBlockIsSound(bytes, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block.data())))) return;
  if (DocumentPropertiesW(nullptr, printer.get(), const_cast<wchar_t*>(APrinterName), info->pDevMode,
                          info->pDevMode, DM_IN_BUFFER | DM_OUT_BUFFER) == IDOK)
    SetPrinterW(printer.get(), 2, block.data(), 0);
}

void SaveCompToFile(const rtl::TComponent& Component, const String& FileName) {
  rtl::MemoryStream stream;
  rtl::WriteComponent(Component, stream);
  WriteWholeFile(FileName, stream.Bytes());
}

void LoadCompFromFile(rtl::TComponent& Component, const String& FileName) {
  rtl::MemoryStream stream(rtl::ReadFileBytes(FileName));
  rtl::ReadComponent(Component, stream);
}

bool GetFileListFromClipBoard(rtl::StringList& List) {
  if (!IsClipboardFormatAvailable(CF_HDROP)) return false;
  if (OpenClipboard(rtl::Application().Handle())) {
    if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
      const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        wchar_t name[MAX_PATH + 1] = {};
        DragQueryFileW(drop, i, name, MAX_PATH + 1);
        List.Add(rtl::FromW(name));
      }
    }
    CloseClipboard();
  }
  return List.Count() > 0;
}

void CreateStreamFromResource(const String& ResName, rtl::MemoryStream& AStream) {
  const HMODULE module = ThisModule();
  HRSRC info = FindResourceW(module, rtl::W(ResName), MAKEINTRESOURCEW(10));
  HGLOBAL data = info ? LoadResource(module, info) : nullptr;
  const auto* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
  if (!bytes) throw rtl::EResNotFound(u"Resource " + ResName + u" not found");
  constexpr size_t kBlock = 0x100000;
  for (size_t done = 0, size = SizeofResource(module, info); done < size; done += kBlock)
    AStream.WriteBuffer(bytes + done, std::min(kBlock, size - done));
}

void ShowDebugInfo(const String& Msg) { OutputDebugStringW(rtl::W(Msg)); }

void FreeListObjects(rtl::StringList& List) {
  for (int i = 0; i < List.Count(); ++i) delete static_cast<rtl::TObject*>(List.Objects(i));
}

}  // namespace Kv_tools
