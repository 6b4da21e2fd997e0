// The folder decisions against their descriptions: disk modes of drive types, drive roots,
// the profiles folder, the dialog's start folder, the probe's name; the special folders through
// the test seam and the native platform; and the folder dialog, which the native build never
// shows, leaving InitFolder empty.
#include "fuzz/fuzz_input.h"
#include "kv_tools/folders.h"
#include "kv_tools/globals.h"
#include "tests/core/fields_reference.h"

namespace literal {

using fields_reference::Copy;
using rtl::String;

String chkPath(const String& s) { return s.empty() || s.back() == u'\\' ? s : s + u'\\'; }

String DriveRootOf(const String& folder) {
  String root = Copy(folder, 1, 1) + u":\\";
  return fields_reference::Lower(root);
}

String ProfilesFolderFrom(const String& value, const String& windows_path) {
  const String s = fields_reference::ReplaceAll(value, u"%SystemDrive%", Copy(windows_path, 1, 2));
  return s.empty() ? chkPath(windows_path) + u"Profiles" : s;
}

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);

  const unsigned drive_type = in.ConsumeBool() ? in.ConsumeIntegralInRange(0u, 7u) : in.ConsumeIntegral<unsigned>();
  Same("DiskModeFromDriveType", DiskModeFromDriveType(drive_type), String(drive_type == 2 ? u"Mobile" : u"Fixed"));

  const String folder = fuzz::Text(in, 8), windows_path = fuzz::Text(in, 6);
  String value;
  for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
    value += in.ConsumeBool() ? String(u"%SystemDrive%") : fuzz::Text(in, 4);
  Same("DriveRootOf", DriveRootOf(folder), literal::DriveRootOf(folder));
  Same("ProfilesFolderFrom", ProfilesFolderFrom(value, windows_path), literal::ProfilesFolderFrom(value, windows_path));
  Same("InitialFolderText", InitialFolderText(folder),
       folder.size() > 3 && folder.back() == u'\\' ? folder.substr(0, folder.size() - 1) : folder);
  Same("DriveProbeName", DriveProbeName(folder), literal::chkPath(fields_reference::Copy(folder, 1, 2)) + u"jjhhuu.ini");

  // Special folders: the seam's answer when it gives one, the platform's otherwise (natively
  // only 5 and 26 are known).
  const int csidl = in.ConsumeBool() ? in.ConsumeIntegralInRange(-1, 40) : in.ConsumeIntegral<int>();
  const bool answers = in.ConsumeBool();
  const String answer = fuzz::Text(in, 6);
  SetSpecialFolderSource([&](int asked) -> std::optional<String> {
    if (asked != csidl || !answers) return std::nullopt;
    return answer;
  });
  const String through_seam = GetSpecialFolder(csidl);
  SetSpecialFolderSource({});
  const String platform = GetSpecialFolder(csidl);
  Same("GetSpecialFolder through the seam", through_seam, answers ? answer : platform);
  if (csidl != kCsidlAppData && csidl != kCsidlPersonal) Same("GetSpecialFolder", platform, String());

  const String title = fuzz::Text(in, 6);
  Same("Getfolder", Getfolder(csidl, title), String());
  Same("GetInitfolder", GetInitfolder(folder, csidl, title), String());
  Same("GetInitfolder leaves InitFolder empty", InitFolder, String());
  return 0;
}
