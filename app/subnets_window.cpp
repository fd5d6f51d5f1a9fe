// The Sub-networks window: every sub-network of the plan, one page at a time,
// with its reserved first and last rows coloured, paging by buttons and arrow
// keys, and a context menu that copies one cell of the selected row.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/modal.hpp"
#include "app/secondary_windows.hpp"
#include "app/window_ids.hpp"
#include "base/text.hpp"
#include "calc/enumeration.hpp"
#include "calc/find.hpp"
#include "calc/listing.hpp"
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

// The "#" column and the address columns never get less than this needs.
constexpr const char* WidestAddress = "255.255.255.255";
// The page label's designed width, and its gap to the Close button.
constexpr int PageLabelWidth = 100;
constexpr int PageLabelGap = 5;

struct SubnetsWindow {
  int window = 0;
  int list = 0;
  int close = 0;
  int previous = 0;
  int next = 0;
  int pageLabel = 0;
  const SubnetPlan* plan = nullptr;
  int32_t lastIndex = 0;
  int32_t pages = 1;
  int32_t page = 1;
};

std::string PageText(int32_t page, int32_t pages) {
  return "Page " + FormatInteger(page) + "/" + FormatInteger(pages);
}

// Shows page `page`: one row per sub-network, its five texts in the columns.
void FillPage(int list, const SubnetPlan& plan, int32_t lastIndex, int32_t pageSize, int32_t page) {
  IndexRange range;
  PageRange(lastIndex, pageSize, page, range);
  ControlClearItems(list);
  SubnetEntry entry;
  for (int32_t index = range.first; index <= range.last; ++index) {
    if (plan.GetSubnet(index, entry)) ControlAddItem(list, -1, RowText(entry).c_str());
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

// The "#" column as wide as the plan's largest index needs (the designed
// width while that fits); the address columns give up that width evenly, so
// no cell is cut and the list needs no horizontal scroll bar.
void FitIndexColumn(const SubnetsWindow& view) {
  const int needed = ControlCellWidth(view.list, FormatInteger(view.lastIndex).c_str());
  const int extra = needed - Columns[0].width;
  if (extra <= 0) return;
  const int addressMinimum = ControlCellWidth(view.list, WidestAddress);
  std::vector<int> widths{needed};
  for (int column = 1; column < 5; ++column) {
    const int narrowed = Columns[column].width - (extra + 3) / 4;
    widths.push_back(narrowed > addressMinimum ? narrowed : addressMinimum);
  }
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

// The panel with the list in it, then the buttons and the page label below.
void CreateControls(SubnetsWindow& view, int width, int height) {
  int panel = static_cast<int>(CreatePanel(AutoId, 0, 0, width, height - 33, 0));
  view.list = static_cast<int>(CreateReportList(AutoId, 5, 5, width - 10, height - 38,
                                                Columns[0].title, Columns[0].width, ListFlags));
  for (int column = 1; column < 5; ++column)
    ControlAddColumn(view.list, column, Columns[column].title, Columns[column].width);
  InstallRowColouring(panel, view.list, view.lastIndex);
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
  FitIndexColumn(view);
  FitPageLabel(view);
}

// Shows `page` with the buttons and the label to match; a page outside
// 1 .. pages, or the one shown, changes nothing.
void ShowPage(SubnetsWindow& view, int32_t page) {
  if (page < 1 || page > view.pages || page == view.page) return;
  view.page = page;
  FillPage(view.list, *view.plan, view.lastIndex, SubnetPageSize, page);
  ControlSetDisabled(view.previous, page == 1);
  ControlSetDisabled(view.next, page == view.pages);
  ControlSetText(view.pageLabel, PageText(page, view.pages).c_str());
}

// Moves `step` pages (+1 or -1) when that stays within the pages.
void TurnPage(SubnetsWindow& view, int step) {
  ShowPage(view, view.page + step);
}

// Asks for an index or address, then shows its page with its row selected.
void GoToSubnet(SubnetsWindow& view) {
  std::string typed;
  if (!AskGoToTarget(WindowHandle(view.window), typed)) return;
  const SubnetTarget target = FindSubnetTarget(*view.plan, typed);
  if (target.index < 0) {
    ShowMessageBox(target.refusal.title.c_str(), target.refusal.text.c_str(),
                   MessageBoxInformation);
    return;
  }
  ShowPage(view, PageOfIndex(target.index, SubnetPageSize));
  IndexRange shown;
  PageRange(view.lastIndex, SubnetPageSize, view.page, shown);
  ControlSetState(view.list, target.index - shown.first);
}

// At most the bytes of the plan's CSV: the header and a row as long as the
// last one for each sub-network. The last row is the longest: its index is the
// largest, and its addresses have every varying bit set, so each octet holds
// the most digits any row has there.
SaveSize CsvSizeOf(const ListingRange& whole) {
  ListingRange last = whole;
  last.first = whole.last;
  std::string sample;
  WriteListing(last, ListFormat::Csv, sample);
  const std::size_t header = sample.find('\n') + 1;
  const auto rows = static_cast<SaveCount>(whole.last - whole.first + 1);
  return SaveSize{rows, header + rows * (sample.size() - header)};
}

// Every sub-network as velkor's "--list --all --format csv" writes them.
void SaveAll(const SubnetsWindow& view) {
  const ListingRange whole = WholePlan(*view.plan);
  const CsvWriter write = [whole](std::FILE* file, const SaveProgress& progress) {
    return WriteListing(whole, ListFormat::Csv, file, [&progress](int64_t written, int64_t) {
      return progress(static_cast<uint64_t>(written));
    });
  };
  SaveAsCsv(WindowHandle(view.window),
            CsvSave{"subnets.csv", "The sub-networks", CsvSizeOf(whole), write});
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
  for (int item = 0; item < 5; ++item)
    AddPopupItem(FirstCopyItem + item, CopyItems[item]);
  AddPopupSeparator();
  for (const MenuCommand& command : PlanItems)
    AddPopupItem(command.item, command.text);
  ShowPopupAtCursor(menu, WindowHandle(view.window));
  ReleasePopupMenu(menu);
}

void OnMenuItem(SubnetsWindow& view, int item) {
  if (item == NextPageCommand) {
    TurnPage(view, +1);
  } else if (item == PreviousPageCommand) {
    TurnPage(view, -1);
  } else if (item == FirstPageCommand) {
    ShowPage(view, 1);
  } else if (item == LastPageCommand) {
    ShowPage(view, view.pages);
  } else if (item == GoToCommand) {
    GoToSubnet(view);
  } else if (item == SaveCommand) {
    SaveAll(view);
  } else if (item >= FirstCopyItem && item < FirstCopyItem + 5) {
    CopyCell(view, item - FirstCopyItem);
  }
}

void OnControl(SubnetsWindow& view, int control) {
  if (control == view.previous) {
    TurnPage(view, -1);
  } else if (control == view.next) {
    TurnPage(view, +1);
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
  if (view.pages == 1) ControlSetDisabled(view.next, 1);
  FillPage(view.list, *view.plan, view.lastIndex, SubnetPageSize, 1);
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

}  // namespace

int ShowSubnetsWindow(NativeHandle owner, const SubnetPlan& plan, int width, int height) {
  ModalWindow modal(owner, width, height, SubnetsTitle);
  SubnetsWindow view;
  view.window = modal.Id();
  view.plan = &plan;
  view.lastIndex = plan.TotalSubnets() - 1;
  view.pages = PageCount(view.lastIndex, SubnetPageSize);
  // Closing the window destroys the panel, which puts its own procedure back
  // and removes the properties.
  modal.Run([&] { BuildWindow(view, width, height); },
            [&](int kind) { return OnEvent(view, kind); });
  return 0;
}
