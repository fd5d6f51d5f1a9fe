// Plan files: velkor's VLSM lines ("NAME HOSTS" or "NAME /P", "#" comments)
// with an optional line "block BLOCK" before them, so a plan made in the
// planner window goes into a script and back. UTF-8, either line end.
#pragma once

#include <cstdint>
#include <string>

#include "net/family.hpp"

struct PlanFile {
  bool named = false;  // the file has a block line
  std::string block;   // the block as written there
  AnyBlock network;    // and as read
  int64_t blockLine = 0;
  std::string lines;  // the VLSM lines, the block line blanked, so lines keep their numbers
  std::string list;   // the same without the block line, as the planner's list shows it
};

// Splits a plan file's text. Its block line is the first line that is not
// blank or a comment, when that reads "block" and then a network (an item
// named "block" has a size there instead). A UTF-8 byte-order mark at the
// start is skipped. Returns the empty text, or the refusal of the block line
// ("line 1: 'block 10.0.0.300/24': not an IPv4 address").
std::string SplitPlanFile(const std::string& text, PlanFile& plan);

// The text of a plan file: "block BLOCK", then the lines as they are, each
// ending in the line end they use.
std::string PlanFileText(const std::string& block, const std::string& lines);

// The line end of a text: "\r\n" when its first line ends so, else "\n".
std::string LineEndOf(const std::string& text);
// The text with every line end (CR LF, a lone CR or LF) made `lineEnd`.
std::string WithLineEnds(const std::string& text, const std::string& lineEnd);
