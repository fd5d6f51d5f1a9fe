// The command line of velkor: what to calculate and what to print.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calc/calculation.hpp"
#include "net/count.hpp"
#include "net/listing.hpp"
#include "net/split.hpp"

// What one run does. Report, List and Find serve the classful plan and, with
// a BLOCK, the equal classless split.
enum class CliAction {
  Report,
  List,
  Find,
  Help,
  Version,
  Facts,
  Vlsm,
  Summarize,
  Common,
  Except,
  Free,
  Next,
  Overlaps
};

// Which sub-networks a listing prints.
enum class RowSelection { All, Page, Span };

struct CliOptions {
  CliAction action = CliAction::Report;
  // What the desktop program's controls would hold: addresses as the address
  // entry prints them, the count as typed.
  CalculationInput calculation;
  RowSelection selection = RowSelection::All;
  // Wide enough for the rows of any split; values beyond 192 bits saturate,
  // so they stay too large and never wrap.
  AddressCount page = 1;       // 1-based
  AddressCount fromIndex = 0;  // first index of a span
  AddressCount rowCount = 0;   // rows of a span; 0 = up to the last index
  ListFormat format = ListFormat::Text;
  // The address --find looks up: read here for a classful plan, as typed for
  // a BLOCK, whose family decides how it reads.
  HostOrderAddress findAddress = 0;
  std::string findText;
  // Classless runs: the BLOCK as typed (empty for a classful plan, or when a
  // plan file names it), how an equal split is sized, the VLSM items or the
  // file that lists them, and the list files ("-" for standard input).
  std::string block;
  SplitBy splitBy = SplitBy::Subnets;
  std::string splitOption;  // "--subnets", "--hosts", "--prefix" or "--mask"
  std::string splitValue;
  std::string vlsmItems;
  std::string inputFile;           // --vlsm-file, --summarize, --overlaps, --free or --used
  std::vector<std::string> lists;  // --common and --except: two or more
  std::string nextPrefix;          // --next as typed: "/24" or "24"; --count gives how many
};

// The options, or the reason the command line is unusable (empty on success).
struct ParsedCommandLine {
  CliOptions options;
  std::string error;
};

// Reads argv[1 .. argc-1]. --help and --version win over everything else that parses.
ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);
