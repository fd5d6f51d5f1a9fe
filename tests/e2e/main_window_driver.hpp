// The main window as a person sees it: its controls, found by kind and place,
// and the steps of using them (choose, type, calculate, read, dismiss).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app_driver.hpp"

struct MainWindowControls {
  HWND preferencesFrame = nullptr;
  HWND classLabel = nullptr;
  HWND classList = nullptr;
  HWND methodLabel = nullptr;
  HWND methodList = nullptr;
  HWND numberLabel = nullptr;
  HWND numberEntry = nullptr;
  HWND maskEntry = nullptr;
  HWND networkLabel = nullptr;
  HWND networkEntry = nullptr;
  HWND calculate = nullptr;
  HWND resultFrame = nullptr;
  HWND resultArea = nullptr;
  HWND showNetworks = nullptr;
  HWND about = nullptr;
};
// Finds the fifteen controls of the main window; false (with `error`) when
// one is missing.
bool FindMainControls(HWND main, MainWindowControls& controls, std::string& error);
// Starts the program, finds its main window's controls and brings it to the
// front: every test's first step. False with `error` when a step failed.
bool StartWithMainWindow(AppProcess& app, MainWindowControls& controls, std::string& error);

// The selected index of a drop-down list, -1 for none.
int SelectedIndex(HWND list);
// Opens the list with a click and clicks item `index` in the dropped list.
bool ChooseListItem(const AppProcess& app, HWND list, int index);
// Clicks into a text entry, selects all it holds and types `text` over it;
// true once the entry shows it (non-digits removed when the entry refuses them).
bool TypeIntoEntry(const AppProcess& app, HWND entry, const std::string& text);
// Types a dotted address into an address entry field by field; "" empties it.
bool TypeAddress(const AppProcess& app, HWND addressEntry, const std::string& dotted);
// The four fields of an address entry joined by "." ("..." when empty).
std::string AddressText(HWND addressEntry);

// The lines of the result area.
std::vector<std::string> ReportLines(HWND resultArea);

struct MessageBoxSeen {
  HWND box = nullptr;
  std::string title;
  std::string text;
};
// Waits for a message box of the program and reads its title and text.
bool WaitForMessageBox(const AppProcess& app, MessageBoxSeen& seen);
// Clicks the box's OK button and waits until the box is gone.
bool DismissMessageBox(const MessageBoxSeen& seen);
