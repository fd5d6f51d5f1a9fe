// The VLSM planner: an address block of either family and a list of named
// sub-networks in, the plan of velkor's --vlsm-file out, in a list to read,
// copy or save. The list shows the cells of velkor's TSV, so that what the
// window shows, copies and saves is what velkor writes for the same input.
// The block and the list are kept in plan files, which velkor reads too.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/modal.hpp"
#include "app/secondary_windows.hpp"
#include "app/tsv_table.hpp"
#include "app/window_ids.hpp"
#include "base/text.hpp"
#include "net/block_map.hpp"
#include "net/plan_file.hpp"
#include "net/planner.hpp"
#include "toolkit/clipboard.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/events.hpp"
#include "toolkit/files.hpp"
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

// The columns of velkor's rows: IPv4's, and IPv6's without mask and broadcast.
constexpr int Ipv4Columns = 8;
constexpr int Ipv6Columns = 6;
constexpr const char* Ipv4Titles[Ipv4Columns] = {"Name", "Wanted",   "Usable",  "Network",
                                                 "Mask", "First IP", "Last IP", "Broadcast"};
constexpr const char* Ipv6Titles[Ipv6Columns] = {"Name",    "Wanted",   "Usable",
                                                 "Network", "First IP", "Last IP"};
// The copy menu: item FirstCopyItem + c copies column c of the selected row.
constexpr int FirstCopyItem = 101;
constexpr const char* Ipv4CopyItems[Ipv4Columns] = {
    "Copy name", "Copy wanted hosts",     "Copy usable hosts",    "Copy network",
    "Copy mask", "Copy first IP address", "Copy last IP address", "Copy broadcast address"};
constexpr const char* Ipv6CopyItems[Ipv6Columns] = {
    "Copy name",    "Copy wanted hosts",     "Copy usable hosts",
    "Copy network", "Copy first IP address", "Copy last IP address"};
constexpr int CopyAllItem = FirstCopyItem + Ipv4Columns;
constexpr const char* CopyAllText = "Copy all as text";
constexpr const char* SaveText = "Save as CSV...\tCtrl+S";
constexpr int SaveKey = 'S' | ShortcutCtrl;
constexpr const char* OpenPlanText = "Open plan...\tCtrl+O";
constexpr int OpenPlanKey = 'O' | ShortcutCtrl;
constexpr const char* SavePlanText = "Save plan\tCtrl+Shift+S";
constexpr int SavePlanKey = 'S' | ShortcutCtrl | ShortcutShift;
constexpr const char* SavePlanAsText = "Save plan as...\tF12";
constexpr const char* NewPlanName = "plan.txt";  // proposed for a plan not saved yet
constexpr const char* OpenFailedTitle = "Could not open";

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
  int columns = Ipv4Columns;
  TsvTable rows = IndexTsv(std::string(), Ipv4Columns);  // none until the first plan
};

// The plan file shown: its path ("" before the first open or save), its line
// end, and the fields as they were when it was opened or saved.
struct PlanFileState {
  std::string path;
  std::string lineEnd = "\r\n";
  std::string saved;
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
  PlanFileState file;
};

const char* const* TitlesOf(int columns) {
  return columns == Ipv6Columns ? Ipv6Titles : Ipv4Titles;
}

PlanTable TableOf(PlannerOutcome outcome) {
  PlanTable table;
  table.outcome = std::move(outcome);
  table.columns = PlannerColumns(table.outcome);
  table.rows = IndexTsv(PlannerRows(table.outcome, ListFormat::Tsv), table.columns);
  return table;
}

// The wanted sub-networks' rows alternate; the free blocks after them have their own colour.
int RowColour(const PlanTable& table, int row) {
  if (static_cast<std::size_t>(row) >= table.outcome.items.size()) return FreeRow;
  return row % 2 == 0 ? EvenRow : OddRow;
}

// When the columns do not fit, the names give way.
void FitColumns(const PlannerView& view) {
  FitTableColumns(view.list, view.table.rows, TitlesOf(view.table.columns), 0);
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
                                    Ipv4Titles[0], 0, ListFlags));
  view.map = AsId(CreateBlockMap(AutoId, Margin, mapY, width - 2 * Margin, MapHeight));
  for (int column = 1; column < Ipv4Columns; ++column)
    ControlAddColumn(view.list, column, Ipv4Titles[column], 0);
  view.status =
      AsId(CreateLabel(AutoId, Margin, closeY + 4, rightX - 2 * Margin, PromptHeight, ReadyStatus));
  view.close = AsId(CreatePushButton(AutoId, rightX, closeY, ButtonWidth, RowHeight, "Close"));
}

// The number of addresses of a plan's block, as a power of two.
template <class F>
int BlockBits(const VlsmPlanOf<F>& plan) {
  return F::Bits - plan.block.prefix;
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
  std::visit(
      [&view, &look](const auto& plan) {
        ControlSetBlockMap(view.map, PlanMapRows(plan), BlockBits(plan), std::move(look));
      },
      view.table.outcome.plan);
}

// Shows a plan in the list, its family's columns, its map and its use.
void ShowTable(PlannerView& view, PlanTable table) {
  if (table.columns != view.table.columns) {
    ControlSetColumns(view.list, TitlesOf(table.columns), table.columns);
  }
  view.table = std::move(table);
  ControlSetVirtualRows(view.list, RowCount(view.table.rows), [&view](int row, int column) {
    return CellOf(view.table.rows, row, column);
  });
  FitColumns(view);
  ShowMap(view);
  ControlSetText(view.status, PlannerStatus(view.table.outcome).c_str());
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
  ShowTable(view, TableOf(std::move(outcome)));
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
  SaveTextAsCsv(WindowHandle(view.window), "vlsm.csv", "The plan",
                SaveCount(static_cast<uint64_t>(RowCount(view.table.rows))),
                PlannerRows(view.table.outcome, ListFormat::Csv));
}

// ----- Plan files

std::string FileNameOf(const std::string& path) {
  return path.substr(path.find_last_of("\\/") + 1);
}

// The block and the list as a plan file holds them, line ends aside.
std::string Snapshot(const PlannerView& view) {
  return PlanFileText(Trimmed(ControlGetText(view.blockEntry), " \t\r\n"),
                      WithLineEnds(ControlGetText(view.lines), "\n"));
}

// The title names the open file.
void ShowTitle(const PlannerView& view) {
  const std::string name = view.file.path.empty() ? "" : " - " + FileNameOf(view.file.path);
  WindowSetTitle(view.window, (PlannerTitle + name).c_str());
}

void Saved(PlannerView& view, const std::string& path) {
  view.file.path = path;
  view.file.saved = Snapshot(view);
  ShowTitle(view);
}

// Saves the fields to the open file, or (with `choose`, or with none open)
// to one the user picks; false when not saved.
bool SavePlan(PlannerView& view, bool choose) {
  const std::string text = WithLineEnds(Snapshot(view), view.file.lineEnd);
  const std::string proposed = view.file.path.empty() ? NewPlanName : FileNameOf(view.file.path);
  const uint64_t lines = static_cast<uint64_t>(std::count(text.begin(), text.end(), '\n'));
  const std::string path = SavePlanFile(WindowHandle(view.window), choose ? "" : view.file.path,
                                        proposed.c_str(), SaveCount(lines), text);
  if (!path.empty()) Saved(view, path);
  return !path.empty();
}

// True when nothing unsaved would be lost: the fields are as last opened or
// saved, or the user saved them or chose not to.
bool MayDiscard(PlannerView& view) {
  if (Snapshot(view) == view.file.saved) return true;
  const std::string what = view.file.path.empty() ? "the plan" : FileNameOf(view.file.path);
  switch (AskToSaveChanges(WindowHandle(view.window), what)) {
    case SaveChoice::Save:
      return SavePlan(view, false);
    case SaveChoice::DontSave:
      return true;
    case SaveChoice::Cancel:
      break;
  }
  return false;
}

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  char block[1 << 16];
  for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;)
    text.append(block, got);
  const bool read = std::ferror(file) == 0;
  std::fclose(file);
  return read;
}

// Opens the plan file at `path` into the fields and plans it; a file that
// cannot be read or is no plan is refused, and the window keeps what it had.
void OpenPlanFile(PlannerView& view, const std::string& path) {
  std::string text;
  if (!ReadWholeFile(path, text)) {
    const std::string problem = FileNameOf(path) + " could not be read.";
    ShowMessageBox(OpenFailedTitle, problem.c_str(), MessageBoxInformation);
    return;
  }
  OpenedPlan opened = OpenPlan(FileNameOf(path), text, ControlGetText(view.blockEntry));
  const Refusal& refusal = opened.outcome.refusal;
  if (!refusal.title.empty()) {
    ShowMessageBox(refusal.title.c_str(), refusal.text.c_str(), MessageBoxInformation);
    return;
  }
  ControlSetText(view.blockEntry, opened.block.c_str());
  ControlSetText(view.lines, WithLineEnds(opened.list, "\r\n").c_str());
  ShowTable(view, TableOf(std::move(opened.outcome)));
  view.file.lineEnd = opened.lineEnd;
  Saved(view, path);
}

void OpenChosen(PlannerView& view) {
  const std::string path = ChoosePlanFile(WindowHandle(view.window));
  if (!path.empty() && MayDiscard(view)) OpenPlanFile(view, path);
}

// The first of the files dropped on the window.
void OpenDropped(PlannerView& view) {
  const std::vector<std::string> paths = WindowDroppedFiles(view.window);
  if (!paths.empty() && MayDiscard(view)) OpenPlanFile(view, paths.front());
}

// ----- Commands

// The copy items for the selected row, if any, copying and saving the whole
// plan, then the plan file's items.
void ShowMenu(const PlannerView& view) {
  const int menu = NewPopupMenu(AutoId);
  if (menu == 0) return;
  const char* const* copyItems = view.table.columns == Ipv6Columns ? Ipv6CopyItems : Ipv4CopyItems;
  if (RowCount(view.table.rows) > 0 && ControlGetState(view.list) != -1) {
    for (int column = 0; column < view.table.columns; ++column)
      AddPopupItem(FirstCopyItem + column, copyItems[column]);
    AddPopupSeparator();
  }
  if (RowCount(view.table.rows) > 0) {
    AddPopupItem(CopyAllItem, CopyAllText);
    AddPopupItem(SaveCommand, SaveText);
    AddPopupSeparator();
  }
  AddPopupItem(OpenPlanCommand, OpenPlanText);
  AddPopupItem(SavePlanCommand, SavePlanText);
  AddPopupItem(SavePlanAsCommand, SavePlanAsText);
  ShowPopupAtCursor(menu, WindowHandle(view.window));
  ReleasePopupMenu(menu);
}

// Enter plans, or presses Close when that has the focus; false ends the loop.
bool OnMenuItem(PlannerView& view, int item) {
  if (item == PlanEnterCommand) {
    if (FocusedControl() == view.close) return !MayDiscard(view);
    Plan(view);
  } else if (item == SaveCommand) {
    Save(view);
  } else if (item == OpenPlanCommand) {
    OpenChosen(view);
  } else if (item == SavePlanCommand || item == SavePlanAsCommand) {
    SavePlan(view, item == SavePlanAsCommand);
  } else if (item == CopyAllItem) {
    CopyAll(view);
  } else if (item >= FirstCopyItem && item < FirstCopyItem + view.table.columns) {
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

// Runs until Close, Escape or the close box, once nothing unsaved would be
// lost; false ends the loop.
bool OnEvent(PlannerView& view, int kind) {
  if (IsDismissal(kind, view.close)) return !MayDiscard(view);
  if (kind == MenuEvent) return OnMenuItem(view, EventSourceMenuItem());
  if (kind == ControlEvent) OnControl(view, EventSourceControl());
  if (kind == FileDropEvent) OpenDropped(view);
  return true;
}

void BuildWindow(PlannerView& view, const std::string& block, int width, int height) {
  CreateControls(view, block, width, height);
  ControlSetRowColours(view.list, [&view](int row) { return RowColour(view.table, row); });
  FitColumns(view);
  WindowAddShortcut(view.window, VK_ESCAPE, EscapeCommand);
  WindowAddShortcut(view.window, VK_RETURN, PlanEnterCommand);
  WindowAddShortcut(view.window, SaveKey, SaveCommand);
  WindowAddShortcut(view.window, OpenPlanKey, OpenPlanCommand);
  WindowAddShortcut(view.window, SavePlanKey, SavePlanCommand);
  WindowAddShortcut(view.window, VK_F12, SavePlanAsCommand);
  WindowAcceptFiles(view.window, 1);
  view.file.saved = Snapshot(view);
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
