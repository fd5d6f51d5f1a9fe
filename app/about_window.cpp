// The About window: logo, name, version and maker, three links and a short
// description. Everything it uses is made when it opens and released before
// it returns.
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/modal.hpp"
#include "app/secondary_windows.hpp"
#include "app/window_ids.hpp"
#include "assets/logo.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/events.hpp"
#include "toolkit/fonts.hpp"
#include "toolkit/images.hpp"
#include "toolkit/launch.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/views.hpp"
#include "toolkit/windows.hpp"
#include "velkor_version.h"

namespace {

constexpr const char* HeadingLines[] = {
    "Velkor - IPv4 Subnetting v" VELKOR_VERSION "\r\n",
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

// The maker's site, the project's site and the contact address, each shown
// after "- " and opened as the scheme followed by the address.
struct Link {
  const char* scheme;
  const char* address;
};
constexpr Link Links[] = {
    {"", "https://www.orvantis.example/"},
    {"", "https://velkor.orvantis.example/"},
    {"mailto:", "velkor@orvantis.example"},
};
constexpr int LinkCount = 3;

constexpr const char* FontFace = "Tahoma";
constexpr int FontPoints = 8;
constexpr unsigned HeadingStyle = FontBold | FontHighQuality;
constexpr unsigned LinkStyle = FontUnderline | FontHighQuality;
constexpr int HeadingColour = 35 | 35 << 8 | 35 << 16;
constexpr int HoverColour = 0 | 0 << 8 | 255 << 16;
constexpr int LogoSide = 100;
constexpr int Margin = 15;  // of the logo and the description
constexpr int LinkRowHeight = 15;

// What the window is built from; released by ShowAboutWindow.
struct AboutResources {
  int logo = 0;
  int headingFont = 0;
  int linkFont = 0;
  std::string heading;
};

struct AboutControls {
  int close = 0;
  int links[LinkCount] = {};
};

// Controls 4 to 8 sit beside and below the logo and the heading, as read
// back from the controls themselves.
AboutControls CreateControls(int width, int height, const AboutResources& resources) {
  AboutControls controls;
  CreateFrameBox(AutoId, 5, 5, width - 10, height - 37, "About");
  controls.close =
      static_cast<int>(CreatePushButton(AutoId, width - 80, height - 27, 75, 22, "Close"));
  int logoView = static_cast<int>(CreateImageView(AutoId, Margin, Margin, LogoSide, LogoSide,
                                                  NativeImageHandle(resources.logo)));
  int heading =
      static_cast<int>(CreateLabel(AutoId, ControlX(logoView) + ControlWidth(logoView) + 10,
                                   ControlY(logoView) + 5, 200, 40, resources.heading.c_str()));
  ControlSetFont(heading, NativeFontHandle(resources.headingFont));
  ControlSetColor(heading, ColorText, HeadingColour);
  int linksTop = ControlY(heading) + ControlHeight(heading) + 5;
  for (int i = 0; i < LinkCount; ++i) {
    std::string caption = std::string("- ") + Links[i].address;
    controls.links[i] =
        static_cast<int>(CreateLinkLabel(AutoId, ControlX(heading), linksTop + i * LinkRowHeight,
                                         250, LinkRowHeight, caption.c_str(), HoverColour));
  }
  for (int link : controls.links)
    ControlSetFont(link, NativeFontHandle(resources.linkFont));
  int descriptionTop = linksTop + 55;
  CreateLabel(AutoId, Margin, descriptionTop, width - 2 * Margin, height - (descriptionTop + 32),
              Description);
  return controls;
}

// Ends on Escape, the close request or Close; a link's control event opens
// its target, and the window stays open whatever that gives.
bool OnAboutEvent(const AboutControls& controls, int kind) {
  if (IsDismissal(kind, controls.close)) return false;
  if (kind != ControlEvent) return true;
  for (int i = 0; i < LinkCount; ++i) {
    if (EventSourceControl() == controls.links[i]) {
      OpenLink((std::string(Links[i].scheme) + Links[i].address).c_str());
    }
  }
  return true;
}

}  // namespace

void ShowAboutWindow(NativeHandle owner, int width, int height) {
  AboutResources resources;
  {
    ModalWindow modal(owner, width, height, AboutTitle);
    // The logo's real length: the decoder never reads past it.
    resources.logo = DecodeImage(AutoId, LogoPng, LogoPngLength);
    resources.headingFont = CreateTextFont(AutoId, FontFace, FontPoints, HeadingStyle);
    resources.linkFont = CreateTextFont(AutoId, FontFace, FontPoints, LinkStyle);
    ScaleImage(resources.logo, LogoSide, LogoSide);
    AboutControls controls;
    modal.Run(
        [&] {
          for (const char* line : HeadingLines)
            resources.heading += line;
          controls = CreateControls(width, height, resources);
          WindowAddShortcut(modal.Id(), VK_ESCAPE, EscapeCommand);
        },
        [&](int kind) { return OnAboutEvent(controls, kind); });
  }  // the window and its controls go before their logo and fonts
  ReleaseImage(resources.logo);
  ReleaseFont(resources.headingFont);
  ReleaseFont(resources.linkFont);
}
