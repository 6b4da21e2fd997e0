// against the platform: the text is the platform's own form of a fresh GUID.
#include "kv_tools/identifiers.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <set>

namespace Kv_tools {
namespace {

TEST(IdentifiersWin, TheTextIsTheRegistryFormOfAGuid) {
  std::set<String> seen;
  for (int i = 0; i < 1000; ++i) {
    String id = CreateStrID();
    GUID guid;
    ASSERT_EQ(IIDFromString(const_cast<LPOLESTR>(rtl::W(id)), &guid), S_OK) << rtl::ToUtf8(id);
    wchar_t back[64];
    ASSERT_EQ(StringFromGUID2(guid, back, 64), 39);
    EXPECT_EQ(rtl::FromW(back), id);
    EXPECT_TRUE(seen.insert(id).second);
  }
  String file = CreateFileID();
  EXPECT_EQ(file.size(), 46u);
  EXPECT_EQ(file.substr(38), u".mailmsg");
}

}  // namespace
}  // namespace Kv_tools
