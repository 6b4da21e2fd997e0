#include "tarnedata/project.h"

#include "kv_tools/ini_registry.h"
#include "kv_tools/paths.h"
#include "kv_tools/strings.h"
#include "tarnedata/globals.h"

namespace TarnEdata {

namespace {

bool Contains(const String& s, const char16_t* part) { return s.find(part) != String::npos; }

}  // namespace

String GetFileName(const String& FileName) {
  if (Contains(FileName, u":\\") || FileName.starts_with(u"\\\\") || !Project) return FileName;
  if (!Contains(FileName, u"..") && !Contains(FileName, u"\\") && !Contains(FileName, u"/"))
    return Kv_tools::chkPath(Project->Path) + FileName;
  if (Project->Path.ends_with(u'\\')) Project->Path.pop_back();
  String base = Project->Path;
  String name = FileName;
  for (size_t up; (up = name.find(u"..\\")) != String::npos;) {
    base = GetPrevDir(base);
    name.erase(up, 3);
  }
  return Kv_tools::chkPath(base) + name;
}

String GetPrevDir(const String& Folder) {
  if (Folder.size() <= 3) return Folder;
  size_t slash = Folder.find_last_of(u'\\', Folder.size() - 2);
  return slash == String::npos ? Folder : Folder.substr(0, slash + 1);
}

int GetSpaceCount(const String& S) {
  size_t first_other = S.find_first_not_of(u' ');
  return static_cast<int>(first_other == String::npos ? S.size() : first_other);
}

bool RegKeyExists(const String& Key, rtl::RootKey Root) {
  try {
    rtl::Registry registry(rtl::kKeyRead);
    registry.SetRootKey(Root);
    return registry.KeyExists(Key);
  } catch (...) {
    return false;
  }
}

bool RegReadStr(const String& Key, const String& Name, String& Value, rtl::RootKey Root) {
  return Kv_tools::RegReadStr(Key, Name, Value, Root);
}

// The key is matched together with the #1 that ends it in every stored line, so that U1
// never takes the line of U10.
void SetPosChanges(const rtl::StringList& List, const String& Key) {
  if (!slPosInfo) return;
  const String head = Key + u'\x01';
  const String line = head + Kv_tools::ReplaceStr(List.Text(), u"\r\n", u"\x03", true);
  for (int i = 0; i < slPosInfo->Count(); ++i) {
    if ((*slPosInfo)[i].starts_with(head)) {
      slPosInfo->Put(i, line);
      return;
    }
  }
  slPosInfo->Add(line);
}

}  // namespace TarnEdata
