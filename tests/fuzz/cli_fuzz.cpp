// Fuzzes the command line of velkor: the input's NUL-separated pieces are the
// arguments. A command line that parses is calculated, and a listing of at most
// MaxRows rows of its selection is written into memory and counted.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "calc/calculation.hpp"
#include "calc/enumeration.hpp"
#include "cli/listing.hpp"
#include "cli/options.hpp"
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

// What a parsed command line promises the calculation and the listing.
void CheckOptions(const CliOptions& options) {
  if (options.action == CliAction::Help || options.action == CliAction::Version) return;
  FUZZ_CHECK(options.classIndex >= 0 && options.classIndex < ClassCount);
  FUZZ_CHECK(options.method >= 0 && options.method < MethodCount);
  FUZZ_CHECK(MatchesDottedQuad(options.networkText));
  FUZZ_CHECK(FormatAddress(PackDottedText(options.networkText)) == options.networkText);
  if (options.method == FromMaskMethod) {
    FUZZ_CHECK(FormatAddress(PackDottedText(options.maskText)) == options.maskText);
  }
  FUZZ_CHECK(options.page >= 1 && options.fromIndex >= 0);
  FUZZ_CHECK(options.rowCount == -1 || options.rowCount >= 1);
}

// The rows of the selection, cut to MaxRows.
ListingRange SelectedRows(const CliOptions& options, const SubnetPlan& plan) {
  ListingRange range;
  range.network = plan.network;
  range.blockSize = plan.StepSize();
  const int32_t lastIndex = plan.TotalSubnets() - 1;
  range.last = lastIndex;
  if (options.selection == RowSelection::Page) {
    IndexRange page;
    PageRange(lastIndex, SubnetPageSize,
              static_cast<int32_t>(std::min<int64_t>(options.page, lastIndex + 1)), page);
    range.first = page.first;
    range.last = page.last;
  } else if (options.selection == RowSelection::Span) {
    range.first = static_cast<int32_t>(std::min<int64_t>(options.fromIndex, lastIndex));
  }
  range.last = std::min(range.last, range.first + MaxRows - 1);
  return range;
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
  const int64_t rows = int64_t{range.last} - range.first + 1;
  const int64_t framing = format == ListFormat::Text ? 0 : (format == ListFormat::Json ? 2 : 1);
  FUZZ_CHECK(std::count(written.begin(), written.end(), '\n') == rows + framing);
  FUZZ_CHECK(!written.empty() && written.back() == '\n');
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
  if (options.action != CliAction::Report && options.action != CliAction::List) return 0;

  CalculationInput input;
  input.classIndex = options.classIndex;
  input.method = options.method;
  input.networkText = options.networkText;
  input.countText = options.countText;
  input.maskText = options.maskText;
  SubnetPlan* plan = CreateSubnetPlan();
  const CalculationOutcome outcome = RunCalculationSteps(*plan, input);
  FUZZ_CHECK(outcome.success == outcome.title.empty());
  if (outcome.success && options.action == CliAction::List) {
    CheckListing(SelectedRows(options, *plan), options.format);
  }
  plan->Release();
  return 0;
}
