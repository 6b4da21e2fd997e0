// A package that requires WTarnD11: it links the package's import library and works with the
// package's exported routines, classes and globals from its own module.
#pragma once

#include <windows.h>

#if defined(WTARN_BUILDING_CLIENT)
#define CLIENT_API extern "C" __declspec(dllexport)
#else
#define CLIENT_API extern "C" __declspec(dllimport)
#endif

// WTarnView::ProgLoaded as the client sees it, and a new value for it.
CLIENT_API bool ClientProgLoaded();
CLIENT_API void ClientSetProgLoaded(bool value);
// WTarnView::TarnProg: copied into buffer (size characters with the zero); a new value for it.
CLIENT_API int ClientTarnProg(wchar_t* buffer, int size);
CLIENT_API void ClientSetTarnProg(const wchar_t* path);
// WTarnConstants::sPluginName() copied into buffer.
CLIENT_API int ClientPluginName(wchar_t* buffer, int size);
// Kv_tools::SendWndInterAppMessage with the text.
CLIENT_API bool ClientPostText(HWND wnd, WORD msg, WORD param, const wchar_t* text);
// Builds a WTarnView::TMainFrame without an owner and reports its timer interval and whether
// the timer is armed, and the caption of its button; frees it again.
CLIENT_API unsigned ClientFrameTimer(bool* enabled, wchar_t* caption, int size);
