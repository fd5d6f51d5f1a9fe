// Object ids shared by every kind of toolkit object (windows, controls, fonts,
// images, patterns, popup menus). Portable: no platform header.
#pragma once

#include <cstddef>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

// Passed instead of an explicit id to have the toolkit allocate one.
constexpr int AutoId = -1;
// Explicit ids are 0 .. MaxExplicitId; allocated ids start above that range,
// so an allocated id never equals an explicit one and is never 0.
constexpr int MaxExplicitId = 0xFFFF;
constexpr int FirstAllocatedId = MaxExplicitId + 1;

template <typename Record>
class IdTable;

// Kinds whose create call answers with the new id (fonts, images, popup menus,
// patterns) cannot take 0, their failure result, as an explicit id. Windows and
// controls answer an explicit id with the native handle and keep id 0.
template <typename Record>
bool FreeForIdResult(const IdTable<Record>& table, int requested) {
  return requested != 0 && table.Free(requested);
}
// Stores `record` for such a create call: the new id, or 0 when the id is
// refused (the record is then dropped).
template <typename Record>
int AddForIdResult(IdTable<Record>& table, int requested, Record record) {
  if (requested == 0) return 0;
  const int id = table.Add(requested, std::move(record));
  return id == IdTable<Record>::NoId ? 0 : id;
}

// Owns the records of one object kind, keyed by id. Records are values; a
// record's destructor releases what it owns (see the holders at the Win32
// boundary). Not thread-safe: the toolkit uses each table from the UI thread.
template <typename Record>
class IdTable {
 public:
  // Stores `record` under `requested` (a free explicit id) or under a newly
  // allocated id (AutoId). Returns the id, or -2 when `requested` is out of
  // range or already names a live object; `record` is then dropped.
  int Add(int requested, Record record) {
    int id = requested;
    if (requested == AutoId) {
      while (records_.count(next_) != 0)
        Advance();
      id = next_;
      Advance();
    } else if (requested < 0 || requested > MaxExplicitId || records_.count(requested) != 0) {
      return NoId;
    }
    records_.emplace(id, std::move(record));
    return id;
  }

  // The live record of `id`, or null.
  Record* Find(int id) {
    auto it = records_.find(id);
    return it == records_.end() ? nullptr : &it->second;
  }
  const Record* Find(int id) const {
    auto it = records_.find(id);
    return it == records_.end() ? nullptr : &it->second;
  }

  // Destroys the record of `id`. Returns false when `id` names none.
  bool Remove(int id) { return records_.erase(id) != 0; }

  // The live ids in ascending order (a copy, so callers may remove while iterating).
  std::vector<int> Ids() const {
    std::vector<int> ids;
    ids.reserve(records_.size());
    for (const auto& entry : records_)
      ids.push_back(entry.first);
    return ids;
  }

  // Destroys every record, highest id first (newest allocations first).
  void Clear() {
    while (!records_.empty())
      records_.erase(std::prev(records_.end()));
  }

  std::size_t Size() const { return records_.size(); }

  static constexpr int NoId = -2;
  // Whether `requested` (AutoId or an explicit id) could name a new record.
  bool Free(int requested) const {
    return requested == AutoId ||
           (requested >= 0 && requested <= MaxExplicitId && Find(requested) == nullptr);
  }

 private:
  // Allocated ids grow and wrap within the allocated range, skipping live ones,
  // so a released id is not handed out again soon.
  void Advance() { next_ = next_ == 0x7FFFFFFF ? FirstAllocatedId : next_ + 1; }

  std::map<int, Record> records_;
  int next_ = FirstAllocatedId;
};
