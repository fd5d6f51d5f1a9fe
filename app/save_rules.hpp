// The rules and texts that every save of the program shares, whatever it
// writes: when a save goes ahead, asks first or is refused, and how its
// progress reads. Portable: no platform header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "net/count.hpp"

// Rows and bytes of a whole save: wide enough for every row of an IPv6 split,
// 2^128 of them, and for the bytes they would take.
using SaveCount = AddressCount;

// What a save will write, as its caller knows it before writing.
struct SaveSize {
  SaveCount rows = 0;
  SaveCount bytes = 0;  // at most
};

// Saves above this are confirmed first: about 1 GB.
constexpr uint64_t LargeSaveBytes = 1000000000;

enum class SaveVerdict { Write, Ask, NoRoom };
// Refused when it needs more than `freeBytes` (none: the disk did not say),
// asked about when it is large, else written at once.
SaveVerdict JudgeSave(const SaveSize& size, std::optional<SaveCount> freeBytes);

// "1 row", "8,388,608 rows".
std::string RowsText(SaveCount rows);
// The question before a large save, and the refusal of one that does not fit
// in the `freeBytes` of the disk of `target`.
std::string LargeSaveQuestion(const SaveSize& size);
std::string NoRoomText(const SaveSize& size, SaveCount freeBytes, const std::string& target);

// The progress of a save of `rows` rows that has written `written`: the
// heading, the count, and the part done in `steps` (0 .. steps). Rows written
// are bounded by the disk, so 64 bits hold them whatever the total's width.
std::string SavingText(SaveCount rows);
std::string WrittenText(uint64_t written, SaveCount rows);
int PartDone(uint64_t written, SaveCount rows, int steps);
