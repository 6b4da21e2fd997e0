// The file and stream side of the text-file formats: read the bytes, let the decisions over
// bytes answer.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "kv_tools/file_format.h"
#include "rtl/file_system.h"
#include "rtl/handles.h"

namespace Kv_tools {
namespace {

// A file's bytes, read whole.
struct FileBytes {
  std::unique_ptr<char[]> data;
  size_t size = 0;
  std::string_view View() const { return {data.get(), size}; }
};

// The whole file; nothing when it does not exist. rtl::EFOpenError when it cannot be opened
// (it is opened for reading while others may only read it too), rtl::EReadError when it
// yields fewer bytes than its size.
std::optional<FileBytes> ReadWholeFile(const String& name) {
  if (!rtl::FileExists(name)) return std::nullopt;
  rtl::UniqueFile file(CreateFileW(rtl::W(name), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.get(), &size))
    throw rtl::EFOpenError(u"Cannot open file \"" + name + u"\"", GetLastError());
  FileBytes bytes;
  bytes.size = static_cast<size_t>(size.QuadPart);
  bytes.data = std::make_unique_for_overwrite<char[]>(bytes.size);
  for (size_t done = 0; done < bytes.size;) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data.get() + done, want, &got, nullptr) || got == 0)
      throw rtl::EReadError(u"Stream read error");
    done += got;
  }
  return bytes;
}

}  // namespace

String GetFileFormat(const String& FileName) {
  const auto bytes = ReadWholeFile(FileName);
  return bytes ? FileFormatOf(bytes->View()) : u"Ansi";
}

const rtl::Encoding* GetFileFormatEncoding(const String& FileName) {
  const auto bytes = ReadWholeFile(FileName);
  return bytes ? FileEncodingOf(bytes->View()) : rtl::Encoding::ANSI();
}

const rtl::Encoding* CheckFileFormat(const String& FileName, int& Figure, bool& LineBreak) {
  Figure = 0;
  LineBreak = false;
  const auto bytes = ReadWholeFile(FileName);
  return bytes ? CheckedEncodingOf(bytes->View(), Figure, LineBreak) : rtl::Encoding::ANSI();
}

void LoadLinesFromStream(StringList& Lines, rtl::Stream& Source,
                         const rtl::Encoding* TextEncoding) {
  StringList read;
  read.SetText(DecodeText(Source.ReadToEnd(), TextEncoding));
  Lines.AddStrings(read);  // one batch update
}

void SaveLinesToStream(const StringList& Lines, rtl::Stream& Target,
                       const rtl::Encoding* TextEncoding) {
  const std::string bytes = EncodeLines(Lines, TextEncoding, Target.Size() == 0);
  Target.WriteBuffer(bytes.data(), bytes.size());
}

bool CanLoadStringList(StringList*& List, const String& FileName) {
  if (!rtl::FileExists(FileName)) return false;
  if (!List) List = new StringList;
  try {
    const auto bytes = ReadWholeFile(FileName);
    if (!bytes) return false;
    List->SetText(DecodeText(bytes->View(), FileEncodingOf(bytes->View())));
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace Kv_tools
