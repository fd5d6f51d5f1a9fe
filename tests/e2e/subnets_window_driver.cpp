// The Sub-networks window from outside the program.
#include "app/window_ids.hpp"
#include "subnets_window_driver.hpp"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

constexpr int CellLength = 64;

LRESULT SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

// A block of memory in the program's process: list messages that take a
// record read and write it there.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, size_t size)
      : process_(process),
        address_(static_cast<char*>(
            VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  ~RemoteBlock() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  char* At(size_t offset) const { return address_ + offset; }
  LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
  void Write(const void* bytes, size_t size) const {
    WriteProcessMemory(process_, address_, bytes, size, nullptr);
  }
  void Read(void* bytes, size_t size, size_t offset = 0) const {
    ReadProcessMemory(process_, address_ + offset, bytes, size, nullptr);
  }

 private:
  HANDLE process_;
  char* address_;
};

std::string CellText(const RemoteBlock& block, HWND list, int row, int column) {
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = block.At(sizeof cell);
  cell.cchTextMax = CellLength;
  block.Write(&cell, sizeof cell);
  SendTo(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), block.Address());
  char text[CellLength + 1] = {};
  block.Read(text, CellLength, sizeof cell);
  return text;
}

}  // namespace

bool FindSubnetsWindow(const AppProcess& app, SubnetsWindowControls& c, std::string& error) {
  if (!WaitUntil([&] {
        c.window = FindTopLevel(app.info.dwProcessId, nullptr, SubnetsTitle);
        return c.window != nullptr;
      })) {
    error = "the Sub-networks window did not appear";
    return false;
  }
  std::vector<ChildInfo> children = DirectChildren(c.window);
  for (const ChildInfo& child : children) {
    if (child.text == "Close") c.close = child.handle;
    if (child.text == "Previous") c.previous = child.handle;
    if (child.text == "Next") c.next = child.handle;
    if (child.className == "Static") c.pageLabel = child.handle;
    if (child.className != "Button" && child.className != "Static") c.panel = child.handle;
  }
  c.list = c.panel != nullptr ? FindWindowExA(c.panel, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
  HWND all[] = {c.panel, c.list, c.close, c.previous, c.next, c.pageLabel};
  if (children.size() != 5 || std::count(std::begin(all), std::end(all), nullptr) != 0) {
    error = std::to_string(children.size()) + " children; a control is missing";
    return false;
  }
  return true;
}

bool FindPlannerWindow(const AppProcess& app, PlannerWindowControls& c, std::string& error) {
  // Controls appear one by one: all are looked for in each poll.
  const bool found = WaitUntil([&] {
    c = PlannerWindowControls{FindTopLevel(app.info.dwProcessId, nullptr, PlannerTitle)};
    for (const ChildInfo& child : c.window ? DirectChildren(c.window) : std::vector<ChildInfo>()) {
      HWND& control = child.text == "Plan"                  ? c.plan
                      : child.text == "Close"               ? c.close
                      : child.className == "Edit"           ? c.block
                      : child.className == WC_LISTVIEWA     ? c.list
                      : child.className == "VelkorBlockMap" ? c.map
                      : child.className == "Static"         ? c.status
                                                            : c.lines;
      // The two prompts end in a colon; the status never does.
      if (child.className != "Static" || child.text.empty() || child.text.back() != ':') {
        control = child.handle;
      }
    }
    return c.block && c.lines && c.plan && c.list && c.map && c.status && c.close;
  });
  if (!found) error = "the VLSM planner did not appear with all its controls";
  return found;
}

std::vector<uint32_t> MapLine(HWND map, int y) {
  ScreenCapture shot;
  if (!CaptureClientArea(map, shot) || y >= shot.height) return {};
  return std::vector<uint32_t>(&shot.pixels[static_cast<size_t>(y) * shot.width],
                               &shot.pixels[static_cast<size_t>(y + 1) * shot.width]);
}

namespace {

// Where the first address of a row's network in 10.0.0.0/16 falls on the
// map, rounded down.
int MapPixel(const ListRow& row, int width) {
  unsigned third = 0, fourth = 0;
  std::sscanf(row[3].c_str(), "10.0.%u.%u", &third, &fourth);
  return static_cast<int>(uint64_t{third * 256 + fourth} * width / 65536);
}

}  // namespace

std::string PlannerMapFaults(const AppProcess& app, const PlannerWindowControls& p) {
  SendMessageA(p.block, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("10.0.0.0/16"));
  SendMessageA(p.lines, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("tiny 2\r\nbig /17\r\nmid /18"));
  ClickCentre(p.plan);
  if (!WaitUntil([&] { return WindowText(p.status).rfind("Used", 0) == 0; })) return "no plan";
  const std::vector<ListRow> rows = ListRows(app, p.list);
  RECT client{};
  GetClientRect(p.map, &client);
  const int width = client.right, top = client.bottom / 6, middle = client.bottom / 2;
  const int tiny = MapPixel(rows[0], width), mid = MapPixel(rows[2], width);
  const uint32_t text = 0xFFFFFF & GetSysColor(COLOR_WINDOWTEXT);
  const uint32_t freeGreen = RowLooks(app, p.list, text).at(3).background;
  std::vector<uint32_t> line;
  if (!WaitUntil([&] { return (line = MapLine(p.map, top)).size() > 0 && line[0] != line.back(); }))
    return "no map drawn";
  auto runOf = [&](int from, int to) {  // the colour of [from, to), or 1 when mixed
    return std::all_of(&line[from], &line[to], [&](uint32_t c) { return c == line[from]; })
               ? line[from]
               : 1u;
  };
  const uint32_t big = runOf(0, mid), midColour = runOf(mid, tiny), tinyColour = line[tiny];
  const std::vector<uint32_t> wanted = {big, midColour, tinyColour, freeGreen};
  if (std::set<uint32_t>(wanted.begin(), wanted.end()).size() != 4 || big == 1 || midColour == 1)
    return "the spans are not each of one colour of their own";
  if (runOf(tiny + 1, width) != freeGreen) return "the free space is not the free rows' green";
  // The name of the wide span in the strip's font at this DPI: at least a
  // third of its height; none in the one-pixel span.
  int nameRows = 0;
  for (int y = 0; y < client.bottom; ++y) {
    line = MapLine(p.map, y);
    nameRows += std::count(&line[0], &line[mid], text) > 0 ? 1 : 0;
    if (line[tiny] == text) return "the one-pixel span has a name";
  }
  if (nameRows < client.bottom / 3) return "the wide span's name is missing or small";
  ClickAt(p.map, tiny, middle);
  if (!WaitUntil([&] { return SendMessageA(p.list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 0; }))
    return "a click on the one-pixel span does not select its row";
  auto outlined = [&](int left, int right, uint32_t inside) {
    return WaitUntil(
        [&] {
          line = MapLine(p.map, top);
          return (left == 0 || line[left - 1] == text) && line[right] == text &&
                 line[left] == inside;
        },
        3000);
  };
  if (!outlined(tiny, tiny + 1, tinyColour)) return "the clicked one-pixel span is not outlined";
  const RECT row = ListRowRect(app, p.list, 1);
  ClickAt(p.list, row.left + 20, (row.top + row.bottom) / 2);
  if (!outlined(0, mid, big) || line[tiny - 1] != midColour || line[tiny + 1] != freeGreen)
    return "the outline does not follow the row selected in the list";
  POINT over{mid / 2, middle};
  ClientToScreen(p.map, &over);
  MovePointerTo(p.window, over);
  HWND tip = nullptr;
  if (!WaitUntil(
          [&] { return (tip = FindTopLevel(app.info.dwProcessId, TOOLTIPS_CLASSA, nullptr)); }) ||
      WindowText(tip) != "big: " + rows[1][3])
    return "no tooltip naming the span and its network";
  return "";
}

bool FindBlockWindow(const AppProcess& app, BlockWindowControls& c, std::string& error) {
  // The block entry stands above the split entry, the read-only facts above
  // the editable list; the status is the lowest label.
  const bool found = WaitUntil([&] {
    c = BlockWindowControls{FindTopLevel(app.info.dwProcessId, nullptr, BlockTitle)};
    std::vector<ChildInfo> children =
        c.window ? DirectChildren(c.window) : std::vector<ChildInfo>();
    std::sort(children.begin(), children.end(),
              [](const ChildInfo& a, const ChildInfo& b) { return a.rect.top < b.rect.top; });
    for (const ChildInfo& child : children) {
      const bool readOnly = (GetWindowLongA(child.handle, GWL_STYLE) & ES_READONLY) != 0;
      if (child.className == "Edit") (c.block == nullptr ? c.block : c.split) = child.handle;
      if (child.className == "RichEdit20A") (readOnly ? c.facts : c.list) = child.handle;
      if (child.className == WC_LISTVIEWA) c.results = child.handle;
      if (child.className == "Static") c.status = child.handle;
    }
    return c.block && c.facts && c.split && c.list && c.results && c.status;
  });
  if (!found) error = "the block calculator did not appear with all its controls";
  return found;
}

std::vector<ListRow> ListRows(const AppProcess& app, HWND list) {
  RemoteBlock block(app.info.hProcess, sizeof(LVITEMA) + CellLength + 1);
  std::vector<ListRow> rows(static_cast<size_t>(SendTo(list, LVM_GETITEMCOUNT, 0)));
  const auto columns = static_cast<int>(
      SendTo(reinterpret_cast<HWND>(SendTo(list, LVM_GETHEADER, 0)), HDM_GETITEMCOUNT, 0));
  for (size_t row = 0; row < rows.size(); ++row) {
    for (int column = 0; column < columns; ++column)
      rows[row].push_back(CellText(block, list, static_cast<int>(row), column));
  }
  return rows;
}

std::vector<std::pair<std::string, int>> ListColumns(const AppProcess& app, HWND list) {
  RemoteBlock block(app.info.hProcess, sizeof(LVCOLUMNA) + CellLength + 1);
  std::vector<std::pair<std::string, int>> columns;
  for (int column = 0;; ++column) {
    LVCOLUMNA query{};
    query.mask = LVCF_TEXT | LVCF_WIDTH;
    query.pszText = block.At(sizeof query);
    query.cchTextMax = CellLength;
    block.Write(&query, sizeof query);
    if (SendTo(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), block.Address()) == 0) break;
    char title[CellLength + 1] = {};
    block.Read(&query, sizeof query);
    block.Read(title, CellLength, sizeof query);
    columns.emplace_back(title, query.cx);
  }
  return columns;
}

std::string CutCells(const AppProcess& app, const SubnetsWindowControls& c) {
  std::string cut;
  const std::vector<std::pair<std::string, int>> columns = ListColumns(app, c.list);
  int total = 0;
  for (size_t column = 0; column < columns.size(); ++column) {
    // The list's own autosizing gives the widest cell shown with its padding;
    // the column's width goes back afterwards.
    const int width = columns[column].second;
    SendTo(c.list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(LVSCW_AUTOSIZE, 0));
    const int needed = static_cast<int>(SendTo(c.list, LVM_GETCOLUMNWIDTH, column));
    SendTo(c.list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
    if (width < needed) {
      cut += columns[column].first + " " + std::to_string(width) + " < " + std::to_string(needed) +
             "; ";
    }
    total += width;
  }
  RECT client{};
  GetClientRect(c.list, &client);
  if (total > client.right || (GetWindowLongA(c.list, GWL_STYLE) & WS_HSCROLL) != 0) {
    cut += "columns " + std::to_string(total) + " wide in " + std::to_string(client.right) + "; ";
  }
  // The label shares the list's font, so the list measures the label's text.
  const std::string label = WindowText(c.pageLabel);
  RemoteBlock text(app.info.hProcess, label.size() + 1);
  text.Write(label.c_str(), label.size() + 1);
  const int textWidth = static_cast<int>(SendTo(c.list, LVM_GETSTRINGWIDTHA, 0, text.Address()));
  GetClientRect(c.pageLabel, &client);
  if (SendTo(c.pageLabel, WM_GETFONT, 0) != SendTo(c.list, WM_GETFONT, 0) ||
      client.right < textWidth) {
    cut += "label \"" + label + "\" " + std::to_string(textWidth) + " wide in " +
           std::to_string(client.right);
  }
  return cut;
}

RECT ListRowRect(const AppProcess& app, HWND list, int row) {
  RemoteBlock block(app.info.hProcess, sizeof(RECT));
  RECT area{LVIR_BOUNDS, 0, 0, 0};
  block.Write(&area, sizeof area);
  SendTo(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), block.Address());
  block.Read(&area, sizeof area);
  return area;
}

std::vector<RowLook> RowLooks(const AppProcess& app, HWND list, uint32_t text) {
  ScreenCapture shot;
  std::vector<RowLook> looks;
  if (!CaptureClientArea(list, shot)) return looks;
  for (int row = 0; row < SendTo(list, LVM_GETITEMCOUNT, 0); ++row) {
    RECT area = ListRowRect(app, list, row);
    if (area.bottom > shot.height) break;
    std::map<uint32_t, int> counts;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, shot.width); ++x)
        ++counts[shot.At(x, y)];
    }
    auto most = std::max_element(counts.begin(), counts.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    looks.push_back(RowLook{most != counts.end() ? most->first : 0xFFFFFFFF, counts[text]});
  }
  return looks;
}

HWND WaitForDialog(const AppProcess& app, const char* title) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopLevel(app.info.dwProcessId, nullptr, title)); });
  return found;
}

bool EnterInDialog(const AppProcess& app, HWND dialog, const std::string& text) {
  HWND field = dialog != nullptr && BringToFront(dialog) ? WaitForFocusIn(app, dialog) : nullptr;
  if (field == nullptr) return false;
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  PressKey(VK_RETURN);
  return true;
}

HWND OpenPopupMenu(const AppProcess& app) {
  return FindTopLevel(app.info.dwProcessId, "#32768", nullptr);
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  HANDLE data = GetClipboardData(CF_TEXT);
  const char* bytes = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  if (bytes != nullptr) {
    text = bytes;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

bool PutClipboard(const std::string& text) {
  if (!OpenClipboard(nullptr)) return false;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  bool put = false;
  if (block != nullptr) {
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    EmptyClipboard();
    put = SetClipboardData(CF_TEXT, block) != nullptr;
    if (!put) GlobalFree(block);
  }
  CloseClipboard();
  return put;
}

bool SendDpiChange(const AppProcess& app, HWND window, int dpi, const RECT& suggested) {
  RemoteBlock block(app.info.hProcess, sizeof suggested);
  block.Write(&suggested, sizeof suggested);
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), block.Address(),
                             SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

bool DropFiles(const AppProcess& app, HWND window, const std::vector<std::string>& paths) {
  std::string names;
  for (const std::string& path : paths)
    names += WindowsPath(path) + '\0';
  DROPFILES header{};
  header.pFiles = sizeof header;
  std::string drop(reinterpret_cast<const char*>(&header), sizeof header);
  drop += names + '\0';
  // Wine: GlobalLock takes a block of the program's memory as a fixed
  // HGLOBAL, which a drop's HDROP is, and DragFinish's GlobalFree refuses it.
  RemoteBlock block(app.info.hProcess, drop.size());
  block.Write(drop.data(), drop.size());
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_DROPFILES, static_cast<WPARAM>(block.Address()), 0,
                             SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

std::vector<ListRow> ReadListing(const std::string& path) {
  std::vector<ListRow> rows;
  std::ifstream file(WindowsPath(path));
  for (std::string line; std::getline(file, line);) {
    std::istringstream fields(line);
    ListRow row;
    for (std::string field; fields >> field;)
      row.push_back(field);
    rows.push_back(row);
  }
  return rows;
}
