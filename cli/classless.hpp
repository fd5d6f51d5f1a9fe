// velkor's classless runs: the facts of a block, equal splits, VLSM, and the
// runs over address lists (cli/lists.hpp).
#pragma once

#include "cli/options.hpp"

// Runs a classless action, or Report, List or Find of a BLOCK;
// returns the exit status (cli/status.hpp).
int RunClassless(const CliOptions& options);
