// velkor's runs over address lists: summaries, what lists share, what one
// leaves of the others, the free space of a BLOCK and its next free blocks,
// and the overlaps within a list.
#pragma once

#include "cli/options.hpp"
#include "net/family.hpp"

// Each returns the exit status (cli/status.hpp).
int SummarizeList(const CliOptions& options);
int CommonOfLists(const CliOptions& options);
int ListExcept(const CliOptions& options);
// ExitOverlaps when any two entries overlap.
int OverlapsInList(const CliOptions& options);
template <class F>
int FreeSpaceOf(const CliOptions& options, const Block<F>& block);
template <class F>
int NextFreeBlocks(const CliOptions& options, const Block<F>& block);
