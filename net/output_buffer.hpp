// The block buffer behind every writer, and the rows of tables in tsv, csv
// and json. Used by the writers of net/ and calc/ only.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

#include "net/output.hpp"

// Big enough that a listing of millions of rows needs few writes, small
// enough to keep the process's memory flat.
constexpr std::size_t OutputBufferSize = 1 << 18;

// Text collected in a block of the writer's own and handed to the sink when
// full, so memory stays flat however much is written.
struct OutputBuffer {
  explicit OutputBuffer(TextSink target);
  TextSink sink;
  std::unique_ptr<char[]> block;  // each writer its own, on the heap
  char* data;
  std::size_t used = 0;
  bool failed = false;
};

// Hands the text collected so far to the sink.
void FlushOutput(OutputBuffer& out);

// A position with at least `room` bytes free (room <= 4096). Inline: listings
// call it for every row.
inline char* Reserve(OutputBuffer& out, std::size_t room) {
  if (OutputBufferSize - out.used < room) FlushOutput(out);
  return out.data + out.used;
}
// Marks the text up to `end` as written.
inline void Commit(OutputBuffer& out, const char* end) {
  out.used = static_cast<std::size_t>(end - out.data);
}
// Appends a text of any length.
void Put(OutputBuffer& out, const std::string& text);
// Hands the rest to the sink; false when any write failed.
bool Finish(OutputBuffer& out);

// Copies the NUL-terminated `text` to `at`; returns the end.
inline char* Append(char* at, const char* text) {
  const std::size_t length = std::strlen(text);
  std::memcpy(at, text, length);
  return at + length;
}
// The cell's text (an address, a number, a block or the word) at `at`; at
// most CellRoom bytes, a longer word is cut. Returns the end. Words cells and
// the json forms of cells go through PutCell. The longest word written is a
// list entry: a range of two IPv6 addresses of 45 bytes each
// ("0000:0000:0000:0000:0000:ffff:255.255.255.255"), 91 bytes.
constexpr std::size_t CellRoom = 96;
char* WriteCell(char* at, const RecordCell& cell);
// The cell as `format` writes it: quoted in json unless a number, Words as a
// json array, an Empty cell as json's null; any length.
void PutCell(OutputBuffer& out, const RecordCell& cell, ListFormat format);

// A table of `count` named columns in tsv, csv or json; text tables are each
// writer's own. The header (tsv, csv) or the opening bracket (json):
void BeginTable(OutputBuffer& out, const char* const names[], int count, ListFormat format);
// One row; `firstRow` for the first, which json writes without a comma.
void TableRow(OutputBuffer& out, const char* const names[], const RecordCell cells[], int count,
              ListFormat format, bool firstRow);
// The closing bracket of json; `anyRow` when a row was written.
void EndTable(OutputBuffer& out, ListFormat format, bool anyRow);
