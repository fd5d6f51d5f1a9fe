// Popup menus shown at the mouse pointer, and items added to a window's system menu.
#pragma once

#include "toolkit/windows.hpp"

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

// Appends an item to the system menu of a toolkit window (its title-bar icon,
// Alt+Space); choosing it raises a MenuEvent with itemId (1 to 0xEFFF, below
// the system's own commands) for that window. Other ids add nothing.
void WindowAddSystemMenuItem(int window, int itemId, const char* text);
// Appends a separator line to the system menu of a toolkit window.
void WindowAddSystemMenuSeparator(int window);
