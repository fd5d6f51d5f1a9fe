// Finding and working the main window's controls from outside the program.
#include "main_window_driver.hpp"

#include <algorithm>

namespace {

std::vector<ChildInfo> OfClass(const std::vector<ChildInfo>& children, const std::string& name) {
  std::vector<ChildInfo> found;
  for (const ChildInfo& child : children) {
    if (child.className == name) found.push_back(child);
  }
  std::sort(found.begin(), found.end(),
            [](const ChildInfo& a, const ChildInfo& b) { return a.rect.top < b.rect.top; });
  return found;
}

HWND WithText(const std::vector<ChildInfo>& children, const std::string& text) {
  for (const ChildInfo& child : children) {
    if (child.text == text) return child.handle;
  }
  return nullptr;
}

HWND RichEditOf(const std::vector<ChildInfo>& children) {
  for (const ChildInfo& child : children) {
    if (child.className.rfind("RichEdit", 0) == 0) return child.handle;
  }
  return nullptr;
}

LRESULT SendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

DWORD ThreadOf(const AppProcess& app) {
  return app.info.dwThreadId;
}

// Clicks `window` and waits until it has the keyboard focus.
bool FocusByClick(const AppProcess& app, HWND window) {
  ClickCentre(window);
  return WaitUntil([&] { return FocusOf(ThreadOf(app)) == window; });
}

// Replaces the focused entry's text with `text` (Home, Shift+End, then typing).
void OverwriteFocusedText(const std::string& text) {
  PressKey(VK_HOME);
  PressKey(VK_END, VK_SHIFT);
  if (text.empty()) {
    PressKey(VK_DELETE);
  } else {
    TypeText(text);
  }
}

std::vector<std::string> SplitFields(const std::string& dotted) {
  std::vector<std::string> fields(4);
  size_t field = 0;
  for (char c : dotted) {
    if (c == '.') {
      ++field;
    } else if (field < fields.size()) {
      fields[field] += c;
    }
  }
  return fields;
}

std::vector<HWND> AddressFields(HWND addressEntry) {
  std::vector<ChildInfo> edits = DirectChildren(addressEntry);
  std::sort(edits.begin(), edits.end(),
            [](const ChildInfo& a, const ChildInfo& b) { return a.rect.left < b.rect.left; });
  std::vector<HWND> fields;
  for (const ChildInfo& edit : edits) {
    if (edit.className == "Edit") fields.push_back(edit.handle);
  }
  return fields;
}

}  // namespace

bool FindMainControls(HWND main, MainWindowControls& c, std::string& error) {
  std::vector<ChildInfo> children = DirectChildren(main);
  std::vector<ChildInfo> lists = OfClass(children, "ComboBox");
  std::vector<ChildInfo> addresses = OfClass(children, "SysIPAddress32");
  std::vector<ChildInfo> edits = OfClass(children, "Edit");
  std::vector<ChildInfo> labels = OfClass(children, "Static");
  c.preferencesFrame = WithText(children, "Preferences");
  c.classLabel = WithText(children, "Network class: ");
  c.methodLabel = WithText(children, "Calculation method: ");
  c.networkLabel = WithText(children, "IP Mask: ");
  c.calculate = WithText(children, "Calculate");
  c.resultFrame = WithText(children, "Result");
  c.resultArea = RichEditOf(children);
  c.showNetworks = WithText(children, "Show networks");
  c.about = WithText(children, "About");
  if (lists.size() == 2) {
    c.classList = lists[0].handle;
    c.methodList = lists[1].handle;
  }
  if (addresses.size() == 2) {
    c.maskEntry = addresses[0].handle;
    c.networkEntry = addresses[1].handle;
  }
  if (edits.size() == 1) c.numberEntry = edits[0].handle;
  // The third label from the top changes its text with the method.
  if (labels.size() == 4) c.numberLabel = labels[2].handle;
  HWND all[] = {c.preferencesFrame, c.classLabel,  c.classList,  c.methodLabel,  c.methodList,
                c.numberLabel,      c.numberEntry, c.maskEntry,  c.networkLabel, c.networkEntry,
                c.calculate,        c.resultFrame, c.resultArea, c.showNetworks, c.about};
  int missing = static_cast<int>(std::count(std::begin(all), std::end(all), nullptr));
  if (missing != 0 || children.size() != 15) {
    error = std::to_string(children.size()) + " children, " + std::to_string(missing) +
            " expected controls not found";
    return false;
  }
  return true;
}

bool StartWithMainWindow(AppProcess& app, MainWindowControls& controls, std::string& error) {
  if (!StartApp(app, error) || !FindMainControls(app.main, controls, error)) return false;
  if (BringToFront(app.main)) return true;
  error = "the main window did not come to the front";
  return false;
}

int SelectedIndex(HWND list) {
  return static_cast<int>(SendTo(list, CB_GETCURSEL));
}

bool ChooseListItem(const AppProcess& app, HWND list, int index) {
  ClickCentre(list);
  HWND dropped = nullptr;
  if (!WaitUntil([&] {
        dropped = FindTopLevel(app.info.dwProcessId, "ComboLBox", nullptr);
        return dropped != nullptr && SendTo(list, CB_GETDROPPEDSTATE) != 0;
      })) {
    return false;
  }
  int itemHeight = static_cast<int>(SendTo(dropped, LB_GETITEMHEIGHT));
  int topIndex = static_cast<int>(SendTo(dropped, LB_GETTOPINDEX));
  RECT client{};
  GetClientRect(dropped, &client);
  ClickAt(dropped, client.right / 2, (index - topIndex) * itemHeight + itemHeight / 2);
  // Wine: input goes to the window holding the mouse capture when it is sent,
  // so the next click must wait until the closing list has released it.
  return WaitUntil([&] {
    return !IsWindowVisible(dropped) && SelectedIndex(list) == index &&
           CaptureOf(ThreadOf(app)) == nullptr;
  });
}

bool TypeIntoEntry(const AppProcess& app, HWND entry, const std::string& text) {
  if (!FocusByClick(app, entry)) return false;
  OverwriteFocusedText(text);
  // Wait for the last key to arrive: the entry may refuse some characters.
  std::string digits;
  for (char ch : text) {
    if (ch >= '0' && ch <= '9') digits += ch;
  }
  return WaitUntil([&] {
    std::string now = WindowText(entry);
    return now == text || now == digits;
  });
}

bool TypeAddress(const AppProcess& app, HWND addressEntry, const std::string& dotted) {
  std::vector<HWND> fields = AddressFields(addressEntry);
  std::vector<std::string> parts = SplitFields(dotted);
  if (fields.size() != 4) return false;
  for (size_t i = 0; i < 4; ++i) {
    if (!FocusByClick(app, fields[i])) return false;
    OverwriteFocusedText(parts[i]);
    if (!WaitUntil([&] { return WindowText(fields[i]) == parts[i]; })) return false;
  }
  return true;
}

std::string AddressText(HWND addressEntry) {
  std::vector<HWND> fields = AddressFields(addressEntry);
  std::string text;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i != 0) text += '.';
    text += WindowText(fields[i]);
  }
  return text;
}

std::vector<std::string> ReportLines(HWND resultArea) {
  std::vector<std::string> lines(1);
  for (char c : WindowText(resultArea)) {
    if (c == '\n') {
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

bool WaitForMessageBox(const AppProcess& app, MessageBoxSeen& seen) {
  if (!WaitUntil([&] {
        seen.box = FindTopLevel(app.info.dwProcessId, "#32770", nullptr);
        return seen.box != nullptr;
      })) {
    return false;
  }
  seen.title = WindowText(seen.box);
  seen.text.clear();
  for (const ChildInfo& child : DirectChildren(seen.box)) {
    LONG style = GetWindowLongA(child.handle, GWL_STYLE);
    if (child.className == "Static" && (style & SS_TYPEMASK) != SS_ICON) seen.text += child.text;
  }
  return true;
}

bool DismissMessageBox(const MessageBoxSeen& seen) {
  HWND ok = nullptr;
  for (const ChildInfo& child : DirectChildren(seen.box)) {
    if (child.className == "Button" && child.text == "OK") ok = child.handle;
  }
  if (ok == nullptr) return false;
  ClickCentre(ok);
  return WaitUntil([&] { return !IsWindow(seen.box) || !IsWindowVisible(seen.box); });
}
