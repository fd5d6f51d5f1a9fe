// The Sub-networks window end to end: a plan is calculated in the main window,
// "Show networks" opens the list, and the test pages, copies and looks at the
// rows as a person would.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app_driver.hpp"
#include "main_window_driver.hpp"
#include "subnets_window_driver.hpp"

namespace {

struct Plan {
  int classIndex;  // 0 = C, 1 = B
  int method;      // 0 = hosts, 2 = known mask
  const char* typed;
  int lastIndex;
};
const Plan ClassCHosts50{0, 0, "50", 3};
const Plan ClassBMask24{1, 2, "255.255.255.0", 255};

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
    ASSERT_TRUE(StartApp(app_, error)) << error;
    ASSERT_TRUE(FindMainControls(app_.main, main_, error)) << error;
    ASSERT_TRUE(BringToFront(app_.main));
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
  bool RightClickList(int x, int y, Done done) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      ClickAt(s_.list, x, y, true);
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
    ASSERT_TRUE(RightClickList(row.left + 10 + 80 * item, (row.top + row.bottom) / 2,
                               [&] { return OpenPopupMenu(app_) != nullptr; }))
        << "no menu for item " << item;
    for (int down = 0; down <= item; ++down)
      PressKey(VK_DOWN);
    PressKey(VK_RETURN);
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

}  // namespace
