#include "rtl/rich_edit_win.h"

#include <richedit.h>

namespace rtl {
namespace {

// The window class of riched20.dll, which is loaded once and stays for the process.
const wchar_t* RichEditClass() {
  static const HMODULE library = LoadLibraryW(L"riched20.dll");
  (void)library;
  return RICHEDIT_CLASSW;
}

DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  *done = static_cast<LONG>(reinterpret_cast<Stream*>(cookie)->Read(buffer, static_cast<size_t>(count)));
  return 0;
}

DWORD CALLBACK StreamOut(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  *done = static_cast<LONG>(reinterpret_cast<Stream*>(cookie)->Write(buffer, static_cast<size_t>(count)));
  return *done == count ? 0 : 1;
}

}  // namespace

TRichEdit::TRichEdit(TComponent* AOwner)
    : TWinControl(AOwner, RichEditClass(), true, ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL) {
  // No size limit beyond memory (the control's default is 32767 characters).
  if (Handle()) SendMessageW(Handle(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
}

void TRichEdit::LoadFromStream(Stream& AStream) {
  EDITSTREAM edit{reinterpret_cast<DWORD_PTR>(&AStream), 0, StreamIn};
  SendMessageW(Handle(), EM_STREAMIN, PlainText ? SF_TEXT : SF_RTF, reinterpret_cast<LPARAM>(&edit));
  if (!Handle() || edit.dwError != 0) throw EReadError(u"The rich-edit control could not load the text");
}

void TRichEdit::SaveToStream(Stream& AStream, bool Unicode) const {
  const WPARAM format = PlainText ? (Unicode ? SF_TEXT | SF_UNICODE : SF_TEXT) : SF_RTF;
  EDITSTREAM edit{reinterpret_cast<DWORD_PTR>(&AStream), 0, StreamOut};
  SendMessageW(Handle(), EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&edit));
  if (!Handle() || edit.dwError != 0) throw EWriteError(u"The rich-edit control could not save its text");
}

}  // namespace rtl
