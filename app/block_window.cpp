// The block calculator: any CIDR block of IPv4 or IPv6 in, velkor's facts of
// it out; an equal split of it in the Sub-networks window; and a list of
// blocks, addresses and ranges summarized or taken from the block's free
// space, shown, copied and saved as velkor writes them.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "app/modal.hpp"
#include "app/secondary_windows.hpp"
#include "app/tsv_table.hpp"
#include "app/window_ids.hpp"
#include "net/block_calculator.hpp"
#include "toolkit/clipboard.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/events.hpp"
#include "toolkit/fonts.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/message_box.hpp"
#include "toolkit/views.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr const char* BlockPrompt = "Address block:";
constexpr const char* SplitPrompt = "Split into:";
constexpr const char* SplitHint = "/P: sub-networks of prefix P; N: at least N sub-networks";
constexpr const char* ListPrompt =
    "Blocks, addresses and ranges (a-b) of IPv4 and IPv6, to summarize or to take from the "
    "block:";
// Two neighbours, a range and two halves of an IPv6 block: each part
// summarizes to fewer blocks than it has lines.
constexpr const char* ExampleList =
    "192.168.0.0/24\r\n192.168.1.0/24\r\n10.0.0.1-10.0.0.6\r\n2001:db8::/33, 2001:db8:8000::/33";
constexpr const char* ReadyStatus =
    "Summarize gives the fewest blocks covering the list; Free space what it leaves of the block.";

// The rows of a summary or of a block's free space: velkor's columns.
constexpr int ResultColumns = 5;
constexpr const char* ResultTitles[ResultColumns] = {"Network", "Prefix", "First IP", "Last IP",
                                                     "Addresses"};
// The copy menu: item FirstCopyItem + c copies column c of the selected row.
constexpr int FirstCopyItem = 101;
constexpr const char* CopyItems[ResultColumns] = {"Copy network", "Copy prefix",
                                                  "Copy first IP address", "Copy last IP address",
                                                  "Copy addresses"};

// Every command with its key and its system-menu item; Calculate's key is
// Enter in the block entry.
struct Command {
  int id;
  int key;  // 0: none of its own
  const char* item;
};
constexpr Command Commands[] = {
    {CalculateCommand, 0, "Calculate\tEnter"},
    {ShowNetworksCommand, 'N' | ShortcutCtrl, "Show networks\tCtrl+N"},
    {SummarizeCommand, 'U' | ShortcutCtrl, "Summarize\tCtrl+U"},
    {FreeSpaceCommand, 'F' | ShortcutCtrl, "Free space\tCtrl+F"},
    {CopyResultsCommand, 'C' | ShortcutCtrl | ShortcutShift, "Copy results as text\tCtrl+Shift+C"},
    {SaveResultsCommand, 'S' | ShortcutCtrl, "Save results as CSV...\tCtrl+S"},
};

// The report look of the main window's result area.
constexpr int Black = 0x000000;
constexpr int White = 0xFFFFFF;
constexpr int EvenRow = 225 | 225 << 8 | 255 << 16;
constexpr int OddRow = 255 | 255 << 8 | 255 << 16;

constexpr unsigned ResultFlags =
    ReportListFullRowSelect | ReportListShowSelectionAlways | ReportListVirtual;

// A split's Sub-networks window, by family (the variant's index): IPv6's
// longer addresses take a wider one.
struct Size {
  int width;
  int height;
};
constexpr Size SplitWindowSizes[] = {{460, 350}, {800, 350}};

constexpr int Margin = 10;
constexpr int RowHeight = 22;
constexpr int PromptHeight = 16;
constexpr int PromptDrop = 3;  // a prompt beside a field sits this much lower
constexpr int FieldX = Margin + 85;
constexpr int ButtonWidth = 75;
constexpr int WideButtonWidth = 85;
constexpr int Gap = 8;
constexpr int SectionGap = 12;  // between the block's part and the list's
constexpr int ButtonGap = 6;    // above and below the list's buttons, above Close
constexpr int BlockEntryWidth = 300;
constexpr int SplitEntryWidth = 120;
constexpr int FactsHeight = 220;  // the 16 lines of IPv4 facts and a scroll bar
constexpr int ListHeight = 80;

struct BlockView {
  int window = 0;
  int blockEntry = 0;
  int calculate = 0;
  int facts = 0;
  int splitEntry = 0;
  int showNetworks = 0;
  int list = 0;
  int summarize = 0;
  int freeSpace = 0;
  int results = 0;
  int status = 0;
  int close = 0;
  ListOutcome outcome;  // the rows shown
  TsvTable rows = IndexTsv(std::string(), ResultColumns);
  const char* fileName = "";  // proposed to a save of the rows
};

// The controls that run a command when Enter is pressed on them, or when they
// are clicked (buttons).
struct ControlCommand {
  int BlockView::*control;
  int command;
  bool button;
};
constexpr ControlCommand ControlCommands[] = {
    {&BlockView::blockEntry, CalculateCommand, false},
    {&BlockView::calculate, CalculateCommand, true},
    {&BlockView::splitEntry, ShowNetworksCommand, false},
    {&BlockView::showNetworks, ShowNetworksCommand, true},
    {&BlockView::summarize, SummarizeCommand, true},
    {&BlockView::freeSpace, FreeSpaceCommand, true},
    {&BlockView::close, EscapeCommand, true},
};

// ----- Controls -------------------------------------------------------------

void CreatePrompt(int y, const char* text) {
  CreateLabel(AutoId, Margin, y + PromptDrop, FieldX - Margin, PromptHeight, text);
}

// The block entry and Calculate, the facts below, then the split row; returns
// where the list's part starts.
int CreateBlockPart(BlockView& view, const std::string& block, int width, int reportFont) {
  const int rightX = width - Margin - ButtonWidth;
  int y = Margin;
  CreatePrompt(y, BlockPrompt);
  view.blockEntry =
      AsId(CreateTextEntry(AutoId, FieldX, y, BlockEntryWidth, RowHeight, block.c_str()));
  view.calculate = AsId(CreatePushButton(AutoId, rightX, y, ButtonWidth, RowHeight, "Calculate"));
  y += RowHeight + Gap;
  view.facts =
      AsId(CreateTextArea(AutoId, Margin, y, width - 2 * Margin, FactsHeight, TextAreaReadOnly));
  ControlSetFont(view.facts, NativeFontHandle(reportFont));
  ControlSetColor(view.facts, ColorBackground, Black);
  ControlSetColor(view.facts, ColorText, White);
  y = ControlY(view.facts) + ControlHeight(view.facts) + Gap;
  CreatePrompt(y, SplitPrompt);
  view.splitEntry = AsId(CreateTextEntry(AutoId, FieldX, y, SplitEntryWidth, RowHeight, ""));
  const int showX = width - Margin - WideButtonWidth;
  const int hintX = FieldX + SplitEntryWidth + Gap;
  CreateLabel(AutoId, hintX, y + PromptDrop, showX - Gap - hintX, PromptHeight, SplitHint);
  view.showNetworks =
      AsId(CreatePushButton(AutoId, showX, y, WideButtonWidth, RowHeight, "Show networks"));
  return y + RowHeight + SectionGap;
}

// The list, its two buttons, the rows they give, the status and Close.
void CreateListPart(BlockView& view, int y, int width, int height) {
  const int rightX = width - Margin - ButtonWidth;
  CreateLabel(AutoId, Margin, y, width - 2 * Margin, PromptHeight, ListPrompt);
  y += PromptHeight + 2;
  view.list = AsId(CreateTextArea(AutoId, Margin, y, width - 2 * Margin, ListHeight, 0));
  ControlSetText(view.list, ExampleList);
  y = ControlY(view.list) + ControlHeight(view.list) + ButtonGap;
  view.summarize = AsId(CreatePushButton(AutoId, rightX - ButtonWidth - Margin, y, ButtonWidth,
                                         RowHeight, "Summarize"));
  view.freeSpace = AsId(CreatePushButton(AutoId, rightX, y, ButtonWidth, RowHeight, "Free space"));
  y += RowHeight + ButtonGap;
  const int closeY = height - Margin - RowHeight;
  view.results = AsId(CreateReportList(AutoId, Margin, y, width - 2 * Margin,
                                       closeY - ButtonGap - y, ResultTitles[0], 0, ResultFlags));
  for (int column = 1; column < ResultColumns; ++column)
    ControlAddColumn(view.results, column, ResultTitles[column], 0);
  view.status =
      AsId(CreateLabel(AutoId, Margin, closeY + 4, rightX - 2 * Margin, PromptHeight, ReadyStatus));
  view.close = AsId(CreatePushButton(AutoId, rightX, closeY, ButtonWidth, RowHeight, "Close"));
}

// ----- Commands -------------------------------------------------------------

void ShowRefusal(const Refusal& refusal) {
  ShowMessageBox(refusal.title.c_str(), refusal.text.c_str(), MessageBoxInformation);
}

// The facts of the typed block, a line at a time as the main window writes
// its report (so they take its colours); a refusal leaves the facts shown.
void Calculate(BlockView& view) {
  const FactsOutcome outcome = RunBlockFacts(ControlGetText(view.blockEntry));
  if (!outcome.refusal.title.empty()) return ShowRefusal(outcome.refusal);
  const std::string& facts = outcome.facts;
  ControlClearItems(view.facts);
  for (std::size_t at = 0, end = 0; at < facts.size(); at = end + 1) {
    end = std::min(facts.find('\n', at), facts.size());
    ControlAddItem(view.facts, -1, facts.substr(at, end - at).c_str());
  }
}

void ShowNetworks(BlockView& view) {
  const SplitOutcome outcome =
      RunBlockSplit(ControlGetText(view.blockEntry), ControlGetText(view.splitEntry));
  if (!outcome.refusal.title.empty()) return ShowRefusal(outcome.refusal);
  const Size size = SplitWindowSizes[outcome.split.index()];
  ShowSplitWindow(WindowHandle(view.window), outcome.split, size.width, size.height);
}

// New rows for the list, or a refusal that leaves the rows shown.
void ShowResults(BlockView& view, ListOutcome outcome, const char* fileName) {
  if (!outcome.refusal.title.empty()) return ShowRefusal(outcome.refusal);
  view.rows = IndexTsv(outcome.tsv, ResultColumns);
  view.outcome = std::move(outcome);
  view.fileName = fileName;
  ControlSetVirtualRows(view.results, RowCount(view.rows),
                        [&view](int row, int column) { return CellOf(view.rows, row, column); });
  FitTableColumns(view.results, view.rows, ResultTitles, -1);
  ControlSetText(view.status, view.outcome.status.c_str());
}

void Summarize(BlockView& view) {
  ShowWaitCursor(1);
  ListOutcome outcome = RunSummarize(ControlGetText(view.list));
  ShowWaitCursor(0);
  ShowResults(view, std::move(outcome), "summary.csv");
}

void FreeSpace(BlockView& view) {
  ShowWaitCursor(1);
  ListOutcome outcome = RunFreeSpace(ControlGetText(view.blockEntry), ControlGetText(view.list));
  ShowWaitCursor(0);
  ShowResults(view, std::move(outcome), "free-space.csv");
}

void CopyResults(BlockView& view) {
  if (RowCount(view.rows) > 0) PutClipboardText(view.rows.tsv.c_str());
}

// The rows as velkor's "--format csv" writes them.
void SaveResults(BlockView& view) {
  if (RowCount(view.rows) == 0) return;
  const ListOutcome& outcome = view.outcome;
  SaveAsCsv(WindowHandle(view.window), view.fileName, "The blocks",
            [&outcome](std::FILE* file) { return outcome.write(ListFormat::Csv, file); });
}

// The selected row is read when the menu item arrives; none, no copy.
void CopyCell(const BlockView& view, int column) {
  const intptr_t row = ControlGetState(view.results);
  if (row != -1) {
    PutClipboardText(ControlItemText(view.results, static_cast<int>(row), column).c_str());
  }
}

// The copy items for the selected row, if any, then copying and saving all rows.
void ShowResultsMenu(const BlockView& view) {
  if (RowCount(view.rows) == 0) return;
  const int menu = NewPopupMenu(AutoId);
  if (menu == 0) return;
  if (ControlGetState(view.results) != -1) {
    for (int column = 0; column < ResultColumns; ++column)
      AddPopupItem(FirstCopyItem + column, CopyItems[column]);
    AddPopupSeparator();
  }
  for (const Command& command : Commands) {
    if (command.id == CopyResultsCommand || command.id == SaveResultsCommand) {
      AddPopupItem(command.id, command.item);
    }
  }
  ShowPopupAtCursor(menu, WindowHandle(view.window));
  ReleasePopupMenu(menu);
}

struct CommandRun {
  int command;
  void (*run)(BlockView& view);
};
constexpr CommandRun CommandRuns[] = {
    {CalculateCommand, Calculate},     {ShowNetworksCommand, ShowNetworks},
    {SummarizeCommand, Summarize},     {FreeSpaceCommand, FreeSpace},
    {CopyResultsCommand, CopyResults}, {SaveResultsCommand, SaveResults},
};

// Runs a command; false for the one that closes the window.
bool RunCommand(BlockView& view, int command) {
  if (command == EscapeCommand) return false;
  for (const CommandRun& entry : CommandRuns) {
    if (entry.command == command) entry.run(view);
  }
  if (command >= FirstCopyItem && command < FirstCopyItem + ResultColumns) {
    CopyCell(view, command - FirstCopyItem);
  }
  return true;
}

// The command of `control` in the table, when it is a button or `anyControl`; 0 for none.
int CommandOf(const BlockView& view, int control, bool anyControl) {
  for (const ControlCommand& entry : ControlCommands) {
    if (view.*entry.control == control && (entry.button || anyControl)) return entry.command;
  }
  return 0;
}

// Runs until Close, Escape or the close box; false ends the loop.
bool OnEvent(BlockView& view, int kind) {
  if (kind == CloseRequest) return false;
  if (kind == MenuEvent) {
    const int item = EventSourceMenuItem();
    const bool enter = item == BlockEnterCommand;
    return RunCommand(view, enter ? CommandOf(view, FocusedControl(), true) : item);
  }
  if (kind != ControlEvent) return true;
  const int control = EventSourceControl();
  if (control == view.results && EventDetail() == DetailRightClick) ShowResultsMenu(view);
  if (EventDetail() != DetailClick) return true;
  return RunCommand(view, CommandOf(view, control, false));
}

void BuildWindow(BlockView& view, const std::string& block, int reportFont, int width, int height) {
  CreateListPart(view, CreateBlockPart(view, block, width, reportFont), width, height);
  ControlSetRowColours(view.results, [](int row) { return row % 2 == 0 ? EvenRow : OddRow; });
  FitTableColumns(view.results, view.rows, ResultTitles, -1);
  WindowAddShortcut(view.window, VK_ESCAPE, EscapeCommand);
  WindowAddShortcut(view.window, VK_RETURN, BlockEnterCommand);
  WindowAddSystemMenuSeparator(view.window);
  for (const Command& command : Commands) {
    WindowAddSystemMenuItem(view.window, command.id, command.item);
    if (command.key != 0) WindowAddShortcut(view.window, command.key, command.id);
  }
  Calculate(view);
  ControlSetFocus(view.blockEntry);
}

}  // namespace

void ShowBlockWindow(NativeHandle owner, int reportFont, const std::string& block, int width,
                     int height) {
  // The view outlives the window: the results list reads its cells until it is gone.
  BlockView view;
  ModalWindow modal(owner, width, height, BlockTitle, WS_CAPTION | WS_SYSMENU);
  view.window = modal.Id();
  modal.Run([&] { BuildWindow(view, block, reportFont, width, height); },
            [&](int kind) { return OnEvent(view, kind); });
}
