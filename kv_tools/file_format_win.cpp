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

// The whole file; nothing when it does not exist (rtl::ReadFileBytes raises the errors).
std::optional<std::string> ReadWholeFile(const String& name) {
  if (!rtl::FileExists(name)) return std::nullopt;
  return rtl::ReadFileBytes(name);
}

}  // namespace

String GetFileFormat(const String& FileName) {
  const auto bytes = ReadWholeFile(FileName);
  return bytes ? FileFormatOf(std::string_view(*bytes)) : u"Ansi";
}

const rtl::Encoding* GetFileFormatEncoding(const String& FileName) {
  const auto bytes = ReadWholeFile(FileName);
  return bytes ? FileEncodingOf(std::string_view(*bytes)) : rtl::Encoding::ANSI();
}

const rtl::Encoding* CheckFileFormat(const String& FileName, int& Figure, bool& LineBreak) {
  Figure = 0;
  LineBreak = false;
  const auto bytes = ReadWholeFile(FileName);
  return bytes ? CheckedEncodingOf(std::string_view(*bytes), Figure, LineBreak) : rtl::Encoding::ANSI();
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
    List->SetText(DecodeText(std::string_view(*bytes), FileEncodingOf(std::string_view(*bytes))));
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace Kv_tools
