// The runtime's file-name helpers against their descriptions, written with the last "\" or
// ":" (and "." for extensions) found by hand; and the native build's reading of a Windows
// name as a Linux path.
#include "fuzz/fuzz_input.h"
#include "rtl/file_system.h"

namespace literal {

using rtl::String;

// 1-based position of the last character of s that is in set; 0 when none.
size_t Last(const String& s, const String& set) {
  for (size_t i = s.size(); i >= 1; --i)
    if (set.find(s[i - 1]) != String::npos) return i;
  return 0;
}

String Path(const String& s) { return s.substr(0, Last(s, u"\\:")); }
String Name(const String& s) { return s.substr(Last(s, u"\\:")); }
String Dir(const String& s) {
  size_t i = Last(s, u"\\:");
  if (i > 1 && s[i - 1] == u'\\' && s[i - 2] != u'\\' && s[i - 2] != u':') --i;
  return s.substr(0, i);
}
String Ext(const String& s) {
  const size_t i = Last(s, u".\\:");
  return i > 0 && s[i - 1] == u'.' ? s.substr(i - 1) : String();
}

std::string Native(const String& name) {
  String s = name;
  if (s.size() >= 2 && s[1] == u':') {
    if (s[0] != u'Z' && s[0] != u'z') return std::string();
    s = s.size() == 2 ? String(u"\\") : s.substr(2);
  } else if (s.starts_with(u"\\\\")) {
    return std::string();
  }
  for (char16_t& c : s)
    if (c == u'\\') c = u'/';
  return rtl::ToUtf8(s);
}

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using fuzz::Same;
  using rtl::String;
  FuzzedDataProvider in(data, size);
  String name;
  for (int n = in.ConsumeIntegralInRange(0, 10); n > 0; --n) {
    static const char16_t* const kPieces[] = {u"C:", u"Z:", u"z:", u"\\", u"\\\\", u":", u".", u"a", u"b.txt", u".gz", u"/"};
    name += in.ConsumeIntegralInRange(0, 7) ? String(kPieces[in.ConsumeIntegralInRange(0, 10)]) : fuzz::Text(in, 2);
  }
  const String ext = in.ConsumeBool() ? String(u".INI") : fuzz::Text(in, 3);

  Same("ExtractFilePath", rtl::ExtractFilePath(name), literal::Path(name));
  Same("ExtractFileDir", rtl::ExtractFileDir(name), literal::Dir(name));
  Same("ExtractFileName", rtl::ExtractFileName(name), literal::Name(name));
  Same("ExtractFileExt", rtl::ExtractFileExt(name), literal::Ext(name));
  Same("ChangeFileExt", rtl::ChangeFileExt(name, ext), name.substr(0, name.size() - literal::Ext(name).size()) + ext);
  Same("the name is its path and file name", literal::Path(name) + literal::Name(name), name);
  const bool slash = !name.empty() && name.back() == u'\\';
  Same("IncludeTrailingPathDelimiter", rtl::IncludeTrailingPathDelimiter(name), slash ? name : name + u"\\");
  Same("ExcludeTrailingPathDelimiter", rtl::ExcludeTrailingPathDelimiter(name), slash ? name.substr(0, name.size() - 1) : name);
  fuzz::Holds("NativePath", rtl::NativePath(name) == literal::Native(name));
  return 0;
}
