#include "calc/enumeration.hpp"

#include "base/text.hpp"

int32_t PageCount(int64_t lastIndex, int64_t pageSize) {
  const int64_t size = pageSize < 1 ? 1 : pageSize;
  const int64_t pages = (lastIndex + size - 1) / size;
  if (pages > INT32_MAX) return INT32_MAX;
  return pages < 1 ? 1 : static_cast<int32_t>(pages);
}

void PageRange(int64_t lastIndex, int64_t pageSize, int64_t page, IndexRange& range) {
  const int64_t size = pageSize < 1 ? 1 : pageSize;
  const int64_t pages = PageCount(lastIndex, pageSize);
  // Clamped so a stray page number still yields indexes inside 0 .. lastIndex.
  const int64_t shown = page < 1 ? 1 : (page > pages ? pages : page);
  // The first page holds one row more: index 0 plus a full page.
  const int64_t first = shown == 1 ? 0 : (shown - 1) * size + 1;
  const int64_t last = shown * size;
  range.first = first;
  range.last = last > lastIndex ? lastIndex : last;
}

int64_t PageOfIndex(int64_t index, int64_t pageSize) {
  const int64_t size = pageSize < 1 ? 1 : pageSize;
  // Page p > 1 holds (p - 1) * size + 1 .. p * size, page 1 also index 0.
  return index <= 0 ? 1 : (index + size - 1) / size;
}

std::array<std::string, 5> RowTexts(const SubnetEntry& entry) {
  return {FormatInteger(entry.index), entry.networkText, entry.firstText, entry.lastText,
          entry.broadcastText};
}

std::string RowText(const SubnetEntry& entry) {
  const std::array<std::string, 5> texts = RowTexts(entry);
  std::string row = texts[0];
  for (std::size_t column = 1; column < texts.size(); ++column)
    row += "\n" + texts[column];
  return row;
}
