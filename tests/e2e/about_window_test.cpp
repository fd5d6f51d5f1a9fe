// The About window end to end: opened with the real program's "About" button,
// read, looked at and clicked as a person would. Closing it by Escape and by
// "Close" is part of the secondary-window tests of the main window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/window_ids.hpp"
#include "app_driver.hpp"
#include "assets/logo.hpp"
#include "imaging/image_codecs.hpp"
#include "main_window_driver.hpp"

namespace {

const char* const Heading = "Velkor - IPv4 Subnetting v1.0.2.1\nby Orvantis\nProject Velkor.\n";
const char* const Description =
    "A small tool solely created for subnetting IPv4 addresses, using the classes A, B or C.\n\n"
    "The tool will generate most needed information regarding subnets, masks, usage of bits "
    "within a DWORD, even the full bitmap and bitmask representation of the result.\n\n"
    "When the result was successful, you can view all resulting subnetworks by pressing the show "
    "Networks button. If a subnetwork has been marked red, it means that usually this entry is "
    "not used. (reserved).\n\n"
    "Furthermore; This is a velkor project, with as purpose to teach the coder or the users more "
    "about the subject of development. \n\n"
    "- Orvantis";

struct LinkRow {
  const char* caption;
  const char* target;
};
const LinkRow Links[] = {
    {"- https://www.orvantis.example/", "https://www.orvantis.example/"},
    {"- https://velkor.orvantis.example/", "https://velkor.orvantis.example/"},
    {"- velkor@orvantis.example", "mailto:velkor@orvantis.example"},
};

constexpr uint32_t BlueSeen = 0x0000FF, BlackSeen = 0x000000;  // 0xRRGGBB

class AboutWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(StartWithMainWindow(app_, c_, error)) << error;
    ClickCentre(c_.about);
    ASSERT_TRUE(WaitUntil([&] {
      about_ = FindTopLevel(app_.info.dwProcessId, nullptr, AboutTitle);
      return about_ != nullptr;
    }));
    ASSERT_TRUE(WaitWindowIdle(about_));
  }
  void TearDown() override { StopApp(app_); }

  HWND Child(const std::string& text) {
    for (const ChildInfo& child : DirectChildren(about_)) {
      if (child.text == text) return child.handle;
    }
    return nullptr;
  }

  // Whether the visible part of a control shows `present` somewhere and
  // `absent` nowhere (the window clips the links at its right edge).
  bool Shows(HWND control, uint32_t present, uint32_t absent) {
    ScreenCapture shot;
    RECT area{};
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, about_, reinterpret_cast<POINT*>(&area), 2);
    if (!CaptureClientArea(about_, shot)) return false;
    bool found = false;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < std::min<int>(area.right, shot.width); ++x) {
        if (shot.At(x, y) == absent) return false;
        found = found || shot.At(x, y) == present;
      }
    }
    return found;
  }

  AppProcess app_;
  MainWindowControls c_;
  HWND about_ = nullptr;
};

TEST_F(AboutWindowTest, ShowsItsTextsAndLogoAtTheirPlaces) {
  RECT client{};
  GetClientRect(about_, &client);
  EXPECT_EQ(client.right, 350);
  EXPECT_EQ(client.bottom, 370);
  struct Place {
    const char* className;
    std::string text;
    RECT expected;  // left, top, right, bottom
  };
  const Place places[] = {
      {"Button", "About", {5, 5, 345, 338}},
      {"Button", "Close", {270, 343, 345, 365}},
      {"Static", "", {15, 15, 115, 115}},
      {"Static", Heading, {125, 20, 325, 60}},
      {"Static", Links[0].caption, {125, 65, 375, 80}},
      {"Static", Links[1].caption, {125, 80, 375, 95}},
      {"Static", Links[2].caption, {125, 95, 375, 110}},
      {"Static", Description, {15, 120, 335, 338}},
  };
  std::vector<ChildInfo> children = DirectChildren(about_);
  EXPECT_EQ(children.size(), std::size(places));
  for (const Place& place : places) {
    SCOPED_TRACE(place.text);
    const ChildInfo* found = nullptr;
    for (const ChildInfo& child : children) {
      if (child.className == place.className && child.text == place.text) found = &child;
    }
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->rect.left, place.expected.left);
    EXPECT_EQ(found->rect.top, place.expected.top);
    EXPECT_EQ(found->rect.right, place.expected.right);
    EXPECT_EQ(found->rect.bottom, place.expected.bottom);
  }
}

// The logo as it should look: decoded, scaled to 100 x 100, blended over the
// window's face colour.
std::vector<uint32_t> ExpectedLogo(uint32_t face) {
  RegisterImageDecoder(PngDecoder);
  std::vector<uint8_t> decoded(128 * 128 * 4), scaled(100 * 100 * 4);
  DecodingContext context;
  bool ok = DecodeWithRegistry(
      LogoPng, LogoPngLength,
      [&decoded](const DecodingContext&) {
        return PixelRows{decoded.data(), 512, 128, 128, 32};
      },
      context);
  ok = ok && ResampleSmooth(PixelRows{decoded.data(), 512, 128, 128, 32},
                            PixelRows{scaled.data(), 400, 100, 100, 32});
  std::vector<uint32_t> logo;
  for (std::size_t i = 0; ok && i < scaled.size(); i += 4) {
    uint32_t alpha = scaled[i + 3], pixel = alpha == 0 ? 1u << 24 : 0;  // bit 24: see-through
    for (int c = 0; c < 3; ++c) {
      uint32_t under = face >> (8 * c) & 0xFF;
      pixel |= ((scaled[i + c] * alpha >> 8) + under * (255 - alpha) / 255) << (8 * c);
    }
    logo.push_back(pixel);
  }
  return logo;
}

TEST_F(AboutWindowTest, ShowsTheLogoScaledTo100At15_15) {
  COLORREF colour = GetSysColor(COLOR_BTNFACE);
  uint32_t face = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
  std::vector<uint32_t> logo = ExpectedLogo(face);
  ASSERT_EQ(logo.size(), 100u * 100u);
  ScreenCapture shot;
  ASSERT_TRUE(
      WaitUntil([&] { return CaptureClientArea(about_, shot) && shot.At(65, 65) != face; }));
  int wrong = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      uint32_t expected = logo[static_cast<std::size_t>(y) * 100 + x];
      if (expected >> 24 != 0) continue;  // the frame's caption may overlap the clear corners
      uint32_t seen = shot.At(15 + x, 15 + y);
      for (int c = 0; c < 24; c += 8) {
        int difference =
            static_cast<int>(seen >> c & 0xFF) - static_cast<int>(expected >> c & 0xFF);
        if (difference > 2 || difference < -2) ++wrong;
      }
    }
  }
  EXPECT_EQ(wrong, 0) << "channels off by more than 2";
  for (int y = 30; y < 100; ++y) {
    EXPECT_EQ(shot.At(14, y), face) << y;
    EXPECT_EQ(shot.At(115, y), face) << y;
  }
}

TEST_F(AboutWindowTest, ALinkTurnsBlueUnderThePointerAndBackWhenItLeaves) {
  for (const LinkRow& row : Links) {
    SCOPED_TRACE(row.caption);
    HWND link = Child(row.caption);
    ASSERT_NE(link, nullptr);
    RECT area{};
    GetWindowRect(link, &area);
    EXPECT_TRUE(WaitUntil([&] { return Shows(link, BlackSeen, BlueSeen); }));
    MovePointerTo(about_, POINT{area.left + 10, area.top + 7});
    EXPECT_TRUE(WaitUntil([&] { return Shows(link, BlueSeen, BlackSeen); }));
    MovePointerTo(about_, POINT{area.left + 10, area.bottom + 40});
    EXPECT_TRUE(WaitUntil([&] { return Shows(link, BlackSeen, BlueSeen); }));
  }
}

// Registers link_recorder for web and mailto: addresses in the test prefix,
// writing to `log`, and restores the previous handlers when it goes.
class RecordedLinks {
 public:
  explicit RecordedLinks(const std::string& log) : log_(log) {
    std::remove(log.c_str());
    std::string command =
        "\"" + WindowsPath(VELKOR_LINK_RECORDER_EXE) + "\" \"" + log + "\" \"%1\"";
    for (const char* scheme : {"http", "https", "mailto"}) {
      std::string key = std::string(scheme) + "\\shell\\open\\command";
      saved_.push_back({key, Read(key)});
      RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, command.c_str(),
                   static_cast<DWORD>(command.size()));
    }
  }
  RecordedLinks(const RecordedLinks&) = delete;
  RecordedLinks& operator=(const RecordedLinks&) = delete;
  ~RecordedLinks() {
    for (const auto& [key, value] : saved_) {
      if (value) {
        RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value->c_str(),
                     static_cast<DWORD>(value->size()));
      } else {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
      }
    }
    std::remove(log_.c_str());
  }
  std::vector<std::string> Opened() const {
    std::vector<std::string> lines;
    std::ifstream in(log_);
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  }

 private:
  static std::optional<std::string> Read(const std::string& key) {
    char value[1024];
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    return std::string(value);
  }

  std::string log_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(AboutWindowTest, AClickOnALinkOpensItsTargetAndTheWindowStays) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  RecordedLinks links(std::string(folder) + "velkor-opened-links.txt");
  std::vector<std::string> expected;
  for (int index : {0, 1, 2, 0}) {  // again: opened again
    SCOPED_TRACE(Links[index].caption);
    RECT area{};
    GetWindowRect(Child(Links[index].caption), &area);
    ClickAtScreen(about_, POINT{area.left + 10, area.top + 7});
    expected.push_back(Links[index].target);
    EXPECT_TRUE(WaitUntil([&] { return links.Opened() == expected; }))
        << "opened: " << ::testing::PrintToString(links.Opened());
    EXPECT_TRUE(IsWindowVisible(about_));
    EXPECT_FALSE(IsWindowEnabled(app_.main));
  }
}

}  // namespace
