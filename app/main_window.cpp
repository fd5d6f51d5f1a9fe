// The main window: layout, event loop and the Calculate sequence.
#include "app/main_window.hpp"

#include <windows.h>

#include <string>

#include "app/secondary_windows.hpp"
#include "app/window_ids.hpp"
#include "calc/address.hpp"
#include "calc/calculation.hpp"
#include "net/block.hpp"
#include "calc/report.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/events.hpp"
#include "toolkit/fonts.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/message_box.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr int MainWindowId = 0;
constexpr int MainInnerWidth = 450;
constexpr int MainInnerHeight = 432;
// StartHidden | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | CentreOnScreen.
constexpr uint32_t MainWindowFlags = 0x10CA0001;

// Input rows: a label at the running position, its field 3 pixels higher.
constexpr int RowHeight = 22;
constexpr int RowStep = 27;
constexpr int FirstRowY = 25;
constexpr int LabelX = 15;
constexpr int LabelWidth = 100;
constexpr int FieldX = 115;
constexpr int FieldRaise = 3;
constexpr int CalculateGap = 23;  // from the last row's position to the Calculate button

constexpr int SubnetsWidth = 460;
constexpr int SubnetsHeight = 350;
constexpr int AboutWidth = 350;
constexpr int AboutHeight = 370;
constexpr int PlannerWidth = 640;
constexpr int PlannerHeight = 460;
constexpr int BlockWidth = 640;
constexpr int BlockHeight = 620;

constexpr int Black = 0x000000;
constexpr int White = 0xFFFFFF;

// A drop-down list of the texts of a constant table with the first one selected.
int CreateChoiceList(int y, int width, const char* (*itemText)(int), int count) {
  int list = AsId(CreateDropDownList(AutoId, FieldX, y, width - 125, RowHeight));
  for (int i = 0; i < count; ++i) {
    ControlAddItem(list, -1, itemText(i));
  }
  ControlSetState(list, 0);
  return list;
}

// The toolkit has no digits-only option, so the edit style is added natively.
void AllowDigitsOnly(int entry) {
  HWND handle = static_cast<HWND>(ControlHandle(entry));
  if (handle == nullptr) return;
  LONG_PTR style = GetWindowLongPtrA(handle, GWL_STYLE);
  SetWindowLongPtrA(handle, GWL_STYLE, style | ES_NUMBER);
}

// Controls 1 to 11: the input rows in the "Preferences" frame and Calculate.
void CreatePreferences(MainWindow& window, int width) {
  CreateFrameBox(AutoId, 5, 5, width - 10, 152, "Preferences");
  int y = FirstRowY;
  CreateLabel(AutoId, LabelX, y, LabelWidth, RowHeight, "Network class: ");
  window.classList = CreateChoiceList(y - FieldRaise, width, ClassText, ClassCount);
  y += RowStep;
  CreateLabel(AutoId, LabelX, y, LabelWidth, RowHeight, "Calculation method: ");
  window.methodList = CreateChoiceList(y - FieldRaise, width, MethodText, MethodCount);
  y += RowStep;
  window.numberLabel =
      AsId(CreateLabel(AutoId, LabelX, y, LabelWidth, RowHeight, NumberLabel(FromHostsMethod)));
  window.numberEntry =
      AsId(CreateTextEntry(AutoId, FieldX, y - FieldRaise, width - 125, RowHeight, "0"));
  AllowDigitsOnly(window.numberEntry);
  window.maskEntry =
      AsId(CreateAddressEntry(AutoId, FieldX, y - FieldRaise, width - 125, RowHeight));
  ControlSetHidden(window.maskEntry, 1);
  y += RowStep;
  CreateLabel(AutoId, LabelX, y, LabelWidth, RowHeight, "IP Mask: ");
  window.networkEntry =
      AsId(CreateAddressEntry(AutoId, FieldX, y - FieldRaise, width - 125, RowHeight));
  ControlSetState(window.networkEntry, ExampleNetwork(0));
  y += CalculateGap;
  window.calculate = AsId(CreatePushButton(AutoId, width - 85, y, 75, RowHeight, "Calculate"));
}

// Controls 12 to 15: the "Result" frame, the report and the two buttons below it.
void CreateResult(MainWindow& window, int width) {
  CreateFrameBox(AutoId, 5, 161, width - 10, 267, "Result");
  window.resultArea = AsId(CreateTextArea(AutoId, 15, 181, width - 30, 210, TextAreaReadOnly));
  ControlSetText(window.resultArea, ReadyText);
  ControlSetFont(window.resultArea, NativeFontHandle(window.reportFont));
  ControlSetColor(window.resultArea, ColorBackground, Black);
  ControlSetColor(window.resultArea, ColorText, White);
  int y = ControlY(window.resultArea) + ControlHeight(window.resultArea) + 5;
  window.showNetworks =
      AsId(CreatePushButton(AutoId, width - 100, y, 85, RowHeight, "Show networks"));
  window.about = AsId(CreatePushButton(AutoId, 15, y, 85, RowHeight, "About"));
}

// The Calculate button: the checks and texts live in RunCalculationSteps; this
// reads the controls, shows its message and writes the result area.
void RunCalculation(MainWindow& window) {
  CalculationInput input;
  input.classIndex = static_cast<int>(ControlGetState(window.classList));
  input.method = static_cast<int>(ControlGetState(window.methodList));
  input.networkText = Ipv4Text(static_cast<Ipv4Value>(ControlGetState(window.networkEntry)));
  input.countText = ControlGetText(window.numberEntry);
  input.maskText = Ipv4Text(static_cast<Ipv4Value>(ControlGetState(window.maskEntry)));
  CalculationOutcome outcome = RunCalculationSteps(*window.plan, input);
  if (!outcome.refusal.title.empty()) {
    ShowMessageBox(outcome.refusal.title.c_str(), outcome.refusal.text.c_str(),
                   MessageBoxInformation);
  }
  if (outcome.networkRejected) return;
  ControlClearItems(window.resultArea);
  ControlSetDisabled(window.showNetworks, 1);
  for (const std::string& line : outcome.reportLines) {
    ControlAddItem(window.resultArea, -1, line.c_str());
  }
  if (outcome.success) ControlSetDisabled(window.showNetworks, 0);
}

// A new class brings its example network; what else was typed stays.
void SelectClass(const MainWindow& window) {
  int classIndex = static_cast<int>(ControlGetState(window.classList));
  if (classIndex != -1) ControlSetState(window.networkEntry, ExampleNetwork(classIndex));
}

// The mask method swaps the number entry for the mask entry in the same place.
void SelectMethod(const MainWindow& window) {
  int method = static_cast<int>(ControlGetState(window.methodList));
  if (method == -1) return;
  ControlSetText(window.numberLabel, NumberLabel(method));
  bool maskMethod = method == FromMaskMethod;
  ControlSetHidden(window.maskEntry, maskMethod ? 0 : 1);
  ControlSetHidden(window.numberEntry, maskMethod ? 1 : 0);
}

// The network entry's address as a block of the selected class: 192.168.1.0/24.
std::string CurrentBlock(const MainWindow& window) {
  const int prefix = ClassRow(static_cast<int>(ControlGetState(window.classList))).networkBits;
  const HostOrderAddress network =
      PackDottedText(Ipv4Text(static_cast<Ipv4Value>(ControlGetState(window.networkEntry))));
  return FormatBlock(CidrBlock{network & PrefixMask<Ipv4>(prefix), prefix});
}

void OpenPlanner(const MainWindow& window) {
  ShowPlannerWindow(WindowHandle(MainWindowId), CurrentBlock(window), PlannerWidth, PlannerHeight);
}

void OpenBlockCalculator(const MainWindow& window) {
  ShowBlockWindow(WindowHandle(MainWindowId), window.reportFont, CurrentBlock(window), BlockWidth,
                  BlockHeight);
}

// Beside the designed controls: the windows of the system menu and their keys.
struct MenuWindow {
  int command;
  const char* item;
  int key;
  void (*open)(const MainWindow& window);
};
constexpr MenuWindow MenuWindows[] = {
    {PlannerCommand, "VLSM planner...\tCtrl+P", 'P' | ShortcutCtrl, OpenPlanner},
    {BlockCalculatorCommand, "Block calculator...\tCtrl+B", 'B' | ShortcutCtrl,
     OpenBlockCalculator},
};

void HandleControlEvent(MainWindow& window, int control) {
  if (control == window.calculate) {
    RunCalculation(window);
  } else if (control == window.showNetworks) {
    ShowSubnetsWindow(WindowHandle(MainWindowId), *window.plan, SubnetsWidth, SubnetsHeight);
  } else if (control == window.about) {
    ShowAboutWindow(WindowHandle(MainWindowId), AboutWidth, AboutHeight);
  } else if (control == window.classList) {
    SelectClass(window);
  } else if (control == window.methodList) {
    SelectMethod(window);
  }
}

}  // namespace

bool OpenMainWindow(MainWindow& window) {
  if (WindowOpen(MainWindowId, 0, 0, MainInnerWidth, MainInnerHeight, MainTitle, MainWindowFlags,
                 nullptr) == 0) {
    return false;
  }
  int width = WindowInnerWidth(MainWindowId);
  CreatePreferences(window, width);
  CreateResult(window, width);
  ControlSetDisabled(window.showNetworks, 1);
  WindowAddSystemMenuSeparator(MainWindowId);
  for (const MenuWindow& menuWindow : MenuWindows) {
    WindowAddSystemMenuItem(MainWindowId, menuWindow.command, menuWindow.item);
    WindowAddShortcut(MainWindowId, menuWindow.key, menuWindow.command);
  }
  WindowSetHidden(MainWindowId, 0);
  return true;
}

void RunMainLoop(MainWindow& window) {
  bool quit = false;
  while (!quit) {
    int kind = EventWait();
    if (kind == CloseRequest) {
      quit = true;
    } else if (kind == ControlEvent) {
      HandleControlEvent(window, EventSourceControl());
    } else if (kind == MenuEvent) {
      for (const MenuWindow& menuWindow : MenuWindows) {
        if (EventSourceMenuItem() == menuWindow.command) menuWindow.open(window);
      }
    }
  }
}
