// The Sub-networks window: every sub-network of a classful plan or of an
// equal split, one page at a time, paging by buttons and arrow keys, and a
// context menu that copies one cell of the selected row. A plan's reserved
// first and last rows are coloured; a split reserves none. Rows, pages and
// go-to are computed from indexes of up to 128 bits, so the last of 2^128
// rows costs what the first does.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
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
// IPv4 lists all five columns; IPv6 has no broadcast, and its address
// columns are as wide as the longest address needs in a window of 800.
constexpr int Ipv4Columns = 5;
constexpr int Ipv6Columns = 4;
constexpr int Ipv6AddressWidth = 245;

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

// The address columns never get less than the widest address needs.
constexpr const char* WidestIpv4 = "255.255.255.255";
constexpr const char* HexDigits = "0123456789abcdef";
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

// The designed width of a column of the list.
int DesignedWidth(const SubnetsWindow& view, int column) {
  const bool ipv6 = view.subnets.columns == Ipv6Columns;
  return column > 0 && ipv6 ? Ipv6AddressWidth : Columns[column].width;
}

// The widest text an address of the list's family can have: for IPv6 eight
// groups of the widest hex digit in the list's font.
int WidestAddressWidth(const SubnetsWindow& view) {
  if (view.subnets.columns == Ipv4Columns) return ControlCellWidth(view.list, WidestIpv4);
  int widest = 0;
  for (const char* digit = HexDigits; *digit != '\0'; ++digit) {
    std::string address(4, *digit);
    for (int group = 1; group < 8; ++group)
      address += ":" + std::string(4, *digit);
    const int width = ControlCellWidth(view.list, address.c_str());
    widest = width > widest ? width : widest;
  }
  return widest;
}

// The "#" column as wide as the largest index needs (the designed width while
// that fits); the address columns give up that width evenly but never get
// less than the widest address, so no cell is cut and, where the room allows,
// the list needs no horizontal scroll bar.
void FitColumns(const SubnetsWindow& view) {
  const int needed = ControlCellWidth(view.list, DecimalText(view.subnets.lastIndex).c_str());
  const int extra = needed > Columns[0].width ? needed - Columns[0].width : 0;
  const int addressColumns = view.subnets.columns - 1;
  const int addressMinimum = WidestAddressWidth(view);
  std::vector<int> widths{Columns[0].width + extra};
  bool designed = extra == 0;
  for (int column = 1; column <= addressColumns; ++column) {
    const int narrowed =
        DesignedWidth(view, column) - (extra + addressColumns - 1) / addressColumns;
    widths.push_back(narrowed > addressMinimum ? narrowed : addressMinimum);
    designed = designed && widths.back() == DesignedWidth(view, column);
  }
  if (!designed) ControlSetColumnWidths(view.list, widths);
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
    ControlAddColumn(view.list, column, Columns[column].title, DesignedWidth(view, column));
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
  FitColumns(view);
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
