// Where the writers put their text, and the values of the records and tables
// they write, in the four formats: shared by velkor and the desktop program,
// classful and classless alike, so all print the same bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "net/count.hpp"
#include "net/family.hpp"
#include "net/uint128.hpp"

// How a listing, record or table is printed.
enum class ListFormat { Text, Tsv, Csv, Json };

// A file, written in large blocks, or a string the text is appended to.
// Implicit, so a writer can be handed `stdout` or a string alike.
struct TextSink {
  TextSink(std::FILE* target) : file(target) {}     // NOLINT(runtime/explicit)
  TextSink(std::string& target) : text(&target) {}  // NOLINT(runtime/explicit)
  std::FILE* file = nullptr;
  std::string* text = nullptr;
};

enum class CellKind { Number, Ipv4Address, Ipv6Address, Ipv4Block, Ipv6Block, Word, Words, Empty };

// One value of a record or a table row.
struct RecordCell {
  CellKind kind = CellKind::Number;
  AddressCount number;    // a Number, written with all its digits in every format
  Uint128 address;        // an address; a block's network (IPv4 in the low 32 bits)
  int prefix = 0;         // a block's prefix
  const char* word = "";  // a Word: plain text without separators, quotes or line
                          // breaks; Words: such words joined by single blanks
};
RecordCell NumberCell(const AddressCount& number);
RecordCell AddressCell(uint32_t address);
RecordCell AddressCell(const Uint128& address);
RecordCell BlockCell(const Block<Ipv4>& block);
RecordCell BlockCell(const Block<Ipv6>& block);
RecordCell WordCell(const char* word);
// Words: as they are in text, tsv and csv; a json array of strings.
RecordCell WordsCell(const char* words);
// No value: nothing in text, tsv and csv; null in json.
RecordCell EmptyCell();

// Writes one record of `count` named cells: text as "name  value" lines with
// the values in one column, tsv and csv as a header line and one row, json as
// one object on one line (numbers bare, the rest quoted). False when a write
// failed.
bool WriteRecord(const char* const names[], const RecordCell cells[], int count, ListFormat format,
                 TextSink sink);

// The closing line of a block's use in text, without its line feed: "used X
// of Y addresses (Z%)", where the block holds Y = 2^hostBits addresses and Z
// is rounded down (99.9% is 99).
std::string UsedLine(const AddressCount& used, int hostBits);
// The same as a window's status shows it, with the free blocks left: "Used
// 860 of 1,024 addresses (84%), 3 free blocks".
std::string UseStatus(const AddressCount& used, int hostBits, uint64_t freeBlocks);
