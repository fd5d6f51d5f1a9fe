#include "app/tsv_table.hpp"

#include <algorithm>
#include <numeric>
#include <utility>

#include "toolkit/views.hpp"

TsvTable IndexTsv(std::string tsv, int columns) {
  TsvTable table;
  table.tsv = std::move(tsv);
  table.longest.resize(static_cast<std::size_t>(columns));
  const std::string& text = table.tsv;
  std::size_t at = text.find('\n') + 1;
  for (std::size_t column = 0; at < text.size();) {
    if (column == 0) table.rowStarts.push_back(at);
    const std::size_t end = text.find_first_of("\t\n", at);
    if (end == std::string::npos) break;
    if (column < table.longest.size() && end - at > table.longest[column].size()) {
      table.longest[column].assign(text, at, end - at);
    }
    column = text[end] == '\n' ? 0 : column + 1;
    at = end + 1;
  }
  return table;
}

int RowCount(const TsvTable& table) {
  return static_cast<int>(table.rowStarts.size());
}

std::string CellOf(const TsvTable& table, int row, int column) {
  if (row < 0 || row >= RowCount(table)) return std::string();
  const std::string& tsv = table.tsv;
  std::size_t at = table.rowStarts[static_cast<std::size_t>(row)];
  for (int skipped = 0; skipped < column; ++skipped) {
    at = tsv.find_first_of("\t\n", at);
    if (at == std::string::npos || tsv[at] == '\n') return std::string();
    ++at;
  }
  return tsv.substr(at, tsv.find_first_of("\t\n", at) - at);
}

void FitTableColumns(int list, const TsvTable& table, const char* const titles[], int givingWay) {
  const int columns = static_cast<int>(table.longest.size());
  std::vector<int> widths;
  for (int column = 0; column < columns; ++column) {
    widths.push_back(std::max(ControlCellWidth(list, titles[column]),
                              ControlCellWidth(list, table.longest[column].c_str())));
  }
  const int total = std::accumulate(widths.begin(), widths.end(), 0);
  const int room = ControlColumnRoom(list);
  if (total <= room) {
    for (int& width : widths)
      width += (room - total) / columns;
    widths[0] += (room - total) % columns;
  } else if (givingWay >= 0) {
    int& width = widths[static_cast<std::size_t>(givingWay)];
    width = std::max(width - (total - room), ControlCellWidth(list, titles[givingWay]));
  }
  ControlSetColumnWidths(list, widths);
}
