// The atom messages toward a window that is gone: the post fails, and the atom the sender
// added is deleted again (the receiver that would delete it does not exist).
#include "kv_tools/messages.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace Kv_tools {
namespace {

TEST(InterAppMessagesWin, FailedPostLeavesNoAtom) {
  HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(gone, nullptr);
  DestroyWindow(gone);
  EXPECT_TRUE(SendWndInterAppMessage(gone, WM_APP, 1, u"wtarn gone 16a"));
  EXPECT_EQ(GlobalFindAtomW(L"wtarn gone 16a"), 0);
  for (int i = 0; i < 1000; ++i) SendWndInterAppMessage(gone, WM_APP, 1, u"wtarn gone 16a");
  EXPECT_EQ(GlobalFindAtomW(L"wtarn gone 16a"), 0);

  // An atom of the same name held by someone else keeps that holder's count.
  const ATOM held = GlobalAddAtomW(L"wtarn held 16a");
  EXPECT_TRUE(SendWndInterAppMessage(gone, WM_APP, 1, u"wtarn held 16a"));
  EXPECT_EQ(GlobalFindAtomW(L"wtarn held 16a"), held);
  GlobalDeleteAtom(held);
  EXPECT_EQ(GlobalFindAtomW(L"wtarn held 16a"), 0);
}

}  // namespace
}  // namespace Kv_tools
