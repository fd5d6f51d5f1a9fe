// The titles of the program's windows and the command ids their shortcuts
// raise: what the windows create, and what tests and benchmarks look for.
#pragma once

constexpr const char* MainTitle = "Velkor - IPv4 Subnetting";
constexpr const char* SubnetsTitle = "Velkor - IPv4 Subnetting - Sub-networks";
constexpr const char* AboutTitle = "Velkor - IPv4 Subnetting - About";
constexpr const char* GoToTitle = "Go to sub-network";

// Escape, in every secondary window.
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
