// The Sub-networks window end to end: a plan is calculated in the main window,
// "Show networks" opens the list, and the test pages, copies and looks at the
// rows as a person would. Then the VLSM planner and the block calculator,
// against velkor.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/window_ids.hpp"
#include "app_driver.hpp"
#include "main_window_driver.hpp"
#include "subnets_window_driver.hpp"
#include "tests/waits.hpp"

namespace {

struct Plan {
  int classIndex;  // 0 = C, 1 = B
  int method;      // 0 = hosts, 2 = known mask
  const char* typed;
  int lastIndex;
};
const Plan ClassCHosts50{0, 0, "50", 3};
const Plan ClassBMask24{1, 2, "255.255.255.0", 255};
const Plan ClassALargest{2, 1, "4194304", 8388607};  // 335,545 pages

std::string Listing(const char* name) {
  return std::string(VELKOR_LISTINGS_DIR) + "/" + name;
}

uint32_t Rgb(COLORREF colour) {
  return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

class SubnetsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(StartWithMainWindow(app_, main_, error)) << error;
  }
  void TearDown() override { StopApp(app_); }

  void CalculateAndOpen(const Plan& plan) {
    if (plan.classIndex != 0) {
      ASSERT_TRUE(ChooseListItem(app_, main_.classList, plan.classIndex));
    }
    if (plan.method != 0) {
      ASSERT_TRUE(ChooseListItem(app_, main_.methodList, plan.method));
    }
    if (plan.method == 2) {
      ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_.maskEntry) != FALSE; }));
      ASSERT_TRUE(TypeAddress(app_, main_.maskEntry, plan.typed));
    } else {
      ASSERT_TRUE(TypeIntoEntry(app_, main_.numberEntry, plan.typed));
    }
    ClickCentre(main_.calculate);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_.showNetworks) != FALSE; }));
    Open();
  }
  void Open() {
    ClickCentre(main_.showNetworks);
    std::string error;
    ASSERT_TRUE(FindSubnetsWindow(app_, s_, error)) << error;
    ASSERT_TRUE(WaitWindowIdle(s_.window));
  }
  // Every row's background against the row-colour rule, and text in the list's text colour.
  void ExpectRowColours(int lastIndex) {
    ASSERT_TRUE(BringToFront(s_.window));
    ASSERT_TRUE(WaitWindowIdle(s_.window));
    std::vector<ListRow> rows = ListRows(app_, s_.list);
    auto colour = [this](UINT message) {
      return Rgb(static_cast<COLORREF>(SendMessageA(s_.list, message, 0, 0)));
    };
    std::vector<RowLook> looks = RowLooks(app_, s_.list, colour(LVM_GETTEXTCOLOR));
    ASSERT_GE(looks.size(), std::min<size_t>(rows.size(), 15)) << "rows in view";
    for (size_t position = 0; position < looks.size(); ++position) {
      int index = std::stoi(rows[position][0]);
      uint32_t expected = position % 2 == 0 ? 0xE1E1FF : 0xFFFFFF;
      if (index == 0 || index == lastIndex) expected = 0xFFE1E1;
      if (lastIndex <= 1) expected = colour(LVM_GETBKCOLOR);
      EXPECT_EQ(looks[position].background, expected) << std::hex << "index " << index;
      EXPECT_GT(looks[position].textPixels, 20) << "index " << index << ": no text in its colour";
    }
  }
  int SelectedRow() {
    return static_cast<int>(
        SendMessageA(s_.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  // Right-clicks the list until `done` holds. Wine: now and then the program
  // reports an older pointer position from X between press and release, and
  // the list takes the click for the start of a drag; a person clicks again.
  template <typename Done>
  bool RightClickList(int x, int y, Done done, HWND list = nullptr) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      ClickAt(list != nullptr ? list : s_.list, x, y, true);
      if (WaitUntil(done, 3000)) return true;
    }
    return false;
  }
  bool PageShown(const std::string& label) {
    return WaitUntil([&] { return WindowText(s_.pageLabel) == label; });
  }

  AppProcess app_;
  MainWindowControls main_;
  SubnetsWindowControls s_;
};

TEST_F(SubnetsWindowTest, ClassCHosts50ListsFourRowsAndCopiesCells) {
  CalculateAndOpen(ClassCHosts50);
  const std::vector<ListRow> expected = ReadListing(Listing("list_c_hosts_50.txt"));
  EXPECT_EQ(ListRows(app_, s_.list), expected);
  EXPECT_EQ(WindowText(s_.pageLabel), "Page 1/1");
  EXPECT_FALSE(IsWindowEnabled(s_.previous));
  EXPECT_FALSE(IsWindowEnabled(s_.next));
  const std::vector<std::pair<std::string, int>> columns = {
      {"#", 25}, {"Network", 100}, {"First IP", 100}, {"Last IP", 100}, {"Broadcast", 100}};
  EXPECT_EQ(ListColumns(app_, s_.list), columns);
  struct Place {
    HWND control;
    RECT expected;  // in the window's client area
  };
  for (const Place& place :
       {Place{s_.panel, {0, 0, 460, 317}}, Place{s_.list, {5, 5, 455, 317}},
        Place{s_.close, {380, 322, 455, 344}}, Place{s_.previous, {5, 322, 80, 344}},
        Place{s_.next, {85, 322, 160, 344}}, Place{s_.pageLabel, {165, 326, 265, 348}}}) {
    RECT r{};
    GetWindowRect(place.control, &r);
    MapWindowPoints(nullptr, s_.window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(EqualRect(&r, &place.expected))
        << ClassNameOf(place.control) << " at " << r.left << "," << r.top << "," << r.right << ","
        << r.bottom;
  }
  ExpectRowColours(ClassCHosts50.lastIndex);

  // Each menu item copies its column of the selected row (row 1). Each click
  // lands elsewhere in the row, so that no two make a double click.
  RECT row = ListRowRect(app_, s_.list, 1);
  for (int item = 0; item < 5; ++item) {
    ASSERT_TRUE(PutClipboard("before"));
    const DWORD before = GetClipboardSequenceNumber();
    ASSERT_TRUE(RightClickList(row.left + 10 + 80 * item, (row.top + row.bottom) / 2,
                               [&] { return MenuReadyForInput(OpenPopupMenu(app_)); }))
        << "no menu for item " << item;
    for (int down = 0; down <= item; ++down)
      PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    // Once the copy has begun, reading cannot get in its way; the program may
    // still hold the clipboard for a moment.
    EXPECT_TRUE(ClipboardChangedSince(before)) << "item " << item;
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == expected[1][item]; }))
        << "item " << item << " copied [" << ClipboardText() << "]";
  }

  // A right click below the rows leaves no row selected: no menu.
  ASSERT_TRUE(RightClickList(row.left + 10, row.bottom + 5 * (row.bottom - row.top),
                             [&] { return SelectedRow() == -1; }));
  WaitProgramIdle(s_.window);
  ASSERT_TRUE(WaitWindowIdle(s_.window));
  EXPECT_EQ(OpenPopupMenu(app_), nullptr);
}

// Paging through the 256 sub-networks, by the buttons or by the arrow keys.
class PagingTest : public SubnetsWindowTest, public ::testing::WithParamInterface<bool> {
 protected:
  void Turn(bool forward, int times) {
    for (int i = 0; i < times; ++i) {
      if (!GetParam()) {
        ClickCentre(forward ? s_.next : s_.previous);
      } else {
        ASSERT_TRUE(BringToFront(s_.window));
        PressKey(forward ? VK_RIGHT : VK_LEFT);
      }
    }
    WaitProgramIdle(s_.window);
    ASSERT_TRUE(WaitWindowIdle(s_.window));
  }
};

TEST_P(PagingTest, ClassB256GoesThroughElevenPages) {
  CalculateAndOpen(ClassBMask24);
  struct Step {
    bool forward;
    int times;
    int page;
    int first;
    const char* listing;  // the whole page, when a listing holds it
  };
  const Step steps[] = {
      {true, 0, 1, 0, "list_b_256_page_1.txt"},
      {false, 1, 1, 0, "list_b_256_page_1.txt"},
      {true, 1, 2, 26, nullptr},
      {true, 1, 3, 51, nullptr},
      {true, 8, 11, 251, "list_b_256_page_11.txt"},
      {true, 1, 11, 251, "list_b_256_page_11.txt"},
      {false, 1, 10, 226, nullptr},
  };
  for (const Step& step : steps) {
    Turn(step.forward, step.times);
    std::string label = "Page " + std::to_string(step.page) + "/11";
    ASSERT_TRUE(PageShown(label)) << WindowText(s_.pageLabel) << " instead of " << label;
    EXPECT_EQ(IsWindowEnabled(s_.previous) != FALSE, step.page > 1) << label;
    EXPECT_EQ(IsWindowEnabled(s_.next) != FALSE, step.page < 11) << label;
    std::vector<ListRow> rows = ListRows(app_, s_.list);
    ASSERT_EQ(rows.size(), step.page == 1 ? 26u : step.page == 11 ? 5u : 25u) << label;
    for (size_t row = 0; row < rows.size(); ++row)
      EXPECT_EQ(rows[row][0], std::to_string(step.first + static_cast<int>(row))) << label;
    if (step.listing != nullptr) {
      EXPECT_EQ(rows, ReadListing(Listing(step.listing))) << label;
    }
    ExpectRowColours(ClassBMask24.lastIndex);
  }

  ASSERT_TRUE(BringToFront(s_.window));
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(s_.window); }));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(app_.main) != FALSE; }));
  Open();
  EXPECT_EQ(WindowText(s_.pageLabel), "Page 1/11") << "opened again";
  EXPECT_EQ(ListRows(app_, s_.list), ReadListing(Listing("list_b_256_page_1.txt")));
  ClickCentre(s_.close);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(s_.window); }));
}

INSTANTIATE_TEST_SUITE_P(SubnetsWindow, PagingTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& row) {
                           return row.param ? "ByArrowKeys" : "ByButtons";
                         });

// One or two sub-networks: no row is coloured.
class SmallPlanTest : public SubnetsWindowTest, public ::testing::WithParamInterface<Plan> {};

TEST_P(SmallPlanTest, RowsKeepTheListsBackground) {
  CalculateAndOpen(GetParam());
  EXPECT_EQ(WindowText(s_.pageLabel), "Page 1/1");
  ASSERT_EQ(ListRows(app_, s_.list).size(), static_cast<size_t>(GetParam().lastIndex + 1));
  ExpectRowColours(GetParam().lastIndex);
}

INSTANTIATE_TEST_SUITE_P(SubnetsWindow, SmallPlanTest,
                         ::testing::Values(Plan{0, 2, "255.255.255.0", 0},
                                           Plan{0, 2, "255.255.255.128", 1}),
                         [](const ::testing::TestParamInfo<Plan>& row) {
                           return row.param.lastIndex == 0 ? "OneSubnetwork" : "TwoSubnetworks";
                         });

// ---------------------------------------------------------------- large plans

bool SameFiles(const std::string& a, const std::string& b) {
  std::ifstream left(a, std::ios::binary), right(b, std::ios::binary);
  std::vector<char> x(1 << 20), y(1 << 20);
  while (left && right) {
    left.read(x.data(), static_cast<std::streamsize>(x.size()));
    right.read(y.data(), static_cast<std::streamsize>(y.size()));
    if (left.gcount() != right.gcount() ||
        !std::equal(x.begin(), x.begin() + left.gcount(), y.begin())) {
      return false;
    }
  }
  return !left && !right;
}

// The files (not "." nor "..") that a pattern such as "C:\\folder\\*.tmp" matches.
int FilesIn(const std::string& pattern) {
  WIN32_FIND_DATAA entry;
  HANDLE files = FindFirstFileA(pattern.c_str(), &entry);
  int count = 0;
  for (bool more = files != INVALID_HANDLE_VALUE; more; more = FindNextFileA(files, &entry))
    count += entry.cFileName[0] != '.';
  if (files != INVALID_HANDLE_VALUE) FindClose(files);
  return count;
}

struct BoxSearch {
  DWORD pid;
  HWND except;
  HWND found;
};

BOOL CALLBACK MatchOtherBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->pid && window != search->except && IsWindowVisible(window) &&
      ClassNameOf(window) == "#32770") {
    search->found = window;
  }
  return TRUE;
}

// A fixture whose Sub-networks window is open saves all its rows.
class SaveTest : public SubnetsWindowTest {
 protected:
  // Clicks Yes in a question box; false when there is none.
  bool AnswerYes(HWND question) {
    for (const ChildInfo& child : DirectChildren(question)) {
      if (child.className == "Button" && child.text.find("Yes") != std::string::npos) {
        ClickCentre(child.handle);
        return true;
      }
    }
    return false;
  }
  // A dialog box of the program other than `except` (its question, or its message).
  HWND WaitForBoxOtherThan(HWND except) {
    BoxSearch search{app_.info.dwProcessId, except, nullptr};
    WaitUntil([&] {
      EnumWindows(MatchOtherBox, reinterpret_cast<LPARAM>(&search));
      return search.found != nullptr;
    });
    return search.found;
  }
  // A save whose writer is held shows the progress of its `rows` rows; Cancel
  // (the button, then Escape over an older file) leaves no new file and the
  // older one as it was. A `large` save is asked about first.
  void CancelHeldSaves(const std::string& rows, bool large) {
    const std::string fresh = TempFilePath("cancelled.csv"), older = TempFilePath("older.csv");
    std::remove(fresh.c_str());
    { std::ofstream(older) << "an older file"; }
    const int temporaries = FilesIn(TempFilePath("vlk*.tmp"));
    for (const std::string& target : {fresh, older}) {
      ASSERT_TRUE(BringToFront(s_.window));
      PressKey('S', VK_CONTROL);
      HWND dialog = WaitForDialog(app_, "Save As");
      std::vector<DWORD> threads = ThreadsOf(app_.info.dwProcessId);
      ASSERT_TRUE(EnterInDialog(app_, dialog, target));
      if (target == older) {
        ASSERT_TRUE(AnswerYes(WaitForBoxOtherThan(dialog)));
      }
      if (large) {
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        HWND question = WaitForDialog(app_, "Large save");
        threads = ThreadsOf(app_.info.dwProcessId);
        ASSERT_TRUE(AnswerYes(question)) << "no question before a large save";
      }
      HANDLE writer = HoldNewThread(app_.info.dwProcessId, threads);
      HWND saving = WaitForDialog(app_, SavingTitle);
      ASSERT_TRUE(writer != nullptr && saving != nullptr) << "no progress shown";
      HWND heading =
          FindWindowExA(saving, nullptr, "Static", ("Saving " + rows + " rows...").c_str());
      HWND written = FindWindowExA(saving, heading, "Static", nullptr);
      EXPECT_NE(WindowText(written).find(" of " + rows + " rows written"), std::string::npos)
          << WindowText(written);
      if (target == fresh) ClickCentre(FindWindowExA(saving, nullptr, "Button", "Cancel"));
      if (target == older) PressKey(VK_ESCAPE);
      EXPECT_TRUE(WaitUntil([&] { return WindowText(written) == "Cancelling..."; }));
      ResumeThread(writer);
      CloseHandle(writer);
      ASSERT_TRUE(WaitUntil([&] { return !IsWindow(saving); }));
    }
    EXPECT_EQ(GetFileAttributesA(fresh.c_str()), INVALID_FILE_ATTRIBUTES) << "a new file is left";
    EXPECT_TRUE(FileText(older) == "an older file") << "the older file has changed";
    EXPECT_EQ(FilesIn(TempFilePath("vlk*.tmp")), temporaries) << "a temporary file is left";
    std::remove(older.c_str());
  }
};

class LargePlanTest : public SaveTest {
 protected:
  void SetUp() override {
    SubnetsWindowTest::SetUp();
    CalculateAndOpen(ClassALargest);
    ASSERT_TRUE(BringToFront(s_.window));
  }
  // Types `typed` into the go-to dialog; Tab moves the focus `tabs` times
  // before Enter (once: onto OK, twice: onto Cancel).
  void GoTo(const std::string& typed, int tabs = 0) {
    PressKey('G', VK_CONTROL);
    HWND dialog = WaitForDialog(app_, GoToTitle);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(BringToFront(dialog));
    ASSERT_NE(WaitForFocusIn(app_, dialog), nullptr);
    TypeText(typed);
    for (int i = 0; i < tabs; ++i)
      PressKey(VK_TAB);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  }
  std::string Label() { return WindowText(s_.pageLabel); }
  std::string SelectedIndex() {
    int row = SelectedRow();
    return row < 0 ? "none" : ListRows(app_, s_.list)[static_cast<size_t>(row)][0];
  }
};

TEST_F(LargePlanTest, CtrlHomeCtrlEndAndGoToReachAnyPage) {
  PressKey(VK_END, VK_CONTROL);
  ASSERT_TRUE(PageShown("Page 335545/335545"));
  EXPECT_FALSE(IsWindowEnabled(s_.next));
  EXPECT_EQ(ListRows(app_, s_.list).back()[0], "8388607");
  EXPECT_EQ(CutCells(app_, s_), "");
  PressKey(VK_HOME, VK_CONTROL);
  ASSERT_TRUE(PageShown("Page 1/335545"));
  EXPECT_FALSE(IsWindowEnabled(s_.previous));
  // Plain Home and End belong to the list: its first and last row, same page.
  for (const auto& [key, row] : {std::pair{VK_END, 25}, std::pair{VK_HOME, 0}}) {
    PressKey(static_cast<WORD>(key));
    EXPECT_TRUE(WaitUntil([&] { return SelectedRow() == row; })) << "row " << SelectedRow();
    EXPECT_EQ(Label(), "Page 1/335545");
  }

  // 10.200.3.77 lies 200 * 65536 + 3 * 256 + 77 addresses into 10.0.0.0, in
  // blocks of two; a page after the first holds indexes 25p - 24 to 25p.
  const int index = (200 * 65536 + 3 * 256 + 77) / 2;
  const int page = (index + 24) / 25;
  const std::string found = TempFilePath("found.tsv");
  ASSERT_TRUE(RunVelkor("--class A --subnets 4194304 --find 10.200.3.77 --format tsv", found));
  const std::string velkorRow = FileText(found).substr(FileText(found).find('\n') + 1);
  const std::string indexAndPage = std::to_string(index) + "\t" + std::to_string(page) + "\t";
  EXPECT_EQ(velkorRow.compare(0, indexAndPage.size(), indexAndPage), 0) << velkorRow;
  std::remove(found.c_str());
  GoTo("10.200.3.77");
  const std::string pageLabel = "Page " + std::to_string(page) + "/335545";
  ASSERT_TRUE(PageShown(pageLabel));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == s_.window; }, 3000));
  EXPECT_EQ(SelectedIndex(), std::to_string(index));

  // Enter on Cancel cancels: the page and selection stay.
  GoTo("5", 2);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == s_.window; }, 3000));
  EXPECT_EQ(Label(), pageLabel);
  EXPECT_EQ(SelectedIndex(), std::to_string(index));

  // Refused targets: a message, and the page and selection stay.
  for (const char* typed : {"11.0.0.1", "8388608"}) {
    GoTo(typed);
    MessageBoxSeen box;
    ASSERT_TRUE(WaitForMessageBox(app_, box)) << typed;
    EXPECT_EQ(box.title, typed[2] == '.' ? "Address outside the plan" : "No such sub-network");
    ASSERT_TRUE(DismissMessageBox(box));
    EXPECT_EQ(Label(), pageLabel) << typed;
    EXPECT_EQ(SelectedIndex(), std::to_string(index)) << typed;
  }
}

TEST_F(LargePlanTest, SaveAllWritesVelkorsCsvAndFailsCleanly) {
  const std::string target = TempFilePath("subnets.csv");
  const std::string expected = TempFilePath("velkor.csv");
  { std::ofstream(target) << "an older file"; }
  ASSERT_TRUE(RunVelkor("--class A --subnets 4194304 --list --all --format csv", expected));

  // Over the older file: the dialog asks before replacing it.
  PressKey('S', VK_CONTROL);
  HWND dialog = WaitForDialog(app_, "Save As");
  ASSERT_TRUE(EnterInDialog(app_, dialog, target));
  ASSERT_TRUE(AnswerYes(WaitForBoxOtherThan(dialog))) << "no question before replacing the file";
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 60000));
  ASSERT_TRUE(PageShown("Page 1/335545"));
  EXPECT_TRUE(WaitUntil([&] { return SameFiles(target, expected); }, 120000))
      << "the saved file differs from velkor's CSV";

  // A folder that cannot be written (made immutable by the test's set-up): a
  // message naming the file, and no file left there.
  const std::string unwritable = WindowsPath(VELKOR_UNWRITABLE_DIR) + "\\subnets.csv";
  ASSERT_TRUE(BringToFront(s_.window));
  PressKey('S', VK_CONTROL);
  dialog = WaitForDialog(app_, "Save As");
  ASSERT_TRUE(EnterInDialog(app_, dialog, unwritable));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  MessageBoxSeen box;
  ASSERT_TRUE(WaitForMessageBox(app_, box));
  EXPECT_EQ(box.title, "Could not save");
  EXPECT_NE(box.text.find(unwritable), std::string::npos) << box.text;
  ASSERT_TRUE(DismissMessageBox(box));
  EXPECT_EQ(FilesIn(WindowsPath(VELKOR_UNWRITABLE_DIR) + "\\*.*"), 0)
      << "a file was left in the unwritable folder";
  EXPECT_TRUE(PageShown("Page 1/335545"));
  std::remove(target.c_str());
  std::remove(expected.c_str());
}

TEST_F(LargePlanTest, ACancelledSaveLeavesNoFileAndTheOlderOneAsItWas) {
  CancelHeldSaves("8,388,608", false);
}

// ---------------------------------------------------------------- VLSM planner

class PlannerTest : public SubnetsWindowTest {
 protected:
  // Ctrl+P in the main window, or the item of its system menu (Alt+Space)
  // before the last, the block calculator's.
  void OpenPlanner(bool bySystemMenu) {
    ASSERT_TRUE(BringToFront(app_.main));
    PressKey(bySystemMenu ? VK_SPACE : 'P', bySystemMenu ? VK_MENU : VK_CONTROL);
    if (bySystemMenu) {
      ASSERT_TRUE(WaitUntil([&] { return MenuReadyForInput(OpenPopupMenu(app_)); }));
      PressKey(VK_UP);
      PressKey(VK_UP);
      PressKey(VK_RETURN);
    }
    std::string error;
    ASSERT_TRUE(FindPlannerWindow(app_, p_, error)) << error;
  }
  // Types the block and the lines ("\n" is Enter) over the fields, then clicks Plan.
  void Plan(const std::string& block, const std::string& lines) {
    ASSERT_TRUE(TypeIntoEntry(app_, p_.block, block));
    ClickCentre(p_.lines);
    PressKey('A', VK_CONTROL);
    for (char c : lines)
      c == '\n' ? PressKey(VK_RETURN) : TypeText(std::string(1, c));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(p_.lines) == lines; })) << WindowText(p_.lines);
    ClickCentre(p_.plan);
  }
  void ExpectBackInMain() {
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(p_.window); }));
    EXPECT_TRUE(WaitUntil([&] {
      return IsWindowEnabled(app_.main) && GetForegroundWindow() == app_.main;
    })) << "the main window is not enabled in the foreground";
  }
  // The clipboard after the menu item of row `row` that `keys` presses of
  // Down (Up when negative) reach.
  std::string CopyFromMenu(int row, int keys) {
    const RECT area = ListRowRect(app_, p_.list, row);
    const DWORD before = GetClipboardSequenceNumber();
    if (!RightClickList(
            area.left + 20, (area.top + area.bottom) / 2,
            [&] { return MenuReadyForInput(OpenPopupMenu(app_)); }, p_.list)) {
      return "no menu";
    }
    for (int i = 0; i < std::abs(keys); ++i)
      PressKey(keys > 0 ? VK_DOWN : VK_UP);
    PressKey(VK_RETURN);
    return ClipboardChangedSince(before) ? ClipboardText() : "no copy";
  }
  PlannerWindowControls p_;
};

TEST_F(PlannerTest, OpensFromTheSystemMenuAndCtrlPWithTheClassBlock) {
  OpenPlanner(true);
  EXPECT_EQ(WindowText(p_.block), "192.168.1.0/24");
  POINT closeBox{};
  ASSERT_TRUE(CloseBoxPoint(p_.window, closeBox));
  ClickAtScreen(p_.window, closeBox);
  ExpectBackInMain();
  ASSERT_TRUE(ChooseListItem(app_, main_.classList, 2));
  OpenPlanner(false);
  EXPECT_EQ(WindowText(p_.block), "10.0.0.0/8");
  PressKey(VK_ESCAPE);
  ExpectBackInMain();
}

TEST_F(PlannerTest, ShowsCopiesAndSavesVelkorsPlanAndKeepsItOnARefusal) {
  const std::string lines = "sales 200\nengineering 100\nsupport 50\nlab /27\nuplink 2";
  const std::string list = TempFilePath("vlsm.txt"), tsv = TempFilePath("vlsm.tsv"),
                    csv = TempFilePath("velkor_vlsm.csv"), saved = TempFilePath("vlsm.csv");
  std::ofstream(list, std::ios::binary) << lines << '\n';
  for (const auto& [format, output] : {std::pair{"tsv", tsv}, std::pair{"csv", csv}})
    ASSERT_TRUE(RunVelkor("192.168.0.0/22 --vlsm-file " + list + " --format " + format, output));
  std::vector<ListRow> expected = ReadListing(tsv);  // no cell holds a blank
  expected.erase(expected.begin());                  // the header
  ASSERT_EQ(expected.size(), 9u);

  OpenPlanner(false);
  Plan("192.168.0.0/22", lines);
  const std::string status = "Used 484 of 1,024 addresses (47%), 4 free blocks";
  ASSERT_TRUE(WaitUntil([&] { return WindowText(p_.status) == status; })) << WindowText(p_.status);
  EXPECT_EQ(ListRows(app_, p_.list), expected);
  ASSERT_TRUE(WaitWindowIdle(p_.window));
  const uint32_t text = Rgb(static_cast<COLORREF>(SendMessageA(p_.list, LVM_GETTEXTCOLOR, 0, 0)));
  const std::vector<RowLook> looks = RowLooks(app_, p_.list, text);
  ASSERT_EQ(looks.size(), expected.size());
  for (size_t row = 0; row < looks.size(); ++row) {
    const uint32_t colour = row >= 5 ? 0xE1FFE1 : row % 2 == 0 ? 0xE1E1FF : 0xFFFFFF;
    EXPECT_EQ(looks[row].background, colour) << std::hex << "row " << row;
    EXPECT_GT(looks[row].textPixels, 20) << "row " << row << ": no text in its colour";
  }

  EXPECT_EQ(CopyFromMenu(1, 4), expected[1][3]) << "Copy network";
  // Below it Save as CSV, then Open plan, Save plan and Save plan as.
  EXPECT_EQ(CopyFromMenu(7, -5), FileText(tsv)) << "Copy all as text";
  std::remove(saved.c_str());
  PressKey('S', VK_CONTROL);
  HWND dialog = WaitForDialog(app_, "Save As");
  ASSERT_TRUE(EnterInDialog(app_, dialog, saved));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) && FileText(saved) == FileText(csv); }))
      << "the saved file differs from velkor's CSV";

  // Each refusal is a message box, and the plan shown stays.
  const struct {
    const char *block, *lines, *message;
  } refusals[] = {
      {"192.168.0.0/22", "big 2000",
       "Sub-networks do not fit: The list needs 2048 addresses, the block holds 1024."},
      {"192.168.0.0/22", "a 10\nb 20\nc abc",
       "Invalid sub-network line: Line 3: 'c abc': hosts must be a number from 1 to 4294967294."},
      {" 192.168.0.1/22", "a 10",
       "Invalid address block: The address block '192.168.0.1/22' cannot be used: host bits set: "
       "the network is 192.168.0.0/22."},
  };
  for (const auto& refusal : refusals) {
    Plan(refusal.block, refusal.lines);
    MessageBoxSeen box;
    ASSERT_TRUE(WaitForMessageBox(app_, box)) << refusal.message;
    EXPECT_EQ(box.title + ": " + box.text, refusal.message);
    ASSERT_TRUE(DismissMessageBox(box));
    EXPECT_EQ(WindowText(p_.status), status) << refusal.message;
    EXPECT_EQ(ListRows(app_, p_.list), expected) << refusal.message;
  }
  ClickCentre(p_.close);
  ASSERT_TRUE(WaitForDialog(app_, SaveChangesTitle) != nullptr) << "the changed list";
  PressKey('D');
  ExpectBackInMain();
  for (const std::string& path : {list, tsv, csv, saved})
    std::remove(path.c_str());
}

TEST_F(PlannerTest, DrawsTheBlockToScaleAndSelectsWithTheList) {
  OpenPlanner(false);
  EXPECT_EQ(PlannerMapFaults(app_, p_), "");
}

// A plan's TSV by velkor.exe for `arguments`, and its rows after the header.
std::string VelkorPlan(const std::string& arguments, std::vector<ListRow>& rows) {
  const std::string output = TempFilePath("velkor_plan.tsv");
  const std::string tsv = RunVelkor(arguments + " --format tsv", output) ? FileText(output) : "";
  rows = ReadListing(output);
  if (!rows.empty()) rows.erase(rows.begin());
  std::remove(output.c_str());
  return tsv;
}

TEST_F(PlannerTest, AnIpv6PlanIsVelkorsAndSavedOpensAgainAndRunsInVelkor) {
  const std::string lines = "lan /56\nwifi /56\ndmz /64\nmgmt /64";
  const std::string list = TempFilePath("ipv6_list.txt"), plan = TempFilePath("ipv6_plan.txt");
  std::ofstream(list, std::ios::binary) << lines << '\n';
  std::vector<ListRow> expected, again;
  const std::string tsv = VelkorPlan("2001:db8:1::/48 --vlsm-file " + list, expected);
  // By hand: the /56s fill 2001:db8:1::/55, the /64s start at 2001:db8:1:200::.
  ASSERT_GE(expected.size(), 4u);
  EXPECT_EQ(expected[1][3], "2001:db8:1:100::/56");
  EXPECT_EQ(expected[3][3], "2001:db8:1:201::/64");
  OpenPlanner(false);
  Plan("2001:db8:1::/48", lines);
  ASSERT_TRUE(WaitUntil([&] { return ListRows(app_, p_.list) == expected; }));
  std::vector<std::string> titles;
  for (const auto& column : ListColumns(app_, p_.list))
    titles.push_back(column.first);
  EXPECT_EQ(titles, (std::vector<std::string>{"Name", "Wanted", "Usable", "Network", "First IP",
                                              "Last IP"}));
  // The map spans the /48: the sub-networks take its first /55 and two /64s,
  // a 128th of the strip and a pixel; the rest is the free rows' green.
  const uint32_t text = 0xFFFFFF & GetSysColor(COLOR_WINDOWTEXT);
  const uint32_t freeGreen = RowLooks(app_, p_.list, text).at(4).background;
  RECT map{};
  GetClientRect(p_.map, &map);
  std::vector<uint32_t> line;
  ASSERT_TRUE(WaitUntil([&] { return (line = MapLine(p_.map, map.bottom / 6)).size() > 200; }));
  const auto used = static_cast<std::ptrdiff_t>(line.size() / 128 + 2);
  EXPECT_NE(line[0], freeGreen);
  EXPECT_NE(line[used - 3], freeGreen);
  EXPECT_EQ(std::count(line.begin() + used, line.end(), freeGreen),
            line.end() - line.begin() - used);

  std::remove(plan.c_str());
  PressKey('S', VK_CONTROL, VK_SHIFT);
  ASSERT_TRUE(EnterInDialog(app_, WaitForDialog(app_, "Save As"), plan));
  const std::string title = std::string(PlannerTitle) + " - ipv6_plan.txt";
  EXPECT_TRUE(WaitUntil([&] { return WindowText(p_.window) == title; })) << WindowText(p_.window);
  EXPECT_EQ(FileText(plan),
            "block 2001:db8:1::/48\r\nlan /56\r\nwifi /56\r\ndmz /64\r\nmgmt /64\r\n");
  EXPECT_EQ(VelkorPlan("--vlsm-file " + plan, again), tsv) << "velkor reads the saved plan so";
  PressKey(VK_ESCAPE);  // saved: no question
  ExpectBackInMain();

  OpenPlanner(false);
  PressKey('O', VK_CONTROL);
  ASSERT_TRUE(EnterInDialog(app_, WaitForDialog(app_, "Open"), plan));
  EXPECT_TRUE(WaitUntil([&] { return ListRows(app_, p_.list) == expected; }));
  EXPECT_EQ(WindowText(p_.block), "2001:db8:1::/48");
  EXPECT_EQ(WindowText(p_.lines), lines + "\n");
  EXPECT_EQ(WindowText(p_.window), title);
  PressKey(VK_ESCAPE);
  ExpectBackInMain();
  for (const std::string& path : {list, plan})
    std::remove(path.c_str());
}

TEST_F(PlannerTest, ADroppedPlanOpensABadOneChangesNothingAndChangesAskBeforeClosing) {
  const std::string good = TempFilePath("good_plan.txt"), bad = TempFilePath("bad_plan.txt");
  const std::string goodText = "# office\nblock 10.20.0.0/24\nsales 100\nlab /28\n";
  std::ofstream(good, std::ios::binary) << goodText;
  std::ofstream(bad, std::ios::binary) << "block 10.30.0.0/24\r\nsales 100\r\nlab /33\r\n";
  std::vector<ListRow> expected, changed;
  VelkorPlan("--vlsm-file " + good, expected);
  ASSERT_EQ(expected.size(), 5u);  // by hand: a /25, a /28, free a /28, a /27 and a /26
  OpenPlanner(false);
  ASSERT_TRUE(DropFiles(app_, p_.window, {good}));
  ASSERT_TRUE(WaitUntil([&] { return ListRows(app_, p_.list) == expected; }));
  EXPECT_EQ(WindowText(p_.block), "10.20.0.0/24");
  const std::string title = WindowText(p_.window), lines = WindowText(p_.lines);
  EXPECT_EQ(title, std::string(PlannerTitle) + " - good_plan.txt");

  ASSERT_TRUE(DropFiles(app_, p_.window, {bad}));
  MessageBoxSeen box;
  ASSERT_TRUE(WaitForMessageBox(app_, box));
  EXPECT_EQ(box.title + ": " + box.text,
            "Not a plan file: bad_plan.txt: line 3: 'lab /33': the prefix must be /0 to /32.");
  ASSERT_TRUE(DismissMessageBox(box));
  EXPECT_EQ(ListRows(app_, p_.list), expected);
  EXPECT_EQ(WindowText(p_.block) + WindowText(p_.lines) + WindowText(p_.window),
            "10.20.0.0/24" + lines + title);

  // A changed block: Cancel keeps the window, Save writes the open file.
  ASSERT_TRUE(TypeIntoEntry(app_, p_.block, "10.20.1.0/24"));
  PressKey(VK_ESCAPE);
  HWND question = WaitForDialog(app_, SaveChangesTitle);
  ASSERT_TRUE(question != nullptr) << "closing with changes did not ask";
  ClickCentre(FindWindowExA(question, nullptr, "Button", "Cancel"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
  EXPECT_TRUE(IsWindow(p_.window) && IsWindowEnabled(p_.window)) << "Cancel closed the planner";
  POINT closeBox{};
  ASSERT_TRUE(CloseBoxPoint(p_.window, closeBox));
  ClickAtScreen(p_.window, closeBox);
  ASSERT_TRUE((question = WaitForDialog(app_, SaveChangesTitle)) != nullptr);
  PressKey('S');
  ExpectBackInMain();
  const std::string saved = "block 10.20.1.0/24\n# office\nsales 100\nlab /28\n";
  EXPECT_EQ(FileText(good), saved);
  VelkorPlan("--vlsm-file " + good, changed);
  EXPECT_EQ(changed[0][3], "10.20.1.0/25");

  // A changed list: Don't save closes and leaves the file.
  OpenPlanner(false);
  ASSERT_TRUE(DropFiles(app_, p_.window, {good}));
  ASSERT_TRUE(WaitUntil([&] { return ListRows(app_, p_.list) == changed; }));
  ClickCentre(p_.lines);
  PressKey(VK_END, VK_CONTROL);
  TypeText("x 1");
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitForDialog(app_, SaveChangesTitle) != nullptr);
  PressKey('D');
  ExpectBackInMain();
  EXPECT_EQ(FileText(good), saved);
  for (const std::string& path : {good, bad})
    std::remove(path.c_str());
}

// ---------------------------------------------------------------- block calculator

// What velkor.exe prints for `arguments`; with `rows`, its rows after the
// header (no cell holds a blank); with `errors`, what it printed there.
std::string Velkor(const std::string& arguments, std::vector<ListRow>* rows = nullptr,
                   std::string* errors = nullptr) {
  const std::string output = TempFilePath("velkor_block.txt");
  const std::string refusal = TempFilePath("velkor_errors.txt");
  const bool ran = RunVelkor(arguments, output, errors != nullptr ? refusal : "");
  const std::string text = ran ? FileText(output) : "velkor failed";
  if (rows != nullptr) *rows = ReadListing(output);
  if (rows != nullptr && !rows->empty()) rows->erase(rows->begin());
  if (errors != nullptr) *errors = FileText(refusal);
  std::remove(output.c_str());
  std::remove(refusal.c_str());
  return text;
}

// The "name  value" lines of facts or a record.
std::map<std::string, std::string> Fields(const std::string& text) {
  std::map<std::string, std::string> fields;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string name, value;
    std::getline(words >> name >> std::ws, value);
    fields[name] = value;
  }
  return fields;
}

class BlockWindowTest : public SaveTest {
 protected:
  // Ctrl+B in the main window, or the last item of its system menu.
  void OpenBlock(bool bySystemMenu) {
    ASSERT_TRUE(BringToFront(app_.main));
    PressKey(bySystemMenu ? VK_SPACE : 'B', bySystemMenu ? VK_MENU : VK_CONTROL);
    if (bySystemMenu) {
      ASSERT_TRUE(WaitUntil([&] { return MenuReadyForInput(OpenPopupMenu(app_)); }));
      PressKey(VK_UP);
      PressKey(VK_RETURN);
    }
    std::string error;
    ASSERT_TRUE(FindBlockWindow(app_, b_, error)) << error;
  }
  void Enter(HWND entry, const std::string& text) {
    ASSERT_TRUE(TypeIntoEntry(app_, entry, text));
    PressKey(VK_RETURN);
  }
  std::string Facts() { return WindowText(b_.facts) + "\n"; }
  // The split of `block` in the Sub-networks window, in front.
  void ShowSplit(const char* block, const char* split) {
    ASSERT_TRUE(TypeIntoEntry(app_, b_.block, block));
    Enter(b_.split, split);
    std::string error;
    ASSERT_TRUE(FindSubnetsWindow(app_, s_, error)) << error;
    ASSERT_TRUE(BringToFront(s_.window));
  }

  BlockWindowControls b_;
};

TEST_F(BlockWindowTest, FactsOfIpv4AndIpv6BlocksAreVelkors) {
  OpenBlock(true);
  const struct {
    const char* block;
    std::map<std::string, std::string> byHand;
  } blocks[] = {
      // 10.1.2.3 in a /20: 10.1.0.0 to 10.1.15.255, 2^12 - 2 hosts.
      {"10.1.2.3/20",
       {{"network", "10.1.0.0/20"}, {"broadcast", "10.1.15.255"}, {"hosts", "4094"}}},
      // A /42 holds 2^22 /64s, ends where bits 42 to 127 are ones (0x40 |
      // 0x3f = 0x7f), and has the four /44 zones of nibbles 4 to 7.
      {"2001:db8:40::1/42",
       {{"last", "2001:db8:7f:ffff:ffff:ffff:ffff:ffff"},
        {"count_64", "4194304"},
        {"zones",
         "4.0.0.8.b.d.0.1.0.0.2.ip6.arpa 5.0.0.8.b.d.0.1.0.0.2.ip6.arpa "
         "6.0.0.8.b.d.0.1.0.0.2.ip6.arpa 7.0.0.8.b.d.0.1.0.0.2.ip6.arpa"}}},
  };
  for (const auto& block : blocks) {
    const std::string velkor = Velkor(block.block);
    Enter(b_.block, block.block);
    EXPECT_TRUE(WaitUntil([&] { return Facts() == velkor; })) << Facts() << "velkor:\n" << velkor;
    for (const auto& [name, value] : block.byHand)
      EXPECT_EQ(Fields(Facts())[name], value) << block.block << " " << name;
  }
  POINT closeBox{};
  ASSERT_TRUE(CloseBoxPoint(b_.window, closeBox));
  ClickAtScreen(b_.window, closeBox);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app_.main) && !IsWindow(b_.window); }));
}

TEST_F(BlockWindowTest, TwoToThe32SubnetworksPageToTheEndAndGoToAnAddress) {
  OpenBlock(false);
  ShowSplit("2001:db8::/32", "/64");
  EXPECT_EQ(ListColumns(app_, s_.list).size(), 4u);
  // Page 1 holds indexes 0 to 25, each later page 25: (2^32 - 1) / 25 rounded
  // up is 171,798,692 pages, the last from 4,294,967,276 to 4,294,967,295.
  PressKey(VK_END, VK_CONTROL);
  const std::string last = "Page 171798692/171798692";
  ASSERT_TRUE(WaitUntil([&] { return WindowText(s_.pageLabel) == last; }));
  const std::vector<ListRow> rows = ListRows(app_, s_.list);
  ASSERT_EQ(rows.size(), 20u);
  EXPECT_EQ(rows.front()[0], "4294967276");
  std::vector<ListRow> velkor;
  Velkor("2001:db8::/32 --prefix 64 --list --page 171798692 --format tsv", &velkor);
  EXPECT_EQ(rows, velkor);
  EXPECT_EQ(CutCells(app_, s_), "");

  // Its bits 32 to 63 are all ones: the last /64, index 2^32 - 1.
  PressKey(VK_HOME, VK_CONTROL);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(s_.pageLabel) == "Page 1/171798692"; }));
  PressKey('G', VK_CONTROL);
  ASSERT_TRUE(EnterInDialog(app_, WaitForDialog(app_, GoToTitle), "2001:db8:ffff:ffff::1"));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(s_.pageLabel) == last; }));
  const auto row = SendMessageA(s_.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  ASSERT_GE(row, 0);
  EXPECT_EQ(ListRows(app_, s_.list)[static_cast<size_t>(row)][0], "4294967295");
  EXPECT_EQ(Fields(Velkor("2001:db8::/32 --prefix 64 --find 2001:db8:ffff:ffff::1"))["index"],
            "4294967295");
}

// Summarize, then Free space of a block of each family, each shown, copied
// and saved as velkor writes them for the same list.
TEST_F(BlockWindowTest, APastedListSummarizesFreesCopiesAndSavesAsVelkor) {
  // By hand: the two /25s make 10.0.0.0/24, the range 1 to 6 is /32, /31,
  // /31, /32; the two /33s make 2001:db8::/32, beside ::1: 5 and 2 blocks.
  // They leave 10.0.1.0/24 and 10.0.2.0/23 of a /22, and 2001:db9::/32 (2^96
  // addresses) of 2001:db8::/31 (ipaddress's address_exclude).
  const std::string list =
      "10.0.0.128/25\r\n10.0.0.0/25\r\n192.168.0.1-192.168.0.6\r\n2001:db8::/33, "
      "2001:db8:8000::/33 ::1\r\n";
  const std::string listFile = TempFilePath("block_list.txt");
  const std::string saved = TempFilePath("blocks.csv");
  std::ofstream(listFile, std::ios::binary) << list;
  const struct {
    WORD key;
    const char* block;  // typed first, unless empty
    std::string arguments;
    const char* status;
  } runs[] = {
      {'U', "", "--summarize " + listFile, "7 blocks: 5 IPv4, 2 IPv6"},
      {'F', "10.0.0.0/22", "10.0.0.0/22 --free " + listFile,
       "Used 256 of 1,024 addresses (25%), 2 free blocks"},
      {'F', "2001:db8::/31", "2001:db8::/31 --free " + listFile,
       "Used 79,228,162,514,264,337,593,543,950,336 of "
       "158,456,325,028,528,675,187,087,900,672 addresses (50%), 1 free block"},
  };
  OpenBlock(false);
  ASSERT_TRUE(PutClipboard(list));
  ClickCentre(b_.list);
  PressKey('A', VK_CONTROL);
  PressKey('V', VK_CONTROL);
  // Each CR LF reads back as a line feed.
  ASSERT_TRUE(WaitUntil([&] { return WindowText(b_.list).size() + 4 == list.size(); }));
  for (const auto& run : runs) {
    std::vector<ListRow> rows;
    const std::string tsv = Velkor(run.arguments + " --format tsv", &rows);
    const std::string csv = Velkor(run.arguments + " --format csv");
    if (*run.block != '\0') {
      ASSERT_TRUE(TypeIntoEntry(app_, b_.block, run.block));
    }
    PressKey(run.key, VK_CONTROL);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(b_.status) == run.status; }))
        << WindowText(b_.status);
    EXPECT_EQ(ListRows(app_, b_.results), rows) << run.arguments;

    const DWORD before = GetClipboardSequenceNumber();
    PressKey('C', VK_CONTROL, VK_SHIFT);
    ASSERT_TRUE(ClipboardChangedSince(before));
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == tsv; })) << ClipboardText();
    std::remove(saved.c_str());
    PressKey('S', VK_CONTROL);
    HWND dialog = WaitForDialog(app_, "Save As");
    ASSERT_TRUE(EnterInDialog(app_, dialog, saved));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) && FileText(saved) == csv; }))
        << run.arguments << ": the saved file differs from velkor's CSV";
  }
  for (const std::string& path : {listFile, saved})
    std::remove(path.c_str());
}

// A refused block is named in a message box as velkor names it, and the facts
// of the last block taken stay; each bound is tried on both sides.
TEST_F(BlockWindowTest, ARefusedBlockIsNamedAndTheFactsStay) {
  OpenBlock(false);
  const struct {
    const char* typed;
    bool taken;
  } blocks[] = {
      {"10.1.2.3/32", true},     {"10.1.2.3/33", false},  {"2001:db8::1/128", true},
      {"2001:db8::/129", false}, {"10.1.2.3/024", true},  {"10.1.2.3/0024", false},
      {"010.1.2.3/8", false},    {"fe80::1%eth0", false}, {"2001:db8:::1/48", false},
  };
  std::string facts = Facts();
  for (const auto& block : blocks) {
    std::string refusal;
    const std::string velkor = Velkor(block.typed, nullptr, &refusal);
    Enter(b_.block, block.typed);
    if (block.taken) {
      facts = velkor;
      EXPECT_TRUE(WaitUntil([&] { return Facts() == facts; })) << block.typed << ":\n" << Facts();
      continue;
    }
    MessageBoxSeen box;
    ASSERT_TRUE(WaitForMessageBox(app_, box)) << block.typed;
    // velkor: 'BLOCK': the problem
    const std::string named = "velkor: '" + std::string(block.typed) + "': ";
    ASSERT_EQ(refusal.compare(0, named.size(), named), 0) << refusal;
    const std::string problem = refusal.substr(named.size(), refusal.size() - named.size() - 1);
    EXPECT_NE(box.text.find("'" + std::string(block.typed) + "'"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find(": " + problem), std::string::npos)
        << box.text << "\nvelkor: " << problem;
    ASSERT_TRUE(DismissMessageBox(box));
    EXPECT_EQ(Facts(), facts) << block.typed;
  }
}

// 2^(64 - 40) sub-networks of up to 128 bytes each: asked about, as past 1 GB.
TEST_F(BlockWindowTest, ACancelledIpv6SaveOf16777216RowsLeavesNoFile) {
  OpenBlock(false);
  ShowSplit("2001:db8::/40", "/64");
  CancelHeldSaves("16,777,216", true);
}

}  // namespace
