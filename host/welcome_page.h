// The stand-in IDE's Welcome Page: a window listing the registered plug-ins, the view of the
// plug-in opened from the list (its caption frame filling the page), and a status line with
// the projects opened on a plug-in's request. It notes in the transcript what becomes of the
// view: the button that appears, the window embedded into it, its style and rectangle.
#pragma once

#include "host/services.h"

namespace host {

class WelcomePage {
 public:
  WelcomePage(const Log& log, WelcomePageService& plugins, bool headless);
  ~WelcomePage();
  WelcomePage(const WelcomePage&) = delete;
  WelcomePage& operator=(const WelcomePage&) = delete;

  HWND Handle() const { return wnd_; }
  // Builds the view of a registered plug-in (CreateView) and shows it in the page.
  void OpenView(const rtl::String& PluginID);
  // Frees the open view (DestroyView) and waits up to 5 s for the embedded program to end.
  void CloseView();
  // Clicks the view's "Show PlugIn" button, as the user would.
  void PressShowPlugIn();
  // Shows a project the IDE opened in the status line.
  void ShowRequest(const rtl::String& Project);
  // Once the first window is embedded, the page takes this size (none when 0 by 0), ResizeDelay
  // milliseconds later.
  SIZE ResizeAfterEmbedding{};
  unsigned ResizeDelay = 0;

 private:
  static LRESULT CALLBACK PageProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  ToolsAPI::Ref<ToolsAPI::INTAWelcomePageContentPluginCreator> Creator(const rtl::String& id) const;
  void ListPlugins();
  void Layout();
  void Watch();
  void NoteEmbedding(HWND panel1, HWND embedded);

  const Log& log_;
  WelcomePageService& plugins_;
  HWND wnd_ = nullptr;
  HWND list_ = nullptr;
  HWND status_ = nullptr;
  rtl::TPanel* content_ = nullptr;
  rtl::String open_id_;
  bool button_seen_ = false;
  HWND embedded_ = nullptr;
  RECT embedded_rect_{};
  bool resize_pending_ = false;
  ULONGLONG resize_due_ = 0;
  rtl::UniqueHandle companion_;
};

}  // namespace host
