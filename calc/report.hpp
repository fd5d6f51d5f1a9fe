// The texts of the result area.
#pragma once

#include <string>
#include <vector>

#include "calc/address.hpp"
#include "calc/plan.hpp"

// The result area's text before the first calculation.
extern const char* const ReadyText;
// The one line the result area holds after a failed calculation.
extern const char* const FailureText;

// The thirteen report lines of a successful plan; `row` is its class row.
std::vector<std::string> WriteReport(const SubnetPlan& plan, const NetworkClass& row);
// The failure line alone.
std::vector<std::string> WriteFailureReport();
