// The Sub-networks window: every sub-network of a classful plan or of an
// equal split, one page at a time, paging by buttons and arrow keys, and a
// context menu that copies one cell of the selected row. A plan's reserved
// first and last rows are coloured; a split reserves none. Rows, pages and
// go-to are computed from indexes of up to 128 bits, so the last of 2^128
// rows costs what the first does.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <numeric>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/modal.hpp"
#include "app/secondary_windows.hpp"
#include "app/window_ids.hpp"
#include "base/text.hpp"
#include "calc/enumeration.hpp"
#include "calc/find.hpp"
#include "calc/listing.hpp"
#include "net/block_calculator.hpp"
#include "net/decimal.hpp"
#include "net/paging.hpp"
#include "toolkit/clipboard.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/events.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/message_box.hpp"
#include "toolkit/views.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr unsigned ListFlags = ReportListFullRowSelect | ReportListShowSelectionAlways;

struct Column {
  const char* title;
  int width;
};
constexpr Column Columns[] = {
    {"#", 25}, {"Network", 100}, {"First IP", 100}, {"Last IP", 100}, {"Broadcast", 100},
};
// IPv4 lists all five columns; IPv6 has no broadcast.
constexpr int Ipv4Columns = 5;
constexpr int Ipv6Columns = 4;

// The copy menu: item FirstCopyItem + c copies column c.
constexpr int FirstCopyItem = 101;
constexpr const char* CopyItems[] = {
    "Copy index",           "Copy network address",   "Copy first IP address",
    "Copy last IP address", "Copy broadcast address",
};

constexpr int NextPageKey = VK_RIGHT;
constexpr int PreviousPageKey = VK_LEFT;

// Beside the arrows: the first and the last page, going to any sub-network,
// and saving them all. The go-to and save items follow the copy items in the
// popup menu, after a separator, with the same ids as their shortcuts. Plain
// Home, End, PageUp and PageDown stay with the list, which moves its selection.
constexpr int FirstPageKey = VK_HOME | ShortcutCtrl;
constexpr int LastPageKey = VK_END | ShortcutCtrl;
constexpr int GoToKey = 'G' | ShortcutCtrl;
constexpr int SaveKey = 'S' | ShortcutCtrl;
struct MenuCommand {
  int item;
  const char* text;
};
constexpr MenuCommand PlanItems[] = {
    {GoToCommand, "Go to sub-network...\tCtrl+G"},
    {SaveCommand, "Save all as CSV...\tCtrl+S"},
};

// Row backgrounds: the reserved first and last sub-network, then stripes by
// the row's position in the list.
constexpr COLORREF ReservedRow = RGB(255, 225, 225);
constexpr COLORREF EvenRow = RGB(225, 225, 255);
constexpr COLORREF OddRow = RGB(255, 255, 255);

// Properties on the panel that RowColouringProcedure reads.
constexpr char PreviousProcedureProperty[] = "OldContainerProc";
constexpr char ListProperty[] = "hListicon";
constexpr char LastIndexProperty[] = "networks";

// The IPv4 address columns never get less than the widest address needs.
constexpr const char* WidestIpv4 = "255.255.255.255";
// The page label's designed width, and its gap to the Close button.
constexpr int PageLabelWidth = 100;
constexpr int PageLabelGap = 5;

// ----- What the window lists -------------------------------------------------

// The sub-networks of a plan or a split, each reached by its index.
struct SubnetList {
  Uint128 lastIndex;
  int columns = Ipv4Columns;
  bool reservedEnds = false;  // a classful plan's first and last sub-network
  // The cells of a sub-network joined by line feeds; "" when there is none.
  std::function<std::string(const Uint128& index)> rowText;
  // IPv6: the row whose every hex digit that the split varies is `digit`.
  std::function<std::string(int digit)> sampleRow;
  std::function<IndexTarget(const std::string& typed)> find;
  // Every sub-network as velkor's "--list --all --format csv" writes them.
  std::function<bool(std::FILE* file, const ListingProgress& progress)> writeCsv;
};

SubnetList PlanList(const SubnetPlan& plan) {
  SubnetList list;
  list.lastIndex = static_cast<uint64_t>(plan.TotalSubnets() - 1);
  list.reservedEnds = true;
  list.rowText = [&plan](const Uint128& index) {
    SubnetEntry entry;
    return plan.GetSubnet(static_cast<int32_t>(index.low), entry) ? RowText(entry) : "";
  };
  list.find = [&plan](const std::string& typed) {
    const SubnetTarget target = FindSubnetTarget(plan, typed);
    return IndexTarget{static_cast<uint64_t>(target.index < 0 ? 0 : target.index), target.refusal};
  };
  list.writeCsv = [&plan](std::FILE* file, const ListingProgress& progress) {
    return WriteListing(WholePlan(plan), ListFormat::Csv, file, progress);
  };
  return list;
}

template <class F>
SubnetList SplitListOf(const EqualSplit<F>& split) {
  SubnetList list;
  list.lastIndex = Uint128(SplitLastIndex(split));
  list.columns = F::Bits == 32 ? Ipv4Columns : Ipv6Columns;
  list.rowText = [split](const Uint128& index) {
    return SplitRowText(split, static_cast<typename F::Index>(index));
  };
  if constexpr (F::Bits == 128) {
    list.sampleRow = [split](int digit) {
      const uint64_t digits = 0x1111111111111111u * static_cast<uint64_t>(digit);
      const Uint128 address =
          split.block.network | (Uint128(digits, digits) & HostMask<F>(split.block.prefix));
      typename F::Index index{};
      SplitIndexOf(split, address, index);
      return SplitRowText(split, index);
    };
  }
  list.find = [split](const std::string& typed) { return FindSplitTarget(split, typed); };
  list.writeCsv = [split](std::FILE* file, const ListingProgress& progress) {
    return WriteListing(SplitRange(split), ListFormat::Csv, file, progress);
  };
  return list;
}

// ----- The window -----------------------------------------------------------

struct SubnetsWindow {
  int window = 0;
  int list = 0;
  int close = 0;
  int previous = 0;
  int next = 0;
  int pageLabel = 0;
  SubnetList subnets;
  Uint128 pages = 1;
  Uint128 page = 1;
};

std::string PageText(const Uint128& page, const Uint128& pages) {
  return "Page " + DecimalText(page) + "/" + DecimalText(pages);
}

// Shows page `page`: one row per sub-network, its texts in the columns.
void FillPage(const SubnetsWindow& view, const Uint128& page) {
  const PageRows<Uint128> range = RowsOfPage(view.subnets.lastIndex, page);
  ControlClearItems(view.list);
  for (Uint128 index = range.first;; ++index) {
    const std::string row = view.subnets.rowText(index);
    if (!row.empty()) ControlAddItem(view.list, -1, row.c_str());
    if (index == range.last) break;
  }
}

// The background of one cell (all cells of a row get the same), or CLR_DEFAULT.
COLORREF CellBackground(int list, int32_t lastIndex, DWORD_PTR row) {
  if (lastIndex <= 1) return CLR_DEFAULT;
  int64_t index = ParseInteger(ControlItemText(list, static_cast<int>(row), 0));
  if (index == 0 || index == lastIndex) return ReservedRow;
  return row % 2 == 0 ? EvenRow : OddRow;
}

LRESULT CustomDraw(NMLVCUSTOMDRAW& draw, int list, int32_t lastIndex, LRESULT previousResult) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      COLORREF background = CellBackground(list, lastIndex, draw.nmcd.dwItemSpec);
      if (background != CLR_DEFAULT) draw.clrTextBk = background;
      return CDRF_NEWFONT;
    }
    default:
      return previousResult;
  }
}

// Replaces the panel's procedure: colours the list's rows as it paints them
// and passes every message on to the procedure it replaced.
LRESULT CALLBACK RowColouringProcedure(HWND panel, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(panel, PreviousProcedureProperty));
  if (previous == nullptr) return DefWindowProcA(panel, message, wParam, lParam);
  LRESULT result = CallWindowProcA(previous, panel, message, wParam, lParam);
  int list = static_cast<int>(reinterpret_cast<intptr_t>(GetPropA(panel, ListProperty)));
  auto lastIndex =
      static_cast<int32_t>(reinterpret_cast<intptr_t>(GetPropA(panel, LastIndexProperty)));
  if (message == WM_DESTROY) {
    SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(panel, PreviousProcedureProperty);
    RemovePropA(panel, ListProperty);
    RemovePropA(panel, LastIndexProperty);
    return result;
  }
  if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == NM_CUSTOMDRAW) {
    return CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam), list, lastIndex, result);
  }
  return result;
}

void InstallRowColouring(int panel, int list, int32_t lastIndex) {
  auto handle = static_cast<HWND>(ControlHandle(panel));
  LONG_PTR previous =
      SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RowColouringProcedure));
  SetPropA(handle, PreviousProcedureProperty, reinterpret_cast<HANDLE>(previous));
  SetPropA(handle, ListProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(list)));
  SetPropA(handle, LastIndexProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(lastIndex)));
}

// IPv4, as designed: the "#" column as wide as the largest index needs (the
// designed width while that fits); the address columns give up that width
// evenly, so no cell is cut and the list needs no horizontal scroll bar.
void FitIpv4Columns(const SubnetsWindow& view) {
  const int needed = ControlCellWidth(view.list, DecimalText(view.subnets.lastIndex).c_str());
  const int extra = needed - Columns[0].width;
  if (extra <= 0) return;
  const int addressMinimum = ControlCellWidth(view.list, WidestIpv4);
  std::vector<int> widths{needed};
  for (int column = 1; column < Ipv4Columns; ++column) {
    const int narrowed = Columns[column].width - (extra + 3) / 4;
    widths.push_back(narrowed > addressMinimum ? narrowed : addressMinimum);
  }
  ControlSetColumnWidths(view.list, widths);
}

// IPv6: each column as wide as its cells can get, the room left shared out.
// The "#" column fits the largest index; an address column the widest cell
// of the rows whose every hex digit that the split varies is one and the same
// digit, one row per digit: no row has more digits or fewer zero groups, and
// the widest digit of the font is among them. Wine: a list wider than its
// room scrolls sideways and then takes about five times as long to show a
// page, so only splits with indexes beyond 2^64 scroll.
void FitIpv6Columns(const SubnetsWindow& view) {
  std::vector<int> widths{
      std::max(Columns[0].width,
               ControlCellWidth(view.list, DecimalText(view.subnets.lastIndex).c_str())),
      0, 0, 0};
  for (int digit = 1; digit < 16; ++digit) {
    const std::string row = view.subnets.sampleRow(digit);
    std::size_t at = row.find('\n') + 1;  // after the index
    for (std::size_t column = 1; column < widths.size(); ++column) {
      const std::size_t end = std::min(row.find('\n', at), row.size());
      const int width = ControlCellWidth(view.list, row.substr(at, end - at).c_str());
      widths[column] = std::max(widths[column], width);
      at = end + 1;
    }
  }
  const int spare = ControlColumnRoom(view.list) - std::accumulate(widths.begin(), widths.end(), 0);
  for (std::size_t column = 1; spare > 0 && column < widths.size(); ++column)
    widths[column] += spare / 3;
  ControlSetColumnWidths(view.list, widths);
}

// The page label keeps its place and grows into the free row up to the Close
// button when the longest page text needs it, so that it stays on one line.
void FitPageLabel(const SubnetsWindow& view) {
  const int needed = ControlTextWidth(view.pageLabel, PageText(view.pages, view.pages).c_str());
  const int room = ControlX(view.close) - PageLabelGap - ControlX(view.pageLabel);
  if (needed <= PageLabelWidth) return;
  ControlSetSize(view.pageLabel, needed < room ? needed : room, ControlHeight(view.pageLabel));
}

// A plan colours its reserved rows by the designed procedure on the panel; a
// split has its rows striped by the list itself.
void ColourRows(const SubnetsWindow& view, int panel) {
  if (view.subnets.reservedEnds) {
    InstallRowColouring(panel, view.list, static_cast<int32_t>(view.subnets.lastIndex.low));
    return;
  }
  ControlSetRowColours(view.list,
                       [](int row) { return static_cast<int>(row % 2 == 0 ? EvenRow : OddRow); });
}

// The panel with the list in it, then the buttons and the page label below.
void CreateControls(SubnetsWindow& view, int width, int height) {
  int panel = static_cast<int>(CreatePanel(AutoId, 0, 0, width, height - 33, 0));
  view.list = static_cast<int>(CreateReportList(AutoId, 5, 5, width - 10, height - 38,
                                                Columns[0].title, Columns[0].width, ListFlags));
  for (int column = 1; column < view.subnets.columns; ++column)
    ControlAddColumn(view.list, column, Columns[column].title, Columns[column].width);
  ColourRows(view, panel);
  EndContainer();
  auto belowList = [&view](int gap) {
    return ControlY(view.list) + ControlHeight(view.list) + gap;
  };
  view.close =
      static_cast<int>(CreatePushButton(AutoId, width - 80, belowList(5), 75, 22, "Close"));
  view.previous = static_cast<int>(CreatePushButton(AutoId, 5, belowList(5), 75, 22, "Previous"));
  view.next = static_cast<int>(CreatePushButton(AutoId, 85, belowList(5), 75, 22, "Next"));
  view.pageLabel = static_cast<int>(
      CreateLabel(AutoId, 165, belowList(9), PageLabelWidth, 22, PageText(1, view.pages).c_str()));
  (view.subnets.columns == Ipv6Columns ? FitIpv6Columns : FitIpv4Columns)(view);
  FitPageLabel(view);
}

// Shows `page` with the buttons and the label to match; a page outside
// 1 .. pages, or the one shown, changes nothing.
void ShowPage(SubnetsWindow& view, const Uint128& page) {
  if (page == Uint128() || page > view.pages || page == view.page) return;
  view.page = page;
  FillPage(view, page);
  ControlSetDisabled(view.previous, page == Uint128(1));
  ControlSetDisabled(view.next, page == view.pages);
  ControlSetText(view.pageLabel, PageText(page, view.pages).c_str());
}

// The next page, or the previous one, when that stays within the pages.
void TurnPage(SubnetsWindow& view, bool forward) {
  ShowPage(view, forward ? view.page + 1 : view.page - 1);
}

// Asks for an index or address, then shows its page with its row selected.
void GoToSubnet(SubnetsWindow& view) {
  std::string typed;
  if (!AskGoToTarget(WindowHandle(view.window), typed)) return;
  const IndexTarget target = view.subnets.find(typed);
  if (!target.refusal.title.empty()) {
    ShowMessageBox(target.refusal.title.c_str(), target.refusal.text.c_str(),
                   MessageBoxInformation);
    return;
  }
  ShowPage(view, PageOfRow(target.index));
  const PageRows<Uint128> shown = RowsOfPage(view.subnets.lastIndex, view.page);
  ControlSetState(view.list, static_cast<intptr_t>((target.index - shown.first).low));
}

// Every sub-network as velkor's "--list --all --format csv" writes them, with
// "Saving nn%" in the page label meanwhile.
void SaveAll(const SubnetsWindow& view) {
  const ListingProgress progress = [&view](int64_t written, int64_t total) {
    const std::string text = "Saving " + FormatInteger(written * 100 / total) + "%";
    ControlSetText(view.pageLabel, text.c_str());
    PaintPendingWindows();
    return true;
  };
  SaveAsCsv(WindowHandle(view.window), "subnets.csv", "The sub-networks",
            [&](std::FILE* file) { return view.subnets.writeCsv(file, progress); });
  ControlSetText(view.pageLabel, PageText(view.page, view.pages).c_str());
}

// The selected row is read when the menu item arrives; none, no copy.
void CopyCell(const SubnetsWindow& view, int column) {
  intptr_t row = ControlGetState(view.list);
  if (row != -1)
    PutClipboardText(ControlItemText(view.list, static_cast<int>(row), column).c_str());
}

void ShowCopyMenu(const SubnetsWindow& view) {
  if (ControlGetState(view.list) == -1) return;
  int menu = NewPopupMenu(AutoId);
  if (menu == 0) return;
  for (int item = 0; item < view.subnets.columns; ++item)
    AddPopupItem(FirstCopyItem + item, CopyItems[item]);
  AddPopupSeparator();
  for (const MenuCommand& command : PlanItems)
    AddPopupItem(command.item, command.text);
  ShowPopupAtCursor(menu, WindowHandle(view.window));
  ReleasePopupMenu(menu);
}

void OnMenuItem(SubnetsWindow& view, int item) {
  if (item == NextPageCommand) {
    TurnPage(view, true);
  } else if (item == PreviousPageCommand) {
    TurnPage(view, false);
  } else if (item == FirstPageCommand) {
    ShowPage(view, 1);
  } else if (item == LastPageCommand) {
    ShowPage(view, view.pages);
  } else if (item == GoToCommand) {
    GoToSubnet(view);
  } else if (item == SaveCommand) {
    SaveAll(view);
  } else if (item >= FirstCopyItem && item < FirstCopyItem + view.subnets.columns) {
    CopyCell(view, item - FirstCopyItem);
  }
}

void OnControl(SubnetsWindow& view, int control) {
  if (control == view.previous) {
    TurnPage(view, false);
  } else if (control == view.next) {
    TurnPage(view, true);
  } else if (control == view.list && EventDetail() == DetailRightClick) {
    ShowCopyMenu(view);
  }
}

// Runs until Close, Escape or the close request; false ends the loop.
bool OnEvent(SubnetsWindow& view, int kind) {
  if (IsDismissal(kind, view.close)) return false;
  if (kind == MenuEvent) OnMenuItem(view, EventSourceMenuItem());
  if (kind == ControlEvent) OnControl(view, EventSourceControl());
  return true;
}

void BuildWindow(SubnetsWindow& view, int width, int height) {
  CreateControls(view, width, height);
  ControlSetDisabled(view.previous, 1);
  if (view.pages == Uint128(1)) ControlSetDisabled(view.next, 1);
  FillPage(view, 1);
  WindowAddShortcut(view.window, VK_ESCAPE, EscapeCommand);
  WindowAddShortcut(view.window, NextPageKey, NextPageCommand);
  WindowAddShortcut(view.window, PreviousPageKey, PreviousPageCommand);
  WindowAddShortcut(view.window, FirstPageKey, FirstPageCommand);
  WindowAddShortcut(view.window, LastPageKey, LastPageCommand);
  WindowAddShortcut(view.window, GoToKey, GoToCommand);
  WindowAddShortcut(view.window, SaveKey, SaveCommand);
  // The keys a list answers itself (Home, End, PageUp, PageDown, Up, Down)
  // reach it from the start.
  ControlSetFocus(view.list);
}

void ShowSubnetList(NativeHandle owner, SubnetList subnets, int width, int height) {
  // The view outlives the window: a split's list reads its row colours until it is gone.
  SubnetsWindow view;
  view.subnets = std::move(subnets);
  view.pages = PageTotal(view.subnets.lastIndex);
  ModalWindow modal(owner, width, height, SubnetsTitle);
  view.window = modal.Id();
  // Closing the window destroys the panel, which puts its own procedure back
  // and removes the properties.
  modal.Run([&] { BuildWindow(view, width, height); },
            [&](int kind) { return OnEvent(view, kind); });
}

}  // namespace

int ShowSubnetsWindow(NativeHandle owner, const SubnetPlan& plan, int width, int height) {
  ShowSubnetList(owner, PlanList(plan), width, height);
  return 0;
}

void ShowSplitWindow(NativeHandle owner, const AnySplit& split, int width, int height) {
  ShowSubnetList(owner, std::visit([](const auto& equal) { return SplitListOf(equal); }, split),
                 width, height);
}
