// The Sub-networks window, the VLSM planner and the block calculator seen from outside: controls,
// the rows and colours of their lists, their copy menus and the clipboard.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app_driver.hpp"

struct SubnetsWindowControls {
  HWND window = nullptr;
  HWND panel = nullptr;
  HWND list = nullptr;
  HWND close = nullptr;
  HWND previous = nullptr;
  HWND next = nullptr;
  HWND pageLabel = nullptr;
};
// Waits for the Sub-networks window of the program and finds its controls.
bool FindSubnetsWindow(const AppProcess& app, SubnetsWindowControls& controls, std::string& error);

struct PlannerWindowControls {
  HWND window = nullptr;
  HWND block = nullptr;  // the block entry
  HWND lines = nullptr;  // the wanted sub-networks
  HWND plan = nullptr;
  HWND list = nullptr;
  HWND map = nullptr;  // the block drawn to scale
  HWND status = nullptr;
  HWND close = nullptr;
};
// Waits for the VLSM planner of the program with all its controls.
bool FindPlannerWindow(const AppProcess& app, PlannerWindowControls& controls, std::string& error);
// One pixel row of the planner's map, the colours from left to right.
std::vector<uint32_t> MapLine(HWND map, int y);
// Plans 10.0.0.0/16 with a 4-address row (one pixel of the map) before a /17
// and a /18, then checks the map in pictures of the screen against the list's
// networks, pixel by pixel at the screen's DPI: the spans, their colours and
// names, the one-pixel span, its outline once clicked and its row selected,
// the outline moved by a click in the list, and a span's tooltip. Returns the
// first fault seen, or "".
std::string PlannerMapFaults(const AppProcess& app, const PlannerWindowControls& planner);

struct BlockWindowControls {
  HWND window = nullptr;
  HWND block = nullptr;  // the block entry
  HWND facts = nullptr;
  HWND split = nullptr;  // the split entry
  HWND list = nullptr;   // the list of blocks, addresses and ranges
  HWND results = nullptr;
  HWND status = nullptr;
};
// Waits for the block calculator of the program with all its controls.
bool FindBlockWindow(const AppProcess& app, BlockWindowControls& controls, std::string& error);

using ListRow = std::vector<std::string>;  // the cells, one per column
// Every row of a list of the program, read through memory in its process.
std::vector<ListRow> ListRows(const AppProcess& app, HWND list);
// Title and width of each column of the list.
std::vector<std::pair<std::string, int>> ListColumns(const AppProcess& app, HWND list);
// The rectangle of a row in the list's client coordinates.
RECT ListRowRect(const AppProcess& app, HWND list, int row);

struct RowLook {
  uint32_t background;  // the row's most frequent colour, 0xRRGGBB
  int textPixels;       // its pixels in the text colour
};
// The rows of the list in a picture of the screen, from the top row as far as
// they are wholly in view.
std::vector<RowLook> RowLooks(const AppProcess& app, HWND list, uint32_t textColour);

// What is cut in the window, or "": a column narrower than the list's own
// autosizing makes it for the rows shown, columns wider than the list (a
// horizontal scroll bar), or a page label narrower than its text on one line.
std::string CutCells(const AppProcess& app, const SubnetsWindowControls& controls);

// A window of the program titled `title` (a dialog or a message box), or null
// when none appears.
HWND WaitForDialog(const AppProcess& app, const char* title);
// Puts `text` into the field of `dialog` that has the focus and presses Enter;
// false when the dialog has no focused field.
bool EnterInDialog(const AppProcess& app, HWND dialog, const std::string& text);

// The popup menu of the program while one is shown, or null. Keys go to it
// only once MenuReadyForInput holds.
HWND OpenPopupMenu(const AppProcess& app);
// Plain text on the clipboard ("" when there is none).
std::string ClipboardText();
bool PutClipboard(const std::string& text);

// Tells `window` what the system tells a window whose DPI changes: the new
// DPI and the outer rectangle it should take (put in the program's memory).
bool SendDpiChange(const AppProcess& app, HWND window, int dpi, const RECT& suggested);

// Drops the files at `paths` on `window` as the shell does: WM_DROPFILES
// with their DROPFILES block in the program's memory; false when not sent.
bool DropFiles(const AppProcess& app, HWND window, const std::vector<std::string>& paths);

// Rows of a listing file: lines of blank-separated fields.
std::vector<ListRow> ReadListing(const std::string& path);
