// Popup menus, clipboard text, fonts and opening links.
#pragma once

#include <string>

#include "toolkit/windows.hpp"

// Font style flags of CreateTextFont.
constexpr unsigned FontBold = 0x100;
constexpr unsigned FontItalic = 0x200;
constexpr unsigned FontUnderline = 0x4;
constexpr unsigned FontStrikeOut = 0x8;
constexpr unsigned FontHighQuality = 0x10;

// Creates an empty popup menu and makes it the thread's current one.
// Returns its id, or 0.
int NewPopupMenu(int id);
// Appends a plain text item to the current popup menu. A tab in the text
// starts the right-aligned shortcut column.
void AddPopupItem(int itemId, const char* text);
// Appends a separator line to the current popup menu.
void AddPopupSeparator();
// Shows the menu at the mouse pointer and returns when it closes; a chosen
// item arrives later as a MenuEvent of the owner's window.
void ShowPopupAtCursor(int menu, NativeHandle owner);
void ReleasePopupMenu(int menu);

// Replaces the clipboard with `text` as CF_TEXT. Non-zero on success.
int PutClipboardText(const char* text);

// Creates a font by face name and point size. Returns its id, or 0.
int CreateTextFont(int id, const char* face, int points, unsigned style);
// Character height for `points` at `pixelsPerInch`: -round(points * ppi / 72).
int FontHeightForPoints(int points, int pixelsPerInch);
NativeHandle NativeFontHandle(int font);  // null for a dead id
void ReleaseFont(int font);
void ReleaseAllFonts();
// Number of live fonts (for leak checks).
int LiveFontCount();

// The command line LaunchTarget starts: the target quoted unless it already
// starts with a quote, then a blank and the parameters when there are any.
std::string LaunchCommandLine(const char* target, const char* parameters);
// Starts `target` as a program, or else opens it through the shell.
// Non-zero when something was started or opened.
int LaunchTarget(const char* target, const char* parameters, const char* directory, int flags);
inline int OpenLink(const char* target) {
  return LaunchTarget(target, "", "", 0);
}
