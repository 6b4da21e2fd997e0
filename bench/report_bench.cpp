// Routines without a peer, for the record: the password rating and the project-file readers.
#include <cmath>
#include <memory>

#include "benches.h"
#include "inputs.h"
#include "kv_tools/password.h"
#include "kv_tools/project_xml.h"

namespace bench {
namespace {

using rtl::StringList;

// The checksum of a routine's string result.
uint64_t Checksum(const String& s) {
  uint64_t h = s.size();
  for (char16_t c : s) Mix(h, c);
  return h;
}

}  // namespace

std::vector<Operation> ReportOperations() {
  constexpr int kPasswords = 1'000'000, kLines = 50'000;
  auto passwords = std::make_shared<const std::vector<String>>(Passwords(kPasswords));
  std::vector<Operation> ops;
  ops.push_back({"5. For the record", "PasswQuality", Count(kPasswords) + " passwords of 8 to 32 characters",
                 kPasswords, "passwords",
                 {"ours: PasswQuality", [passwords] {
                    uint64_t h = 0;
                    for (const String& p : *passwords)
                      Mix(h, static_cast<uint64_t>(std::llround(Kv_tools::PasswQuality(p) * 1e9)));
                    return h;
                  }}});

  auto file = std::make_shared<const StringList>(ProjectFile(kLines));
  const std::string input = "a project file of " + Count(static_cast<uint64_t>(file->Count())) +
                            " lines: 100 configurations, 10,000 unit references, deployment, build events";
  auto xml = [&](const std::string& name, std::function<String(const StringList&)> read) {
    ops.push_back({"5. For the record", name, input, static_cast<double>(file->Count()), "lines",
                   {"ours", [file, read] { return Checksum(read(*file)); }}});
  };
  xml("GetXMLValue <DCC_ExeOutput>, every value with macros, so all lines",
      [](const StringList& f) { return Kv_tools::GetXMLValue(f, u"<DCC_ExeOutput>"); });
  xml("GetXMLProperty <PostBuildEvent> of the last property group", [](const StringList& f) {
    return Kv_tools::GetXMLProperty(f, u"<PropertyGroup Condition=\"'$(Config)'=='Debug' AND '$(Platform)'=='Win32'\">",
                                    u"<PostBuildEvent>");
  });
  xml("GetXMLItems <DCCReference> of every item group",
      [](const StringList& f) { return Kv_tools::GetXMLItems(f, u"<ItemGroup", u"<DCCReference"); });
  xml("GetXMLItemGroups <DCCReference>",
      [](const StringList& f) { return Kv_tools::GetXMLItemGroups(f, u"<ItemGroup", u"<DCCReference"); });
  xml("GetXMLPropertyGroups <DCC_ExeOutput>",
      [](const StringList& f) { return Kv_tools::GetXMLPropertyGroups(f, u"<PropertyGroup", u"<DCC_ExeOutput>"); });
  return ops;
}

}  // namespace bench
