// The VLSM planner: an address block and a list of named sub-networks in, the
// plan of velkor's --vlsm-file out, in a list to read, copy or save. The list
// shows the cells of velkor's TSV, so that what the window shows, copies and
// saves is what velkor writes for the same input.
#include <windows.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

#include "app/modal.hpp"
#include "app/secondary_windows.hpp"
#include "app/tsv_table.hpp"
#include "app/window_ids.hpp"
#include "net/planner.hpp"
#include "toolkit/clipboard.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/events.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/message_box.hpp"
#include "toolkit/views.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr const char* BlockPrompt = "Address block:";
constexpr const char* LinesPrompt =
    "Wanted sub-networks (name and hosts, or name and /prefix, one per line):";
// Two lines by hosts and one by prefix: they fit the smallest preset block, a
// /24, and leave free blocks to see.
constexpr const char* ExampleLines = "sales 100\r\nengineering 50\r\nuplink /30";
constexpr const char* ReadyStatus = "Press Plan to carve the block into the sub-networks.";

constexpr int ColumnCount = 8;
constexpr const char* ColumnTitles[ColumnCount] = {"Name", "Wanted",   "Usable",  "Network",
                                                   "Mask", "First IP", "Last IP", "Broadcast"};
// The copy menu: item FirstCopyItem + c copies column c of the selected row.
constexpr int FirstCopyItem = 101;
constexpr const char* CopyItems[ColumnCount] = {
    "Copy name", "Copy wanted hosts",     "Copy usable hosts",    "Copy network",
    "Copy mask", "Copy first IP address", "Copy last IP address", "Copy broadcast address"};
constexpr int CopyAllItem = FirstCopyItem + ColumnCount;
constexpr const char* CopyAllText = "Copy all as text";
constexpr const char* SaveText = "Save as CSV...\tCtrl+S";
constexpr int SaveKey = 'S' | ShortcutCtrl;

// Rows as in the sub-networks window, the free blocks in a green of their own.
constexpr int EvenRow = 225 | 225 << 8 | 255 << 16;
constexpr int OddRow = 255 | 255 << 8 | 255 << 16;
constexpr int FreeRow = 225 | 255 << 8 | 225 << 16;
// The map's wanted sub-networks, in turn by row, light enough for black names.
constexpr int MapColours[] = {255 | 200 << 8 | 150 << 16, 160 | 200 << 8 | 255 << 16,
                              255 | 170 << 8 | 200 << 16, 200 | 170 << 8 | 255 << 16,
                              255 | 235 << 8 | 130 << 16, 150 | 230 << 8 | 230 << 16};
constexpr int NetworkColumn = 3;

constexpr unsigned ListFlags =
    ReportListFullRowSelect | ReportListShowSelectionAlways | ReportListVirtual;

constexpr int Margin = 10;
constexpr int RowHeight = 22;
constexpr int PromptHeight = 16;
constexpr int ButtonWidth = 75;
constexpr int BlockEntryWidth = 180;
constexpr int LinesHeight = 112;
constexpr int MapHeight = 28;

// The plan as the list shows it and the clipboard gets it: velkor's TSV.
struct PlanTable {
  PlannerOutcome outcome;
  TsvTable rows = IndexTsv(std::string(), ColumnCount);  // none until the first plan
};

struct PlannerView {
  int window = 0;
  int blockEntry = 0;
  int lines = 0;
  int plan = 0;
  int list = 0;
  int map = 0;
  int status = 0;
  int close = 0;
  PlanTable table;
};

PlanTable TableOf(PlannerOutcome outcome) {
  PlanTable table;
  table.outcome = std::move(outcome);
  std::string tsv;
  WriteVlsm(table.outcome.plan, table.outcome.items, ListFormat::Tsv, tsv);
  table.rows = IndexTsv(std::move(tsv), ColumnCount);
  return table;
}

// The wanted sub-networks' rows alternate; the free blocks after them have their own colour.
int RowColour(const PlanTable& table, int row) {
  if (static_cast<std::size_t>(row) >= table.outcome.items.size()) return FreeRow;
  return row % 2 == 0 ? EvenRow : OddRow;
}

// When the columns do not fit, the names give way.
void FitColumns(const PlannerView& view) {
  FitTableColumns(view.list, view.table.rows, ColumnTitles, 0);
}

void CreateControls(PlannerView& view, const std::string& block, int width, int height) {
  const int fieldX = Margin + 85;
  CreateLabel(AutoId, Margin, Margin + 3, fieldX - Margin, PromptHeight, BlockPrompt);
  view.blockEntry =
      AsId(CreateTextEntry(AutoId, fieldX, Margin, BlockEntryWidth, RowHeight, block.c_str()));
  const int promptY = Margin + RowHeight + 10;
  CreateLabel(AutoId, Margin, promptY, width - 2 * Margin, PromptHeight, LinesPrompt);
  view.lines = AsId(CreateTextArea(AutoId, Margin, promptY + PromptHeight + 2, width - 2 * Margin,
                                   LinesHeight, 0));
  ControlSetText(view.lines, ExampleLines);
  const int planY = ControlY(view.lines) + ControlHeight(view.lines) + 6;
  const int rightX = width - Margin - ButtonWidth;
  view.plan = AsId(CreatePushButton(AutoId, rightX, planY, ButtonWidth, RowHeight, "Plan"));
  const int listY = planY + RowHeight + 6;
  const int closeY = height - Margin - RowHeight + 2;
  const int mapY = closeY - 6 - MapHeight;
  view.list = AsId(CreateReportList(AutoId, Margin, listY, width - 2 * Margin, mapY - 6 - listY,
                                    ColumnTitles[0], 0, ListFlags));
  view.map = AsId(CreateBlockMap(AutoId, Margin, mapY, width - 2 * Margin, MapHeight));
  for (int column = 1; column < ColumnCount; ++column)
    ControlAddColumn(view.list, column, ColumnTitles[column], 0);
  view.status =
      AsId(CreateLabel(AutoId, Margin, closeY + 4, rightX - 2 * Margin, PromptHeight, ReadyStatus));
  view.close = AsId(CreatePushButton(AutoId, rightX, closeY, ButtonWidth, RowHeight, "Close"));
}

// The plan's rows drawn to scale, free blocks in their rows' green; the
// wanted sub-networks are named, and each span's tooltip gives its network.
void ShowMap(PlannerView& view) {
  const std::size_t wanted = view.table.outcome.items.size();
  BlockMapLook look;
  look.colour = [wanted](int row) {
    return static_cast<std::size_t>(row) < wanted ? MapColours[row % std::size(MapColours)]
                                                  : FreeRow;
  };
  look.label = [&view, wanted](int row) {
    return static_cast<std::size_t>(row) < wanted ? CellOf(view.table.rows, row, 0) : "";
  };
  look.tip = [&view](int row) {
    return CellOf(view.table.rows, row, 0) + ": " + CellOf(view.table.rows, row, NetworkColumn);
  };
  const VlsmPlan& plan = view.table.outcome.plan;
  ControlSetBlockMap(view.map, PlanMapRows(plan), Ipv4::Bits - plan.block.prefix, std::move(look));
}

// Plans what the two fields hold; a refusal is shown and the list and the
// status stay as they were.
void Plan(PlannerView& view) {
  ShowWaitCursor(1);
  PlannerOutcome outcome = RunPlanner(ControlGetText(view.blockEntry), ControlGetText(view.lines));
  ShowWaitCursor(0);
  if (!outcome.refusal.title.empty()) {
    ShowMessageBox(outcome.refusal.title.c_str(), outcome.refusal.text.c_str(),
                   MessageBoxInformation);
    return;
  }
  view.table = TableOf(std::move(outcome));
  ControlSetVirtualRows(view.list, RowCount(view.table.rows), [&view](int row, int column) {
    return CellOf(view.table.rows, row, column);
  });
  FitColumns(view);
  ShowMap(view);
  ControlSetText(view.status, VlsmStatus(view.table.outcome.plan).c_str());
}

// The selected row is read when the menu item arrives; none, no copy.
void CopyCell(const PlannerView& view, int column) {
  const intptr_t row = ControlGetState(view.list);
  if (row != -1)
    PutClipboardText(ControlItemText(view.list, static_cast<int>(row), column).c_str());
}

void CopyAll(const PlannerView& view) {
  if (RowCount(view.table.rows) > 0) PutClipboardText(view.table.rows.tsv.c_str());
}

// The plan as velkor's "--vlsm-file LIST --format csv" writes it.
void Save(const PlannerView& view) {
  if (RowCount(view.table.rows) == 0) return;
  std::string csv;
  WriteVlsm(view.table.outcome.plan, view.table.outcome.items, ListFormat::Csv, csv);
  SaveTextAsCsv(WindowHandle(view.window), "vlsm.csv", "The plan",
                SaveCount(static_cast<uint64_t>(RowCount(view.table.rows))), csv);
}

// The copy items for the selected row, if any, then copying and saving the whole plan.
void ShowMenu(const PlannerView& view) {
  if (RowCount(view.table.rows) == 0) return;
  const int menu = NewPopupMenu(AutoId);
  if (menu == 0) return;
  if (ControlGetState(view.list) != -1) {
    for (int column = 0; column < ColumnCount; ++column)
      AddPopupItem(FirstCopyItem + column, CopyItems[column]);
    AddPopupSeparator();
  }
  AddPopupItem(CopyAllItem, CopyAllText);
  AddPopupItem(SaveCommand, SaveText);
  ShowPopupAtCursor(menu, WindowHandle(view.window));
  ReleasePopupMenu(menu);
}

// Enter plans, or presses Close when that has the focus; false ends the loop.
bool OnMenuItem(PlannerView& view, int item) {
  if (item == PlanEnterCommand) {
    if (FocusedControl() == view.close) return false;
    Plan(view);
  } else if (item == SaveCommand) {
    Save(view);
  } else if (item == CopyAllItem) {
    CopyAll(view);
  } else if (item >= FirstCopyItem && item < FirstCopyItem + ColumnCount) {
    CopyCell(view, item - FirstCopyItem);
  }
  return true;
}

void OnControl(PlannerView& view, int control) {
  if (control == view.plan) {
    Plan(view);
  } else if (control == view.list && EventDetail() == DetailRightClick) {
    ShowMenu(view);
  } else if (control == view.list && EventDetail() == DetailChange) {
    ControlSetState(view.map, ControlGetState(view.list));
  } else if (control == view.map) {
    ControlSetState(view.list, ControlGetState(view.map));
  }
}

// Runs until Close, Escape or the close box; false ends the loop.
bool OnEvent(PlannerView& view, int kind) {
  if (IsDismissal(kind, view.close)) return false;
  if (kind == MenuEvent) return OnMenuItem(view, EventSourceMenuItem());
  if (kind == ControlEvent) OnControl(view, EventSourceControl());
  return true;
}

void BuildWindow(PlannerView& view, const std::string& block, int width, int height) {
  CreateControls(view, block, width, height);
  ControlSetRowColours(view.list, [&view](int row) { return RowColour(view.table, row); });
  FitColumns(view);
  WindowAddShortcut(view.window, VK_ESCAPE, EscapeCommand);
  WindowAddShortcut(view.window, VK_RETURN, PlanEnterCommand);
  WindowAddShortcut(view.window, SaveKey, SaveCommand);
  ControlSetFocus(view.blockEntry);
}

}  // namespace

void ShowPlannerWindow(NativeHandle owner, const std::string& block, int width, int height) {
  // The view outlives the window: the list reads its cells until it is gone.
  PlannerView view;
  ModalWindow modal(owner, width, height, PlannerTitle, WS_CAPTION | WS_SYSMENU);
  view.window = modal.Id();
  modal.Run([&] { BuildWindow(view, block, width, height); },
            [&](int kind) { return OnEvent(view, kind); });
}
