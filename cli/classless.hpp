// velkor's classless runs: the facts of a block, equal splits, VLSM and
// summaries.
#pragma once

#include "cli/options.hpp"

// Runs a Facts, Vlsm or Summarize action, or Report, List or Find of a BLOCK;
// returns the exit status (cli/status.hpp).
int RunClassless(const CliOptions& options);
