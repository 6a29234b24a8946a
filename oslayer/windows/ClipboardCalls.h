#pragma once
// n_OSLayer clipboard calls, in UTF-8. The clipboard is always opened without an owner window. The
// readers need the clipboard opened by the caller; the set and append calls open and close it.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace n_OSLayer {

bool OpenClipboard();
bool CloseClipboard();
bool EmptyClipboard();
HANDLE GetClipboardData(std::uint32_t format);
// Always sets CF_UNICODETEXT; the first argument is not used.
HANDLE SetClipboardHandle(std::uint32_t ignored, HANDLE data);
std::uint32_t RegisterClipboardFormat(const c_StringView& name);
bool IsClipboardFormatAvailable(std::uint32_t format);
bool IsClipboardTextAvailable();
bool IsClipboardBitmapAvailable();
bool IsClipboardFileListAvailable();
std::uint32_t GetClipboardSequenceNumber();

// The CF_UNICODETEXT text, cut at its first NUL; empty when there is none.
c_String GetClipboardText();
// The names of the CF_HDROP list; none when there is no list.
std::vector<c_String> GetClipboardFiles();
// The formats in the clipboard's order.
std::vector<std::uint32_t> GetClipboardFormats();

// The window gets WM_CLIPBOARDUPDATE after every change, until it is removed.
bool AddClipboardFormatListener(HWND window);
bool RemoveClipboardFormatListener(HWND window);

// Replaces the content by the text; false when the clipboard cannot be opened. The result is that of
// closing the clipboard.
bool SetClipboardText(const c_StringView& text);
// Replaces the content by the current text, the separator and the text.
void AppendClipboardText(const c_StringView& text, const c_StringView& separator);

} // namespace n_OSLayer
