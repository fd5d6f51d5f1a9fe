// A table as velkor's TSV writes it, shown by a virtual report list: what a
// window shows, copies and saves is then what velkor writes for the same input.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct TsvTable {
  std::string tsv;                     // a header line, then a line per row
  std::vector<std::size_t> rowStarts;  // where each row after the header starts
  std::vector<std::string> longest;    // the longest cell of each column
};

// Indexes the rows of `tsv`, whose rows have `columns` cells.
TsvTable IndexTsv(std::string tsv, int columns);
int RowCount(const TsvTable& table);
// A cell; "" outside the table.
std::string CellOf(const TsvTable& table, int row, int column);
// Makes each column of the report list `list` as wide as its title (of
// `titles`, one per column of the table) and its longest cell need, and
// shares out the room left. When they do not fit, column `givingWay` narrows
// to what its title needs; with -1 the list scrolls instead.
void FitTableColumns(int list, const TsvTable& table, const char* const titles[], int givingWay);
