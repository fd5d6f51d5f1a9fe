// The program end to end: each test starts the real program, works its main
// window with mouse clicks and key presses and reads what a person would see.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/window_ids.hpp"
#include "app_driver.hpp"
#include "main_window_driver.hpp"

namespace {

const char* const ClassTexts[] = {
    "Type C  (e.g. 192.168.1.0/24) - 8 subnetting bits",
    "Type B  (e.g. 172.16.0.0/16) - 16 subnetting bits",
    "Type A  (e.g. 10.0.0.0/8) - 24 subnetting bits",
};
const char* const ExampleNetworks[] = {"192.168.1.0", "172.16.0.0", "10.0.0.0"};
const char* const MethodTexts[] = {
    "Calculate from preferred number of hosts per subnet.",
    "Calculate from preferred number of subnets.",
    "Calculate from already known subnet mask.",
};
const char* const FailureLine = "Something didn't quite go as planned... ;D";
const char* const NetworkErrorTitle = "IP mask error";
const char* const NetworkErrorText =
    "The IP Mask you provided is invalid for this class of network, or malformed completely.";
const char* const MaskErrorTitle = "Subnet mask error";
const char* const MaskErrorText =
    "The subnetmask you provided is invalid for this class of network, or malformed completely.";
const char* const HostsErrorTitle = "Invalid number of hosts";
const char* const NetworksErrorTitle = "Invalid number of networks";
const std::string RangeText =
    "The number you provided is impossible for this network class. Range from 2 to ";

const std::vector<std::string> ClassCHosts50Report = {
    "Subnetmask:                   255.255.255.192",
    "Absolute total subnets:       4",
    "Usable subnets:               2",
    "Hosts per subnet:             62",
    "Stepsize:                     64",
    "Bits used for hosts:          6",
    "Bits used for subnets:        2",
    "Bits allowed for subnetting:  8 (See bitmap below)",
    "",
    "Bitmapping / mask explanation:",
    "NNNNNNNNNNNNNNNNNNNNNNNNssHHHHHH",
    "11111111111111111111111111000000",
    "Where N is not allowed, s is subnet bits, H is hostbits.",
};

const std::vector<std::string> ClassAMask8Report = {
    "Subnetmask:                   255.0.0.0",
    "Absolute total subnets:       1 (Full range, 1 network.)",
    "Usable subnets:               0 (No subnetworks)",
    "Hosts per subnet:             16777214",
    "Stepsize:                     16777216",
    "Bits used for hosts:          24",
    "Bits used for subnets:        0",
    "Bits allowed for subnetting:  24 (See bitmap below)",
    "",
    "Bitmapping / mask explanation:",
    "NNNNNNNNHHHHHHHHHHHHHHHHHHHHHHHH",
    "11111111000000000000000000000000",
    "Where N is not allowed, s is subnet bits, H is hostbits.",
};

constexpr int HostsMethod = 0, NetworksMethod = 1, MaskMethod = 2;
constexpr int ClassC = 0, ClassB = 1, ClassA = 2;

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += "[" + line + "]\n";
  return text;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(StartWithMainWindow(app_, c_, error)) << error;
  }
  void TearDown() override { StopApp(app_); }

  // Presses Calculate and waits for the result area to show `expected`.
  void ExpectReportAfterCalculate(const std::vector<std::string>& expected) {
    ClickCentre(c_.calculate);
    bool shown = WaitUntil([&] { return ReportLines(c_.resultArea) == expected; });
    ASSERT_TRUE(shown) << Joined(ReportLines(c_.resultArea));
  }

  // Presses Calculate, reads the message box that appears and closes it with OK.
  MessageBoxSeen CalculateAndDismissBox() {
    ClickCentre(c_.calculate);
    MessageBoxSeen seen;
    EXPECT_TRUE(WaitForMessageBox(app_, seen)) << "no message box";
    if (seen.box != nullptr) {
      EXPECT_TRUE(DismissMessageBox(seen));
      // The rest of the Calculate sequence runs once the box is gone.
      EXPECT_TRUE(WaitWindowIdle(app_.main));
    }
    return seen;
  }

  void CalculateClassCHosts50() {
    ASSERT_TRUE(TypeIntoEntry(app_, c_.numberEntry, "50"));
    ExpectReportAfterCalculate(ClassCHosts50Report);
    ASSERT_TRUE(IsWindowEnabled(c_.showNetworks));
  }

  AppProcess app_;
  MainWindowControls c_;
};

TEST_F(MainWindowTest, StartsWithClassCHostsMethodAndReadyText) {
  EXPECT_EQ(WindowText(c_.classList), ClassTexts[ClassC]);
  EXPECT_EQ(SelectedIndex(c_.classList), 0);
  EXPECT_EQ(WindowText(c_.methodList), MethodTexts[0]);
  EXPECT_EQ(SelectedIndex(c_.methodList), 0);
  EXPECT_EQ(WindowText(c_.numberLabel), "#Hosts: ");
  EXPECT_EQ(WindowText(c_.numberEntry), "0");
  EXPECT_TRUE(IsWindowVisible(c_.numberEntry));
  EXPECT_FALSE(IsWindowVisible(c_.maskEntry));
  EXPECT_EQ(AddressText(c_.networkEntry), "192.168.1.0");
  EXPECT_EQ(WindowText(c_.resultArea), "Ready...");
  EXPECT_FALSE(IsWindowEnabled(c_.showNetworks));
  EXPECT_TRUE(IsWindowEnabled(c_.about));
  EXPECT_TRUE(IsWindowEnabled(c_.calculate));
}

TEST_F(MainWindowTest, WindowIsFixedSizeCentredAndHasTheControlsAtTheirPlaces) {
  RECT client{};
  GetClientRect(app_.main, &client);
  EXPECT_EQ(client.right, 450);
  EXPECT_EQ(client.bottom, 432);
  LONG style = GetWindowLongA(app_.main, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  RECT outer{};
  GetWindowRect(app_.main, &outer);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);

  struct Place {
    const char* name;
    HWND control;
    RECT expected;  // left, top, right, bottom
  };
  const Place places[] = {
      {"Preferences frame", c_.preferencesFrame, {5, 5, 445, 157}},
      {"class label", c_.classLabel, {15, 25, 115, 47}},
      {"class list", c_.classList, {115, 22, 440, 44}},
      {"method label", c_.methodLabel, {15, 52, 115, 74}},
      {"method list", c_.methodList, {115, 49, 440, 71}},
      {"number label", c_.numberLabel, {15, 79, 115, 101}},
      {"number entry", c_.numberEntry, {115, 76, 440, 98}},
      {"mask entry", c_.maskEntry, {115, 76, 440, 98}},
      {"network label", c_.networkLabel, {15, 106, 115, 128}},
      {"network entry", c_.networkEntry, {115, 103, 440, 125}},
      {"Calculate", c_.calculate, {365, 129, 440, 151}},
      {"Result frame", c_.resultFrame, {5, 161, 445, 428}},
      {"result area", c_.resultArea, {15, 181, 435, 391}},
      {"Show networks", c_.showNetworks, {350, 396, 435, 418}},
      {"About", c_.about, {15, 396, 100, 418}},
  };
  for (const Place& place : places) {
    RECT r{};
    GetWindowRect(place.control, &r);
    MapWindowPoints(nullptr, app_.main, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, place.expected.left) << place.name;
    EXPECT_EQ(r.top, place.expected.top) << place.name;
    EXPECT_EQ(r.right, place.expected.right) << place.name;
    EXPECT_EQ(r.bottom, place.expected.bottom) << place.name;
  }
}

TEST_F(MainWindowTest, NumberEntryTakesDigitsOnly) {
  ASSERT_TRUE(TypeIntoEntry(app_, c_.numberEntry, "4a-2.x"));
  EXPECT_EQ(WindowText(c_.numberEntry), "42");
}

TEST_F(MainWindowTest, ClassCWith50HostsWritesTheFullReport) {
  CalculateClassCHosts50();
  EXPECT_EQ(ReportLines(c_.resultArea), ClassCHosts50Report);
  EXPECT_TRUE(IsWindowEnabled(c_.showNetworks));
}

TEST_F(MainWindowTest, ClassAWithMask255000WritesTheOneNetworkReport) {
  ASSERT_TRUE(ChooseListItem(app_, c_.classList, ClassA));
  ASSERT_TRUE(WaitUntil([&] { return AddressText(c_.networkEntry) == "10.0.0.0"; }));
  ASSERT_TRUE(ChooseListItem(app_, c_.methodList, MaskMethod));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(c_.maskEntry) != FALSE; }));
  ASSERT_TRUE(TypeAddress(app_, c_.maskEntry, "255.0.0.0"));
  ExpectReportAfterCalculate(ClassAMask8Report);
  EXPECT_TRUE(IsWindowEnabled(c_.showNetworks));
}

// One row of the failure table: the input that is refused and what follows.
struct RejectedInput {
  const char* name;
  int classIndex;
  int method;
  const char* typed;  // the count (methods 0, 1) or the mask (method 2)
  const char* title;
  std::string text;
};

void PrintTo(const RejectedInput& row, std::ostream* out) {
  *out << row.name;
}

class RejectedInputTest : public MainWindowTest,
                          public ::testing::WithParamInterface<RejectedInput> {};

// After a good report, a refused count or mask shows its box, then leaves the
// failure line and a disabled "Show networks".
TEST_P(RejectedInputTest, ShowsTheBoxThenTheFailureLine) {
  const RejectedInput& row = GetParam();
  CalculateClassCHosts50();
  if (row.classIndex != ClassC) {
    ASSERT_TRUE(ChooseListItem(app_, c_.classList, row.classIndex));
  }
  if (row.method != HostsMethod) {
    ASSERT_TRUE(ChooseListItem(app_, c_.methodList, row.method));
  }
  if (row.method == MaskMethod) {
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(c_.maskEntry) != FALSE; }));
    ASSERT_TRUE(TypeAddress(app_, c_.maskEntry, row.typed));
  } else {
    ASSERT_TRUE(TypeIntoEntry(app_, c_.numberEntry, row.typed));
  }
  MessageBoxSeen box = CalculateAndDismissBox();
  EXPECT_EQ(box.title, row.title);
  EXPECT_EQ(box.text, row.text);
  EXPECT_TRUE(WaitUntil([&] { return ReportLines(c_.resultArea).size() == 1; }));
  EXPECT_EQ(WindowText(c_.resultArea), FailureLine);
  EXPECT_FALSE(IsWindowEnabled(c_.showNetworks));
  // What the user entered stays for correcting.
  EXPECT_EQ(SelectedIndex(c_.classList), row.classIndex);
  EXPECT_EQ(SelectedIndex(c_.methodList), row.method);
  if (row.method == MaskMethod) {
    EXPECT_EQ(AddressText(c_.maskEntry), *row.typed == '\0' ? "..." : row.typed);
  } else {
    EXPECT_EQ(WindowText(c_.numberEntry), row.typed);
  }
}

INSTANTIATE_TEST_SUITE_P(
    FailureTable, RejectedInputTest,
    ::testing::Values(
        RejectedInput{"HostsBelowTwo", ClassC, HostsMethod, "1", HostsErrorTitle,
                      RangeText + "64."},
        RejectedInput{"HostsAboveClassC", ClassC, HostsMethod, "65", HostsErrorTitle,
                      RangeText + "64."},
        RejectedInput{"EmptyHostsClassB", ClassB, HostsMethod, "", HostsErrorTitle,
                      RangeText + "16384."},
        RejectedInput{"HostsAboveClassA", ClassA, HostsMethod, "4194305", HostsErrorTitle,
                      RangeText + "4194304."},
        // 2^64 + 50: a count that wraps to an acceptable 50 must still be refused.
        RejectedInput{"HostsWrappingTo50", ClassC, HostsMethod, "18446744073709551666",
                      HostsErrorTitle, RangeText + "64."},
        RejectedInput{"NetworksBelowTwo", ClassC, NetworksMethod, "1", NetworksErrorTitle,
                      RangeText + "64."},
        RejectedInput{"NetworksAboveClassB", ClassB, NetworksMethod, "16385", NetworksErrorTitle,
                      RangeText + "16384."},
        RejectedInput{"NetworksWrappingTo50", ClassB, NetworksMethod, "18446744073709551666",
                      NetworksErrorTitle, RangeText + "16384."},
        RejectedInput{"MaskShorterThanClass", ClassC, MaskMethod, "255.255.0.0", MaskErrorTitle,
                      MaskErrorText},
        RejectedInput{"MaskWithGap", ClassB, MaskMethod, "255.255.0.255", MaskErrorTitle,
                      MaskErrorText},
        RejectedInput{"EmptyMask", ClassC, MaskMethod, "", MaskErrorTitle, MaskErrorText}),
    [](const ::testing::TestParamInfo<RejectedInput>& row) { return row.param.name; });

// A refused network address shows its box and changes nothing else.
struct RejectedNetwork {
  const char* name;
  int classIndex;
  const char* network;
};

void PrintTo(const RejectedNetwork& row, std::ostream* out) {
  *out << row.name;
}

class RejectedNetworkTest : public MainWindowTest,
                            public ::testing::WithParamInterface<RejectedNetwork> {};

TEST_P(RejectedNetworkTest, ShowsTheBoxAndKeepsReportAndButton) {
  const RejectedNetwork& row = GetParam();
  CalculateClassCHosts50();
  if (row.classIndex != ClassC) {
    ASSERT_TRUE(ChooseListItem(app_, c_.classList, row.classIndex));
  }
  ASSERT_TRUE(TypeAddress(app_, c_.networkEntry, row.network));
  MessageBoxSeen box = CalculateAndDismissBox();
  EXPECT_EQ(box.title, NetworkErrorTitle);
  EXPECT_EQ(box.text, NetworkErrorText);
  EXPECT_EQ(ReportLines(c_.resultArea), ClassCHosts50Report);
  EXPECT_TRUE(IsWindowEnabled(c_.showNetworks));
}

INSTANTIATE_TEST_SUITE_P(
    FailureTable, RejectedNetworkTest,
    ::testing::Values(RejectedNetwork{"ClassANetworkAsClassC", ClassC, "10.0.0.0"},
                      RejectedNetwork{"HostBitsSet", ClassC, "192.168.1.5"},
                      RejectedNetwork{"ClassCNetworkAsClassB", ClassB, "192.168.0.0"}),
    [](const ::testing::TestParamInfo<RejectedNetwork>& row) { return row.param.name; });

TEST_F(MainWindowTest, RejectedNetworkAtStartKeepsReadyTextAndDisabledButton) {
  ASSERT_TRUE(TypeAddress(app_, c_.networkEntry, "10.0.0.0"));
  MessageBoxSeen box = CalculateAndDismissBox();
  EXPECT_EQ(box.title, NetworkErrorTitle);
  EXPECT_EQ(WindowText(c_.resultArea), "Ready...");
  EXPECT_FALSE(IsWindowEnabled(c_.showNetworks));
}

TEST_F(MainWindowTest, CalculateAtOnceRefusesCountZero) {
  MessageBoxSeen box = CalculateAndDismissBox();
  EXPECT_EQ(box.title, HostsErrorTitle);
  EXPECT_EQ(box.text, RangeText + "64.");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(c_.resultArea) == FailureLine; }));
  EXPECT_FALSE(IsWindowEnabled(c_.showNetworks));
}

TEST_F(MainWindowTest, ChangingClassReplacesNetworkWithoutRecalculating) {
  CalculateClassCHosts50();
  ASSERT_TRUE(TypeAddress(app_, c_.networkEntry, "192.168.7.0"));
  const int classes[] = {ClassA, ClassB, ClassC};
  for (int classIndex : classes) {
    ASSERT_TRUE(ChooseListItem(app_, c_.classList, classIndex));
    EXPECT_TRUE(WaitUntil([&] {
      return AddressText(c_.networkEntry) == ExampleNetworks[classIndex];
    })) << AddressText(c_.networkEntry);
    EXPECT_EQ(WindowText(c_.classList), ClassTexts[classIndex]);
    ASSERT_TRUE(WaitWindowIdle(app_.main));
    EXPECT_EQ(ReportLines(c_.resultArea), ClassCHosts50Report);
    EXPECT_TRUE(IsWindowEnabled(c_.showNetworks));
    EXPECT_EQ(WindowText(c_.numberEntry), "50");
  }
}

TEST_F(MainWindowTest, ChangingMethodSwapsEntriesAndRelabels) {
  ASSERT_TRUE(TypeIntoEntry(app_, c_.numberEntry, "12"));
  const std::string typedMask = "255.255.255.224";
  struct Step {
    int method;
    const char* label;
    bool maskShown;
    const char* maskText;  // what the mask entry shows when it is visible
  };
  const Step steps[] = {{MaskMethod, "Subnet mask: ", true, "..."},
                        {NetworksMethod, "#Networks: ", false, nullptr},
                        {MaskMethod, "Subnet mask: ", true, "255.255.255.224"},
                        {HostsMethod, "#Hosts: ", false, nullptr}};
  bool maskTyped = false;
  for (const Step& step : steps) {
    ASSERT_TRUE(ChooseListItem(app_, c_.methodList, step.method));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(c_.numberLabel) == step.label; }))
        << WindowText(c_.numberLabel);
    EXPECT_EQ(WindowText(c_.methodList), MethodTexts[step.method]);
    EXPECT_EQ(IsWindowVisible(c_.maskEntry) != FALSE, step.maskShown) << step.label;
    EXPECT_EQ(IsWindowVisible(c_.numberEntry) != FALSE, !step.maskShown) << step.label;
    EXPECT_EQ(WindowText(c_.numberEntry), "12");
    EXPECT_EQ(AddressText(c_.networkEntry), "192.168.1.0");
    EXPECT_EQ(WindowText(c_.resultArea), "Ready...");
    EXPECT_FALSE(IsWindowEnabled(c_.showNetworks));
    if (step.maskShown) {
      EXPECT_EQ(AddressText(c_.maskEntry), step.maskText);
      if (!maskTyped) {
        ASSERT_TRUE(TypeAddress(app_, c_.maskEntry, typedMask));
      }
      maskTyped = true;
    }
  }
}

// The About and Sub-networks windows: modal by hand, closed by Escape or Close.
struct SecondaryWindow {
  const char* name;
  const char* opener;  // text of the main window's button that opens it
  const char* title;
  bool byEscape;  // closed with Escape, else with its "Close" button
};

void PrintTo(const SecondaryWindow& row, std::ostream* out) {
  *out << row.name;
}

class SecondaryWindowTest : public MainWindowTest,
                            public ::testing::WithParamInterface<SecondaryWindow> {
 protected:
  // A point of one of the main window's controls that `secondary` leaves uncovered.
  bool UncoveredPoint(HWND secondary, POINT& point) {
    RECT covered{};
    GetWindowRect(secondary, &covered);
    const HWND targets[] = {c_.numberEntry, c_.about, c_.showNetworks};
    for (HWND target : targets) {
      RECT r{};
      GetWindowRect(target, &r);
      for (point.y = r.top + 4; point.y < r.bottom - 4; point.y += 4) {
        for (point.x = r.left + 4; point.x < r.right - 4; point.x += 4) {
          if (!PtInRect(&covered, point)) return true;
        }
      }
    }
    return false;
  }

  bool FocusInMainWindow() {
    HWND focus = FocusOf(app_.info.dwThreadId);
    return focus != nullptr && (focus == app_.main || IsChild(app_.main, focus));
  }
};

TEST_P(SecondaryWindowTest, DisablesTheMainWindowUntilClosed) {
  const SecondaryWindow& row = GetParam();
  CalculateClassCHosts50();
  ClickCentre(row.opener == std::string("About") ? c_.about : c_.showNetworks);
  HWND secondary = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    secondary = FindTopLevel(app_.info.dwProcessId, nullptr, row.title);
    return secondary != nullptr;
  }));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(app_.main); }));

  // Clicks and keys aimed at the main window reach none of its controls.
  POINT point{};
  ASSERT_TRUE(UncoveredPoint(secondary, point));
  ClickAtScreen(app_.main, point);
  PressKey('7');
  WaitProgramIdle(secondary);
  ASSERT_TRUE(WaitWindowIdle(secondary));
  EXPECT_FALSE(FocusInMainWindow());
  EXPECT_EQ(WindowText(c_.numberEntry), "50");
  EXPECT_TRUE(IsWindow(secondary));

  if (row.byEscape) {
    ASSERT_TRUE(BringToFront(secondary));
    PressKey(VK_ESCAPE);
  } else {
    HWND close = nullptr;
    for (const ChildInfo& child : DirectChildren(secondary)) {
      if (child.text == "Close") close = child.handle;
    }
    ASSERT_NE(close, nullptr);
    ClickCentre(close);
  }
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(secondary); }));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app_.main) != FALSE; }));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app_.main; }, 3000))
      << "the system activated another window";
  EXPECT_EQ(ReportLines(c_.resultArea), ClassCHosts50Report);
  EXPECT_TRUE(IsWindowEnabled(c_.showNetworks));

  // The main window takes input again.
  ASSERT_TRUE(TypeIntoEntry(app_, c_.numberEntry, "1"));
  MessageBoxSeen box = CalculateAndDismissBox();
  EXPECT_EQ(box.title, HostsErrorTitle);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(c_.resultArea) == FailureLine; }));
}

INSTANTIATE_TEST_SUITE_P(
    Modal, SecondaryWindowTest,
    ::testing::Values(SecondaryWindow{"AboutByEscape", "About", AboutTitle, true},
                      SecondaryWindow{"AboutByClose", "About", AboutTitle, false},
                      SecondaryWindow{"SubnetsByEscape", "Show networks", SubnetsTitle, true},
                      SecondaryWindow{"SubnetsByClose", "Show networks", SubnetsTitle, false}),
    [](const ::testing::TestParamInfo<SecondaryWindow>& row) { return row.param.name; });

// ---------------------------------------------------------------- screen

uint32_t Rgb(COLORREF colour) {
  return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

// The coordinate (x for horizontal scans, y for vertical ones) of the first
// pixel from (x, y) in steps of (dx, dy) that differs from `background`, or -1.
int FirstEdge(const ScreenCapture& shot, int x, int y, int dx, int dy, uint32_t background) {
  while (x >= 0 && y >= 0 && x < shot.width && y < shot.height) {
    if (shot.At(x, y) != background) return dx != 0 ? x : y;
    x += dx;
    y += dy;
  }
  return -1;
}

bool IsBright(uint32_t p) {
  return (p >> 16 & 0xFF) >= 0x80 && (p >> 8 & 0xFF) >= 0x80 && (p & 0xFF) >= 0x80;
}

// Rows of the result area's inside that hold lit text pixels, as [first, last] bands.
std::vector<std::pair<int, int>> TextBands(const ScreenCapture& shot, const RECT& inside) {
  std::vector<std::pair<int, int>> bands;
  for (int y = inside.top; y < inside.bottom; ++y) {
    bool lit = false;
    for (int x = inside.left; x < inside.right && !lit; ++x)
      lit = IsBright(shot.At(x, y));
    if (!lit) continue;
    if (!bands.empty() && bands.back().second == y - 1) {
      bands.back().second = y;
    } else {
      bands.push_back({y, y});
    }
  }
  return bands;
}

// Left and right end of the lit pixels of one band.
std::pair<int, int> BandExtent(const ScreenCapture& shot, const RECT& inside,
                               std::pair<int, int> band) {
  int left = inside.right, right = -1;
  for (int y = band.first; y <= band.second; ++y) {
    for (int x = inside.left; x < inside.right; ++x) {
      if (!IsBright(shot.At(x, y))) continue;
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  return {left, right};
}

TEST_F(MainWindowTest, ScreenShowsTheLayoutAndAWhiteOnBlackMonospacedReport) {
  CalculateClassCHosts50();
  ASSERT_TRUE(BringToFront(app_.main));
  const RECT inside{17, 183, 433, 389};  // the result area within its border
  ScreenCapture shot;
  // Poll until the report has been painted.
  ASSERT_TRUE(WaitUntil([&] {
    return CaptureClientArea(app_.main, shot) && TextBands(shot, inside).size() >= 12;
  })) << "report not painted";
  uint32_t face = Rgb(GetSysColor(COLOR_BTNFACE));

  struct Scan {
    const char* edge;
    int x, y, dx, dy;
    int expected;
  };
  const Scan scans[] = {
      {"Preferences frame left", 0, 100, 1, 0, 5},
      {"Preferences frame right", 449, 100, -1, 0, 444},
      {"Preferences frame bottom", 60, 159, 0, -1, 156},
      {"class list left", 105, 33, 1, 0, 115},
      {"class list right", 441, 33, -1, 0, 439},
      {"class list top", 300, 14, 0, 1, 22},
      {"class list bottom", 300, 47, 0, -1, 43},
      {"method list left", 105, 60, 1, 0, 115},
      {"method list right", 441, 60, -1, 0, 439},
      {"method list top", 300, 46, 0, 1, 49},
      {"method list bottom", 300, 73, 0, -1, 70},
      {"number entry left", 105, 87, 1, 0, 115},
      {"number entry right", 441, 87, -1, 0, 439},
      {"number entry top", 300, 73, 0, 1, 76},
      {"number entry bottom", 300, 100, 0, -1, 97},
      {"network entry left", 105, 114, 1, 0, 115},
      {"network entry right", 441, 114, -1, 0, 439},
      {"network entry top", 300, 100, 0, 1, 103},
      {"network entry bottom", 300, 126, 0, -1, 124},
      {"Calculate left", 300, 140, 1, 0, 365},
      {"Calculate right", 441, 140, -1, 0, 439},
      {"Calculate top", 400, 126, 0, 1, 129},
      {"Calculate bottom", 400, 153, 0, -1, 150},
      {"Result frame left", 0, 300, 1, 0, 5},
      {"Result frame right", 449, 300, -1, 0, 444},
      {"Result frame bottom", 200, 431, 0, -1, 427},
      {"result area left", 8, 300, 1, 0, 15},
      {"result area right", 441, 300, -1, 0, 434},
      {"result area top", 200, 172, 0, 1, 181},
      {"result area bottom", 200, 394, 0, -1, 390},
      {"Show networks left", 300, 407, 1, 0, 350},
      {"Show networks right", 441, 407, -1, 0, 434},
      {"About left", 8, 407, 1, 0, 15},
      {"About right", 200, 407, -1, 0, 99},
      {"About top", 50, 393, 0, 1, 396},
      {"About bottom", 50, 424, 0, -1, 417},
      {"Show networks top", 400, 393, 0, 1, 396},
      {"Show networks bottom", 400, 424, 0, -1, 417},
  };
  for (const Scan& scan : scans) {
    int found = FirstEdge(shot, scan.x, scan.y, scan.dx, scan.dy, face);
    EXPECT_NEAR(found, scan.expected, 2) << scan.edge;
  }

  // Black background: the right part of the area holds no text.
  EXPECT_EQ(shot.At(inside.right - 3, inside.top + 5), 0u);
  EXPECT_EQ(shot.At(inside.right - 3, inside.bottom - 3), 0u);
  int black = 0, bright = 0, total = 0;
  for (int y = inside.top; y < inside.bottom; ++y) {
    for (int x = inside.left; x < inside.right; ++x, ++total) {
      uint32_t p = shot.At(x, y);
      if (p == 0) ++black;
      if ((p >> 16 & 0xFF) >= 0xE0 && (p >> 8 & 0xFF) >= 0xE0 && (p & 0xFF) >= 0xE0) ++bright;
    }
  }
  EXPECT_GT(black, total * 3 / 4) << "background is not black";
  EXPECT_GT(bright, 300) << "text is not white";

  // Monospaced: the 32-character letter and digit rows end at the same pixel,
  // and the values of the first eight lines start in one column.
  std::vector<std::pair<int, int>> bands = TextBands(shot, inside);
  ASSERT_GE(bands.size(), 12u);
  auto letters = BandExtent(shot, inside, bands[bands.size() - 3]);
  auto digits = BandExtent(shot, inside, bands[bands.size() - 2]);
  EXPECT_NEAR(letters.first, digits.first, 3);
  EXPECT_NEAR(letters.second, digits.second, 3);
  EXPECT_GE(digits.second - digits.first, 32 * 5);
  // "Stepsize:" (line 5) is also 32 characters long with its value "64".
  auto stepLine = BandExtent(shot, inside, bands[4]);
  EXPECT_NEAR(stepLine.first, digits.first, 3);
  EXPECT_NEAR(stepLine.second, digits.second, 3);
}

// ---------------------------------------------------------------- closing

// Ways a person closes the main window.
struct Closing {
  const char* name;
  bool closeBox;  // click the caption's close box, else press Alt+F4
};

void PrintTo(const Closing& row, std::ostream* out) {
  *out << row.name;
}

class ClosingTest : public MainWindowTest, public ::testing::WithParamInterface<Closing> {};

TEST_P(ClosingTest, EndsTheProgramWithExitCodeZeroAndNoProcessLeft) {
  DWORD pid = app_.info.dwProcessId;
  CalculateClassCHosts50();
  if (GetParam().closeBox) {
    POINT box{};
    ASSERT_TRUE(CloseBoxPoint(app_.main, box)) << "no close box";
    ClickAtScreen(app_.main, box);
  } else {
    ASSERT_TRUE(BringToFront(app_.main));
    PressKey(VK_F4, VK_MENU);
  }
  DWORD exitCode = 1;
  ASSERT_TRUE(WaitForExit(app_, 10000, exitCode)) << "still running";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(WaitUntil([&] { return CountProcessesOf(pid) == 0; }))
      << CountProcessesOf(pid) << " processes left";
}

INSTANTIATE_TEST_SUITE_P(MainWindow, ClosingTest,
                         ::testing::Values(Closing{"AltF4", false}, Closing{"CloseBox", true}),
                         [](const ::testing::TestParamInfo<Closing>& row) {
                           return row.param.name;
                         });

}  // namespace
