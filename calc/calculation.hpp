// The Calculate sequence without the windows: checks in their fixed order,
// the message a rejected input shows, and the method that runs.
#pragma once

#include <string>
#include <vector>

#include "calc/plan.hpp"
#include "base/refusal.hpp"

// What the user entered, as the main window reads it.
struct CalculationInput {
  int classIndex = 0;       // selection of the class list
  int method = 0;           // CalculationMethod
  std::string networkText;  // dotted network address
  std::string countText;    // typed number of hosts or subnets (methods 0, 1)
  std::string maskText;     // dotted mask (method 2)
};

struct CalculationOutcome {
  // The network address was refused: nothing else may change (the plan, the
  // result area and the "Show networks" button keep their state).
  bool networkRejected = false;
  // A message box to show, when its title is not empty.
  Refusal refusal;
  // A plan was stored; otherwise the result area gets the failure line.
  bool success = false;
  // The lines for the result area (empty when networkRejected).
  std::vector<std::string> reportLines;
};

// The largest count that may be typed for the class: ceil(maxCount / 4).
int32_t CountLimit(int classIndex);

// Runs the checks and the method on `plan`, in the main window's order.
CalculationOutcome RunCalculationSteps(SubnetPlan& plan, const CalculationInput& input);
