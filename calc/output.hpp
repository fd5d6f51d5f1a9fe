// Where the calculator's writers put their text, and the values of the
// records and tables they write: shared by velkor and the desktop program, so
// both print the same bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "calc/address.hpp"

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

enum class CellKind { Number, Address, Block, Word };

// One value of a record or a table row.
struct RecordCell {
  CellKind kind = CellKind::Number;
  uint64_t number = 0;           // a Number; the prefix of a Block
  HostOrderAddress address = 0;  // an Address; the network of a Block ("a.b.c.d/n")
  const char* word = "";         // a Word: plain text without separators, quotes or line breaks
};
RecordCell NumberCell(uint64_t number);
RecordCell AddressCell(HostOrderAddress address);
RecordCell BlockCell(HostOrderAddress network, int prefix);
RecordCell WordCell(const char* word);

// Writes one record of `count` named cells: text as "name  value" lines with
// the values in one column, tsv and csv as a header line and one row, json as
// one object on one line (numbers bare, the rest quoted). False when a write
// failed.
bool WriteRecord(const char* const names[], const RecordCell cells[], int count, ListFormat format,
                 TextSink sink);
