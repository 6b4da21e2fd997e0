// Miscellaneous services against the platform: stop-watch, printers (none installed),
// component files, the clipboard's file list, resources, list objects.
#include "kv_tools/misc.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include "kv_tools/globals.h"
#include "message_recorder.h"
#include "rtl/encoding.h"
#include "rtl/graphics_win.h"
#include "rtl/published_win.h"
#include "rtl/rich_edit_win.h"

namespace Kv_tools {
namespace {

String TempName(const wchar_t* name) {
  wchar_t dir[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, dir);
  return rtl::FromW(dir) + rtl::FromW(name);
}

TEST(StopWatchWin, TextWithTheProcessSeparatorAndNoStartIsAnError) {
  wtarn_test::MessageRecorder boxes;
  TestTimerStart();
  Sleep(20);
  const String text = TestTimerStop(true);
  EXPECT_GT(iTimerFreq, 0);
  EXPECT_GE(iTimerStop, iTimerStart);
  EXPECT_TRUE(text.ends_with(u" ms"));
  EXPECT_EQ(text[text.size() - 6], rtl::ProcessFormatSettings().DecimalSeparator) << rtl::ToUtf8(text);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, text);

  const int64_t saved = iTimerFreq;
  iTimerFreq = 0;
  EXPECT_THROW(TestTimerStop(false), rtl::EZeroDivide);
  iTimerFreq = saved;
}

TEST(PrinterInfoWin, UnknownPrinterWritesAndReadsNothing) {
  rtl::MemoryStream stream(std::string("abc"));
  stream.SetPosition(1);
  SavePrinterInfo(L"No Such Printer", stream);
  EXPECT_EQ(stream.Bytes(), "abc");
  LoadPrinterInfo(L"No Such Printer", stream);
  EXPECT_EQ(stream.Position(), 1) << "nothing read";
}

TEST(ComponentFilesWin, PublishedPropertiesRoundTrip) {
  const String file = TempName(L"wtarn_component.txt");
  rtl::TPanel panel(nullptr);
  panel.SetBounds(5, 6, 70, 80);
  panel.SetCaption(u"Zeile 1\r\nZeile 2 \\ Ω");
  panel.SetColor(0x00123456);
  panel.SetBevelOuter(rtl::TBevelCut::bvNone);
  panel.SetEnabled(false);
  panel.Hint = u"Tipp";
  panel.Tag = -7;
  panel.SetFont({u"Arial", -13, 0x00FF0000, rtl::fsBold});
  SaveCompToFile(panel, file);

  rtl::TPanel copy(nullptr);
  LoadCompFromFile(copy, file);
  EXPECT_EQ(copy.BoundsRect().left, 5);
  EXPECT_EQ(copy.Top(), 6);
  EXPECT_EQ(copy.Width(), 70);
  EXPECT_EQ(copy.Height(), 80);
  EXPECT_EQ(copy.Caption(), panel.Caption());
  EXPECT_EQ(copy.Color(), 0x00123456u);
  EXPECT_EQ(copy.BevelOuter(), rtl::TBevelCut::bvNone);
  EXPECT_FALSE(copy.Enabled());
  EXPECT_EQ(copy.Hint, u"Tipp");
  EXPECT_EQ(copy.Tag, -7);
  EXPECT_EQ(copy.Font(), panel.Font());

  rtl::TImage image(nullptr), image_copy(nullptr);
  image.Picture().AssignPng({0xFF112233, 0x80445566}, 2, 1);
  rtl::TRichEdit edit(nullptr), edit_copy(nullptr);
  edit.PlainText = true;
  edit.SetCaption(u"Text");
  SaveCompToFile(image, file);
  LoadCompFromFile(image_copy, file);
  EXPECT_EQ(image_copy.Picture().Pixels(), image.Picture().Pixels());
  SaveCompToFile(edit, file);
  LoadCompFromFile(edit_copy, file);
  EXPECT_TRUE(edit_copy.PlainText);
  EXPECT_EQ(edit_copy.Caption(), u"Text");
  DeleteFileW(rtl::W(file));
}

TEST(ComponentFilesWin, WrongFilesReachTheCaller) {
  const String file = TempName(L"wtarn_component_bad.txt");
  rtl::TPanel panel(nullptr);
  EXPECT_THROW(LoadCompFromFile(panel, TempName(L"wtarn_no_such_file.txt")), rtl::EFOpenError);

  rtl::TTimer timer(nullptr);
  timer.SetInterval(250);
  SaveCompToFile(timer, file);
  EXPECT_THROW(LoadCompFromFile(panel, file), rtl::EReadError) << "a file of another class";
  rtl::TTimer timer_copy(nullptr);
  LoadCompFromFile(timer_copy, file);
  EXPECT_EQ(timer_copy.Interval(), 250u);

  struct Row { const char* label; const char* text; } rows[] = {
      {"no header", "class TTimer\r\nInterval=1\r\n"},
      {"unknown property", "WTarn component 1\r\nclass TTimer\r\nColour=1\r\n"},
      {"bad number", "WTarn component 1\r\nclass TTimer\r\nInterval=12x\r\n"},
      {"bad boolean", "WTarn component 1\r\nclass TTimer\r\nEnabled=yes\r\n"},
      {"bad escape", "WTarn component 1\r\nclass TTimer\r\nTag=1\\t\r\n"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    rtl::MemoryStream stream{std::string(r.text)};
    EXPECT_THROW(rtl::ReadComponent(timer_copy, stream), rtl::EReadError);
  }
  DeleteFileW(rtl::W(file));
}

// Puts a file-drop list of the names on the clipboard.
void PutFileDrop(const std::vector<String>& names) {
  String list;
  for (const String& n : names) list += n + u'\0';
  list += u'\0';
  const size_t size = sizeof(DROPFILES) + list.size() * 2;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  memcpy(drop + 1, list.data(), list.size() * 2);
  GlobalUnlock(memory);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  if (!names.empty()) SetClipboardData(CF_HDROP, memory);
  else GlobalFree(memory);
  CloseClipboard();
}

TEST(ClipboardWin, FileListIsAppended) {
  rtl::StringList list;
  list.Add(u"old");
  PutFileDrop({});
  EXPECT_FALSE(GetFileListFromClipBoard(list)) << "no file list, although the list is not empty";
  EXPECT_EQ(list.Count(), 1);

  PutFileDrop({u"C:\\a.txt", u"C:\\Ordner\\b c.doc"});
  ASSERT_TRUE(GetFileListFromClipBoard(list));
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list[0], u"old");
  EXPECT_EQ(list[1], u"C:\\a.txt");
  EXPECT_EQ(list[2], u"C:\\Ordner\\b c.doc");
  PutFileDrop({});
}

TEST(ResourcesWin, RawDataIsAppendedAtThePosition) {
  rtl::MemoryStream stream(std::string("xy"));
  stream.SetPosition(2);
  CreateStreamFromResource(u"DESCRIPTION", stream);
  const String text = rtl::Encoding::Unicode()->GetString(stream.Bytes().substr(2));
  EXPECT_EQ(stream.Bytes().substr(0, 2), "xy");
  EXPECT_TRUE(text.starts_with(u"--- Morvane Tarn PlugIn für Delphi 11 Welcome Page")) << rtl::ToUtf8(text);
  EXPECT_EQ(stream.Position(), stream.Size());
  EXPECT_THROW(CreateStreamFromResource(u"NO_SUCH_RESOURCE", stream), rtl::EResNotFound);
}

TEST(ListObjectsWin, EveryAttachedObjectIsFreedAndEntriesStay) {
  static int freed = 0;
  struct Counted : TIObject {
    using TIObject::TIObject;
    ~Counted() override { ++freed; }
  };
  rtl::StringList list;
  list.AddObject(u"a", new Counted(1));
  list.Add(u"no object");
  list.AddObject(u"b", new Counted(2));
  EXPECT_EQ(static_cast<TIObject*>(list.Objects(2))->I, 2);
  FreeListObjects(list);
  EXPECT_EQ(freed, 2);
  EXPECT_EQ(list.Count(), 3);
}

}  // namespace
}  // namespace Kv_tools
