#include "kv_tools/messages.h"

#include "kv_tools/window_helpers.h"
#include "rtl/platform.h"
#include "tests/plugin/plugin_fixture.h"

namespace plugin_test {
namespace {

const UINT kMessage = RegisterWindowMessageW(L"WTarnPluginTestMessage");

// The name of the atom a message carried, deleting the atom as a receiver does; "" for 0.
String TakeAtom(LPARAM lp) {
  if (lp == 0) return String();
  wchar_t name[256];
  UINT n = GlobalGetAtomNameW(static_cast<ATOM>(lp), name, 256);
  GlobalDeleteAtom(static_cast<ATOM>(lp));
  return rtl::FromW(name, n);
}

// The test message the window got since the last call; false when none came.
bool TakeMessage(TestWindow& w, TestWindow::Message& out) {
  PumpFor(30);
  bool got = false;
  for (const TestWindow::Message& m : w.received)
    if (m.msg == kMessage) out = m, got = true;
  w.received.clear();
  return got;
}

TEST(InterAppMessages, SendWndInterAppMessage) {
  TestWindow receiver(L"WTarnReceiver", L"WTarn receiver", false);
  const String long_text(256, u'x');
  struct Row {
    const char* label;
    bool to_window;  // else broadcast
    String text;
    bool result;
    String atom;  // what the receiver finds behind parameter 2
  } rows[] = {
      {"to a window", true, u"C:\\Demo.dproj", true, u"C:\\Demo.dproj"},
      {"empty text: no atom", true, u"", true, u""},
      {"broadcast", false, u"to everybody", false, u"to everybody"},
      {"text beyond the atom table", true, long_text, true, u""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(Kv_tools::SendWndInterAppMessage(r.to_window ? receiver.Handle() : nullptr,
                                               static_cast<uint16_t>(kMessage), 7, r.text),
              r.result);
    TestWindow::Message m{};
    ASSERT_TRUE(TakeMessage(receiver, m));
    EXPECT_EQ(m.wp, 7u);
    EXPECT_EQ(TakeAtom(m.lp), r.atom);
  }
}

TEST(InterAppMessages, SendInterAppMessage) {
  TestWindow receiver(L"WTarnReceiver", L"WTarn receiver", false);
  const std::string ansi_text = rtl::EncodeAnsi(u"Größe");
  struct Row {
    const char* label;
    std::string class_name, title, text;
    bool result, received;
    String atom;
  } rows[] = {
      {"class and title of a window", "WTarnReceiver", "WTarn receiver", ansi_text, true, true,
       u"Größe"},
      {"no such window", "WTarnReceiver", "nobody 4711", "unposted 4711", false, false, u""},
      {"empty title: broadcast", "WTarnReceiver", "", "all", true, true, u"all"},
      {"empty class: broadcast", "", "WTarn receiver", "", true, true, u""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(Kv_tools::SendInterAppMessage(r.class_name, r.title, static_cast<uint16_t>(kMessage),
                                            3, r.text),
              r.result);
    TestWindow::Message m{};
    ASSERT_EQ(TakeMessage(receiver, m), r.received);
    if (r.received) {
      EXPECT_EQ(TakeAtom(m.lp), r.atom);
    }
  }
  EXPECT_EQ(GlobalFindAtomW(L"unposted 4711"), 0) << "no atom without a post";
}

TEST(WindowSearch, TopLevelWindowsByClassAndTitlePart) {
  TestWindow window(L"WTarnSearchTarget", L"WTarn search target 4711", false);
  EXPECT_EQ(Kv_tools::InAllWindowTitle(u"wtarnsearchtarget", u"SEARCH TARGET 4711"),
            window.Handle());
  EXPECT_EQ(Kv_tools::InAllWindowTitle(u"", u"search target 4711"), window.Handle());
  EXPECT_EQ(Kv_tools::InAllWindowTitle(u"TMainForm", u"search target 4711"), nullptr);
  EXPECT_EQ(Kv_tools::InWindowTitle(u"WTarnSearchTarget", u"search target 4711"), nullptr)
      << "hidden windows are not taken";
  ShowWindow(window.Handle(), SW_SHOWNA);
  EXPECT_EQ(Kv_tools::InWindowTitle(u"WTarnSearchTarget", u"search target 4711"), window.Handle());
}

}  // namespace
}  // namespace plugin_test
