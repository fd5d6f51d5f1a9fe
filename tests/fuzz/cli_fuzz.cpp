// Fuzzes the command line of velkor: the input's NUL-separated pieces are the
// arguments. A command line that parses is calculated, and a listing of at most
// MaxRows rows of its selection is written into memory and counted.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "calc/calculation.hpp"
#include "calc/enumeration.hpp"
#include "calc/listing.hpp"
#include "cli/options.hpp"
#include "cli/selection.hpp"
#include "tests/fuzz/fuzz_check.hpp"

namespace {

// Enough rows to cross a page; few enough to keep every run fast.
constexpr int32_t MaxRows = 64;

std::vector<std::string> Arguments(const std::string& input) {
  std::vector<std::string> arguments = {"velkor"};
  std::size_t start = 0;
  while (start < input.size()) {
    const std::size_t end = std::min(input.find('\0', start), input.size());
    arguments.push_back(input.substr(start, end - start));
    start = end + 1;
  }
  return arguments;
}

// The runs over lists that take no BLOCK.
constexpr CliAction ListRuns[] = {CliAction::Summarize, CliAction::Common, CliAction::Except,
                                  CliAction::Overlaps};
bool IsListRun(CliAction action) {
  return std::find(std::begin(ListRuns), std::end(ListRuns), action) != std::end(ListRuns);
}

// Runs with a BLOCK, VLSM runs (a plan file may name the block) and runs over
// lists; the classless and sets harnesses fuzz their readers.
bool IsClassless(const CliOptions& options) {
  return !options.block.empty() || options.action == CliAction::Vlsm || IsListRun(options.action);
}

// What a parsed command line promises the calculation and the listing.
void CheckOptions(const CliOptions& options) {
  if (options.action == CliAction::Help || options.action == CliAction::Version) return;
  if (IsClassless(options)) {
    // A BLOCK run keeps its operand for the block reader (a plan file may give
    // it instead); a list run names files, two or more for --common and --except.
    FUZZ_CHECK(options.block.empty() == IsListRun(options.action) ||
               (options.action == CliAction::Vlsm && !options.inputFile.empty()));
    const bool several = options.action == CliAction::Common || options.action == CliAction::Except;
    FUZZ_CHECK(several == (options.lists.size() >= 2));
    return;
  }
  FUZZ_CHECK(options.calculation.classIndex >= 0 && options.calculation.classIndex < ClassCount);
  FUZZ_CHECK(options.calculation.method >= 0 && options.calculation.method < MethodCount);
  FUZZ_CHECK(MatchesDottedQuad(options.calculation.networkText));
  FUZZ_CHECK(FormatAddress(PackDottedText(options.calculation.networkText)) ==
             options.calculation.networkText);
  if (options.calculation.method == FromMaskMethod) {
    FUZZ_CHECK(FormatAddress(PackDottedText(options.calculation.maskText)) ==
               options.calculation.maskText);
  }
  FUZZ_CHECK(options.page >= AddressCount(1));
  FUZZ_CHECK(options.selection == RowSelection::Span || options.rowCount == AddressCount());
}

// One line per row, plus the header of tsv and csv or the brackets of json.
void CheckListing(const ListingRange& range, ListFormat format) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* file = open_memstream(&text, &size);
  FUZZ_CHECK(file != nullptr);
  FUZZ_CHECK(WriteListing(range, format, file));
  std::fclose(file);
  const std::string written(text, size);
  std::free(text);
  const int64_t rows = static_cast<int64_t>(range.last - range.first) + 1;
  const int64_t framing = format == ListFormat::Text ? 0 : (format == ListFormat::Json ? 2 : 1);
  FUZZ_CHECK(std::count(written.begin(), written.end(), '\n') == rows + framing);
  FUZZ_CHECK(!written.empty() && written.back() == '\n');
}

// The selected rows exist and lie inside the plan, or the selection is refused
// with a reason; a listing of (at most MaxRows of) them is well formed.
void CheckSelection(const CliOptions& options, const SubnetPlan& plan) {
  ListingRange range = WholePlan(plan);
  std::string problem;
  const uint64_t lastIndex = range.last;
  if (!SelectRows(options, lastIndex, range, problem)) {
    FUZZ_CHECK(!problem.empty());
    FUZZ_CHECK(options.selection != RowSelection::All);
    return;
  }
  FUZZ_CHECK(range.first <= range.last && range.last <= lastIndex);
  if (options.selection == RowSelection::All)
    FUZZ_CHECK(range.first == 0 && range.last == lastIndex);
  if (options.selection == RowSelection::Span)
    FUZZ_CHECK(AddressCount(range.first) == options.fromIndex);
  range.last = std::min<uint64_t>(range.last, range.first + MaxRows - 1);
  CheckListing(range, options.format);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::vector<std::string> arguments =
      Arguments(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<const char*> argv;
  for (const std::string& argument : arguments)
    argv.push_back(argument.c_str());
  argv.push_back(nullptr);
  const ParsedCommandLine parsed =
      ParseCommandLine(static_cast<int>(arguments.size()), argv.data());
  if (!parsed.error.empty()) return 0;
  const CliOptions& options = parsed.options;
  CheckOptions(options);
  if (IsClassless(options)) return 0;
  if (options.action != CliAction::Report && options.action != CliAction::List) return 0;

  SubnetPlan* plan = CreateSubnetPlan();
  const CalculationOutcome outcome = RunCalculationSteps(*plan, options.calculation);
  FUZZ_CHECK(outcome.success == outcome.refusal.title.empty());
  if (outcome.success && options.action == CliAction::List) CheckSelection(options, *plan);
  plan->Release();
  return 0;
}
