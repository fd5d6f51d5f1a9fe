// The titles of the program's windows and the command ids their shortcuts
// raise: what the windows create, and what tests and benchmarks look for.
#pragma once

#include <cstdint>

constexpr const char* MainTitle = "Velkor - IPv4 Subnetting";
constexpr const char* SubnetsTitle = "Velkor - IPv4 Subnetting - Sub-networks";
constexpr const char* AboutTitle = "Velkor - IPv4 Subnetting - About";
constexpr const char* GoToTitle = "Go to sub-network";
constexpr const char* PlannerTitle = "Velkor - IPv4 Subnetting - VLSM planner";
constexpr const char* SavingTitle = "Velkor - IPv4 Subnetting - Saving";

// The id of a window or control created with AutoId: creations return an
// intptr_t, which holds the new id in that case.
inline int AsId(intptr_t created) {
  return static_cast<int>(created);
}

// The main window: Ctrl+P and the item of its system menu open the planner
// (a system-menu id below 0xF000, its low four bits clear as the system's own).
constexpr int PlannerCommand = 0x400;

// Escape, in every secondary window; in the saving window it cancels.
constexpr int EscapeCommand = 1000;

// The sub-networks window: its keys, and the go-to and save items of its menu.
constexpr int NextPageCommand = 1001;      // Right
constexpr int PreviousPageCommand = 1002;  // Left
constexpr int FirstPageCommand = 1003;     // Ctrl+Home
constexpr int LastPageCommand = 1004;      // Ctrl+End
constexpr int GoToCommand = 1005;          // Ctrl+G
constexpr int SaveCommand = 1006;          // Ctrl+S

// The go-to dialog: Enter.
constexpr int GoToEnterCommand = 1001;

// The VLSM planner: Enter plans (or presses the focused button); Ctrl+S saves
// (SaveCommand, as in the sub-networks window).
constexpr int PlanEnterCommand = 1001;
