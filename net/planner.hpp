// The VLSM planner's sequences without the window: Plan (the block, then the
// lines, then the allocation, each refused with the message box it shows),
// and opening a plan file.
#pragma once

#include <string>
#include <vector>

#include "base/refusal.hpp"
#include "net/output.hpp"
#include "net/vlsm.hpp"

struct PlannerOutcome {
  // A message box to show, when its title is not empty; nothing else is set then.
  Refusal refusal;
  std::vector<VlsmItem> items;
  AnyVlsmPlan plan;  // of the block's family: each item's block, then the free ones
};

// Reads `blockText` (blanks around it ignored) as a network block of either
// family and `lines` as one "NAME HOSTS" or "NAME /P" a line, and carves the
// block as velkor's --vlsm-file does.
PlannerOutcome RunPlanner(const std::string& blockText, const std::string& lines);

// A plan file as the planner opens it: its block, or `shownBlock` (the
// window's) when it names none, and its lines, planned. A file that is no
// plan, or whose list does not fit, is refused as "plan.txt: line 3: ...",
// named by `fileName`.
struct OpenedPlan {
  PlannerOutcome outcome;
  std::string block;    // what the block field shows
  std::string list;     // and the list field: the lines without the block line
  std::string lineEnd;  // the file's, "\r\n" or "\n", for its next save
};
OpenedPlan OpenPlan(const std::string& fileName, const std::string& text,
                    const std::string& shownBlock);

// The plan's rows as velkor's --vlsm-file prints them in `format`, and the
// number of its columns: IPv4's 8 or IPv6's 6.
std::string PlannerRows(const PlannerOutcome& outcome, ListFormat format);
int PlannerColumns(const PlannerOutcome& outcome);
// The status line below the list (VlsmStatus).
std::string PlannerStatus(const PlannerOutcome& outcome);
