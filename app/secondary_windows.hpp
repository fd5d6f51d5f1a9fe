// The windows the main window opens, and what they share. Each is modal over
// its owner (app/modal.hpp).
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "app/save_progress.hpp"
#include "app/save_rules.hpp"
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
// Writes a whole CSV file, telling `progress` the rows written now and then
// and stopping when it returns false; false when a write failed or it stopped.
// It runs on a thread of its own (app/save_progress.hpp): it may read only
// what stays unchanged while the save runs.
using CsvWriter = std::function<bool(std::FILE* file, const SaveProgress& progress)>;
// A save as its caller knows it before it starts.
struct CsvSave {
  const char* defaultName;  // proposed in the Save As dialog, e.g. "subnets.csv"
  const char* contents;     // what a failure loses, e.g. "The sub-networks"
  SaveSize size;            // the rows, and at most how many bytes
  CsvWriter write;
};
// Asks for a file and saves what `save` writes there, never leaving half a
// file: refuses a save larger than the disk's free space, asks before a large
// one, shows its progress when it takes long and lets the user cancel it;
// tells the user when the Save As dialog fails or the file could not be
// written.
void SaveAsCsv(NativeHandle owner, const CsvSave& save);
// The same for a table small enough to be made whole first (a plan, a
// summary): `csv` holds its `rows` rows, written out in one piece.
void SaveTextAsCsv(NativeHandle owner, const char* defaultName, const char* contents,
                   SaveCount rows, const std::string& csv);
// Saves a plan file's `text` of `rows` lines to `target`, or, when that is
// empty, to a file the user picks (proposing `defaultName`), as safely as
// SaveAsCsv. Returns the path written; "" when cancelled or not written (told).
std::string SavePlanFile(NativeHandle owner, const std::string& target, const char* defaultName,
                         SaveCount rows, const std::string& text);
// The plan file the user picks in the Open dialog; "" when cancelled (or the
// dialog failed, told).
std::string ChoosePlanFile(NativeHandle owner);

// What a window with unsaved changes does on closing.
enum class SaveChoice { Save, DontSave, Cancel };
// Asks over `owner` whether to save the changes to `what` ("the plan",
// "plan.txt") before closing: Save, Don't save or Cancel (Escape, the close box).
SaveChoice AskToSaveChanges(NativeHandle owner, const std::string& what);
