// The About window: name, version, maker and description. The logo and the
// links come next.
#include <cstdint>
#include <string>

#include "app/modal.hpp"
#include "app/secondary_windows.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr const char* AboutTitle = "Velkor - IPv4 Subnetting - About";
constexpr const char* HeadingLines[] = {
    "Velkor - IPv4 Subnetting v1.0.2.1\r\n",
    "by Orvantis\r\n",
    "Project Velkor.\r\n",
};
constexpr const char* Description =
    "A small tool solely created for subnetting IPv4 addresses, using the classes A, B or C.\r\n"
    "\r\n"
    "The tool will generate most needed information regarding subnets, masks, usage of bits "
    "within a DWORD, even the full bitmap and bitmask representation of the result.\r\n"
    "\r\n"
    "When the result was successful, you can view all resulting subnetworks by pressing the show "
    "Networks button. If a subnetwork has been marked red, it means that usually this entry is "
    "not used. (reserved).\r\n"
    "\r\n"
    "Furthermore; This is a velkor project, with as purpose to teach the coder or the users more "
    "about the subject of development. \r\n"
    "\r\n"
    "- Orvantis";

constexpr const char* HeadingFace = "Tahoma";
constexpr int HeadingPoints = 8;
constexpr unsigned HeadingStyle = FontBold | FontHighQuality;
constexpr int HeadingColour = 35 | 35 << 8 | 35 << 16;

// The logo occupies 15, 15, 100 x 100; the heading sits 10 to its right and
// 5 lower, the link rows below it, then the description (at D = 120).
constexpr int HeadingX = 125;
constexpr int HeadingY = 20;
constexpr int DescriptionY = 120;

std::string HeadingText() {
  std::string text;
  for (const char* line : HeadingLines)
    text += line;
  return text;
}

}  // namespace

void ShowAboutWindow(NativeHandle owner, int width, int height) {
  int window =
      static_cast<int>(WindowOpen(AutoId, 0, 0, width, height, AboutTitle, CentreOnOwner, owner));
  int headingFont = CreateTextFont(AutoId, HeadingFace, HeadingPoints, HeadingStyle);
  if (window != 0) {
    SetOwnerEnabled(owner, false);
    CreateFrameBox(AutoId, 5, 5, width - 10, height - 37, "About");
    int close =
        static_cast<int>(CreatePushButton(AutoId, width - 80, height - 27, 75, 22, "Close"));
    int heading =
        static_cast<int>(CreateLabel(AutoId, HeadingX, HeadingY, 200, 40, HeadingText().c_str()));
    ControlSetFont(heading, NativeFontHandle(headingFont));
    ControlSetColor(heading, ColorText, HeadingColour);
    CreateLabel(AutoId, 15, DescriptionY, width - 30, height - (DescriptionY + 32), Description);
    WindowAddShortcut(window, EscapeKey, EscapeCommand);
    while (!IsDismissal(WaitForOwnEvent(window), close)) {
    }
    WindowClose(window);
    SetOwnerEnabled(owner, true);
  }
  // The heading label is gone with its window, so its font can go too.
  ReleaseFont(headingFont);
}
