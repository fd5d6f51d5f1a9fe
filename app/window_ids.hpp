// The titles of the program's windows and the command ids their shortcuts
// raise: what the windows create, and what tests and benchmarks look for.
#pragma once

#include <cstdint>

constexpr const char* MainTitle = "Velkor - IPv4 Subnetting";
constexpr const char* SubnetsTitle = "Velkor - IPv4 Subnetting - Sub-networks";
constexpr const char* AboutTitle = "Velkor - IPv4 Subnetting - About";
constexpr const char* GoToTitle = "Go to sub-network";
constexpr const char* PlannerTitle = "Velkor - IPv4 Subnetting - VLSM planner";
constexpr const char* BlockTitle = "Velkor - IPv4 Subnetting - Block calculator";
constexpr const char* SavingTitle = "Velkor - IPv4 Subnetting - Saving";
constexpr const char* SaveChangesTitle = "Save changes";

// The id of a window or control created with AutoId: creations return an
// intptr_t, which holds the new id in that case.
inline int AsId(intptr_t created) {
  return static_cast<int>(created);
}

// The main window: Ctrl+P and the item of its system menu open the planner,
// Ctrl+B and the next item the block calculator (system-menu ids below
// 0xF000, their low four bits clear as the system's own).
constexpr int PlannerCommand = 0x400;
constexpr int BlockCalculatorCommand = 0x410;

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
// as CSV (SaveCommand, as in the sub-networks window); plan files open with
// Ctrl+O and save with Ctrl+Shift+S (to the open file) or F12 (to another).
constexpr int PlanEnterCommand = 1001;
constexpr int OpenPlanCommand = 1007;
constexpr int SavePlanCommand = 1008;
constexpr int SavePlanAsCommand = 1009;

// The question before closing with unsaved changes: Enter presses the focused
// button, S saves, D does not.
constexpr int SaveChoiceEnterCommand = 1001;
constexpr int SaveChoiceSaveCommand = 1002;
constexpr int SaveChoiceDontSaveCommand = 1003;

// The block calculator: Enter calculates in the block entry, shows the
// networks in the split entry and presses a focused button; every command is
// also a key and an item of the window's system menu.
constexpr int BlockEnterCommand = 1001;
constexpr int CalculateCommand = 0x420;     // Enter in the block entry
constexpr int ShowNetworksCommand = 0x430;  // Ctrl+N, Enter in the split entry
constexpr int SummarizeCommand = 0x440;     // Ctrl+U
constexpr int FreeSpaceCommand = 0x450;     // Ctrl+F
constexpr int CopyResultsCommand = 0x460;   // Ctrl+Shift+C
constexpr int SaveResultsCommand = 0x470;   // Ctrl+S
