// The windows the main window opens, and what they share. Each is modal over
// its owner (app/modal.hpp).
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "calc/plan.hpp"
#include "net/block_calculator.hpp"
#include "toolkit/windows.hpp"

// Lists the sub-networks of `plan` (borrowed, read only) in a window with an
// inner size of width x height. Returns 0 when closed, also when it could not open.
int ShowSubnetsWindow(NativeHandle owner, const SubnetPlan& plan, int width, int height);
// Lists the sub-networks of an equal split of either family, as the window
// lists a plan's; no row is reserved.
void ShowSplitWindow(NativeHandle owner, const AnySplit& split, int width, int height);
// Shows the logo, name, version, maker, links and description in a width x
// height window.
void ShowAboutWindow(NativeHandle owner, int width, int height);
// The VLSM planner in a width x height window, its block preset to `block`
// (e.g. "192.168.1.0/24").
void ShowPlannerWindow(NativeHandle owner, const std::string& block, int width, int height);
// The block calculator in a width x height window, its block preset to
// `block` and its facts shown in the font `reportFont` (a font id).
void ShowBlockWindow(NativeHandle owner, int reportFont, const std::string& block, int width,
                     int height);

// The go-to dialog over `owner`: true with the typed index or address when
// the user confirmed, false when cancelled.
bool AskGoToTarget(NativeHandle owner, std::string& typed);
// Writes a whole CSV file; false when a write failed.
using CsvWriter = std::function<bool(std::FILE* file)>;
// Asks for a file (proposing `defaultName`) and saves what `write` writes
// there, never leaving half a file; tells the user when the Save As dialog
// fails or the file could not be written (`contents` names what was lost,
// e.g. "The sub-networks").
void SaveAsCsv(NativeHandle owner, const char* defaultName, const char* contents,
               const CsvWriter& write);
