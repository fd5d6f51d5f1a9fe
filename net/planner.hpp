// The VLSM planner's Plan sequence without the window: the block, then the
// lines, then the allocation, each refused with the message box it shows.
#pragma once

#include <string>
#include <vector>

#include "base/refusal.hpp"
#include "net/vlsm.hpp"

struct PlannerOutcome {
  // A message box to show, when its title is not empty; nothing else is set then.
  Refusal refusal;
  std::vector<VlsmItem> items;
  VlsmPlan plan;
};

// Reads `blockText` (blanks around it ignored) as a network block and `lines`
// as one "NAME HOSTS" or "NAME /P" a line, and carves the block as velkor's
// --vlsm-file does.
PlannerOutcome RunPlanner(const std::string& blockText, const std::string& lines);
