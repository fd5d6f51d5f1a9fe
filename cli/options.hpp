// The command line of velkor: what to calculate and what to print.
#pragma once

#include <cstdint>
#include <string>

#include "calc/calculation.hpp"
#include "calc/listing.hpp"
#include "calc/split.hpp"

// What one run does. Report, List and Find serve the classful plan and, with
// a BLOCK, the equal classless split.
enum class CliAction { Report, List, Find, Help, Version, Facts, Vlsm, Summarize };

// Which sub-networks a listing prints.
enum class RowSelection { All, Page, Span };

struct CliOptions {
  CliAction action = CliAction::Report;
  // What the desktop program's controls would hold: addresses as the address
  // entry prints them, the count as typed.
  CalculationInput calculation;
  RowSelection selection = RowSelection::All;
  int64_t page = 1;       // 1-based; large values saturate, never wrap
  int64_t fromIndex = 0;  // first index of a span
  int64_t rowCount = -1;  // rows of a span; -1 = up to the last index
  ListFormat format = ListFormat::Text;
  HostOrderAddress findAddress = 0;  // the address --find looks up
  // Classless runs: the BLOCK as typed (empty for a classful plan), how an
  // equal split is sized, the VLSM items or the file that lists them, and the
  // file --summarize reads ("-" for standard input).
  std::string block;
  SplitBy splitBy = SplitBy::Subnets;
  std::string splitOption;  // "--subnets", "--hosts", "--prefix" or "--mask"
  std::string splitValue;
  std::string vlsmItems;
  std::string inputFile;  // --vlsm-file or --summarize
};

// The options, or the reason the command line is unusable (empty on success).
struct ParsedCommandLine {
  CliOptions options;
  std::string error;
};

// Reads argv[1 .. argc-1]. --help and --version win over everything else that parses.
ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);
