#include "cli/options.hpp"

#include <cstddef>

#include "calc/address.hpp"
#include "calc/calculation.hpp"
#include "net/decimal.hpp"

namespace {

enum class OptionId {
  Class,
  Network,
  Hosts,
  Subnets,
  Mask,
  List,
  All,
  Page,
  From,
  Count,
  Format,
  Find,
  Prefix,
  Vlsm,
  VlsmFile,
  Summarize,
  Common,
  Except,
  Free,
  Next,
  Used,
  Overlaps,
  Help,
  Version
};

struct OptionRule {
  const char* name;
  bool takesValue;
  OptionId id;
};

constexpr OptionRule OptionTable[] = {
    {"--class", true, OptionId::Class},
    {"--network", true, OptionId::Network},
    {"--hosts", true, OptionId::Hosts},
    {"--subnets", true, OptionId::Subnets},
    {"--mask", true, OptionId::Mask},
    {"--list", false, OptionId::List},
    {"--all", false, OptionId::All},
    {"--page", true, OptionId::Page},
    {"--from", true, OptionId::From},
    {"--count", true, OptionId::Count},
    {"--format", true, OptionId::Format},
    {"--find", true, OptionId::Find},
    {"--help", false, OptionId::Help},
    {"-h", false, OptionId::Help},
    {"--version", false, OptionId::Version},
    {"--prefix", true, OptionId::Prefix},
    {"--vlsm", true, OptionId::Vlsm},
    {"--vlsm-file", true, OptionId::VlsmFile},
    {"--summarize", false, OptionId::Summarize},
    {"--common", false, OptionId::Common},
    {"--except", false, OptionId::Except},
    {"--free", true, OptionId::Free},
    {"--next", true, OptionId::Next},
    {"--used", true, OptionId::Used},
    {"--overlaps", false, OptionId::Overlaps},
};
constexpr std::size_t OptionKinds = static_cast<std::size_t>(OptionId::Version) + 1;

// What a command line calculates; each option belongs to some of these.
enum Mode : unsigned {
  Classful = 1,
  Facts = 2,
  Split = 4,
  VlsmPlan = 8,
  Summary = 16,
  CommonLists = 32,
  ListExcept = 64,
  FreeSpace = 128,
  NextFree = 256,
  ListOverlaps = 512,
  AnyMode = 1023
};

struct ModeRule {
  OptionId id;
  unsigned modes;
};
constexpr unsigned Listing = Classful | Split;
constexpr ModeRule ModeTable[] = {
    {OptionId::Class, Classful},
    {OptionId::Network, Classful},
    {OptionId::Hosts, Listing},
    {OptionId::Subnets, Listing},
    {OptionId::Mask, Listing},
    {OptionId::Prefix, Split},
    {OptionId::List, Listing},
    {OptionId::All, Listing},
    {OptionId::Page, Listing},
    {OptionId::From, Listing},
    {OptionId::Count, Listing | NextFree},
    {OptionId::Find, Listing},
    {OptionId::Format, AnyMode},
    {OptionId::Vlsm, VlsmPlan},
    {OptionId::VlsmFile, VlsmPlan},
    {OptionId::Summarize, Summary},
    {OptionId::Common, CommonLists},
    {OptionId::Except, ListExcept},
    {OptionId::Free, FreeSpace},
    {OptionId::Next, NextFree},
    {OptionId::Used, NextFree},
    {OptionId::Overlaps, ListOverlaps},
    {OptionId::Help, AnyMode},
    {OptionId::Version, AnyMode},
};
static_assert(sizeof ModeTable / sizeof ModeTable[0] == OptionKinds, "one rule per option");

// Each mode's name in messages, and how many operands (a BLOCK or list
// files) it takes, with the message for too few.
constexpr std::size_t AnyNumber = ~std::size_t{0};
struct ModeName {
  Mode mode;
  const char* text;
  std::size_t leastOperands;
  std::size_t mostOperands;
  const char* tooFew;
};
constexpr ModeName ModeNames[] = {
    {Classful, "a classful plan", 0, 0, ""},
    {Facts, "the facts of a BLOCK", 1, 1, ""},
    {Split, "an equal split of a BLOCK", 1, 1, ""},
    {VlsmPlan, "--vlsm", 0, 1, ""},  // a plan file may name its block
    {Summary, "--summarize", 0, 1, ""},
    {CommonLists, "--common", 2, AnyNumber, "--common needs two lists or more"},
    {ListExcept, "--except", 2, AnyNumber, "--except needs two lists or more"},
    {FreeSpace, "--free", 1, 1, "--free needs a BLOCK"},
    {NextFree, "--next", 1, 1, "--next needs a BLOCK"},
    {ListOverlaps, "--overlaps", 0, 1, ""},
};

// The options that size an equal split, in the order the messages name them.
struct SplitRule {
  OptionId id;
  SplitBy by;
};
constexpr SplitRule SplitRules[] = {
    {OptionId::Hosts, SplitBy::Hosts},
    {OptionId::Subnets, SplitBy::Subnets},
    {OptionId::Prefix, SplitBy::Prefix},
    {OptionId::Mask, SplitBy::Mask},
};

// Class letters in class-table order.
constexpr char ClassLetters[ClassCount] = {'C', 'B', 'A'};

struct FormatName {
  const char* name;
  ListFormat format;
};
constexpr FormatName FormatNames[] = {
    {"text", ListFormat::Text},
    {"tsv", ListFormat::Tsv},
    {"csv", ListFormat::Csv},
    {"json", ListFormat::Json},
};

const char* OptionName(OptionId id) {
  for (const OptionRule& rule : OptionTable) {
    if (rule.id == id) return rule.name;
  }
  return "";
}

const OptionRule* FindOption(const std::string& name) {
  for (const OptionRule& rule : OptionTable) {
    if (name == rule.name) return &rule;
  }
  return nullptr;
}

bool ReadClass(const std::string& text, int& classIndex) {
  if (text.size() != 1) return false;
  const char letter = static_cast<char>(text[0] & ~0x20);  // upper case
  for (int index = 0; index < ClassCount; ++index) {
    if (letter == ClassLetters[index]) {
      classIndex = index;
      return true;
    }
  }
  return false;
}

bool ReadFormat(const std::string& text, ListFormat& format) {
  for (const FormatName& entry : FormatNames) {
    if (text == entry.name) {
      format = entry.format;
      return true;
    }
  }
  return false;
}

// Collects the raw option values, then checks how they combine.
struct RawOptions {
  bool seen[OptionKinds] = {};
  std::string value[OptionKinds];
  std::vector<std::string> operands;  // the arguments that are no option: a BLOCK or files
};

bool Seen(const RawOptions& raw, OptionId id) {
  return raw.seen[static_cast<std::size_t>(id)];
}
const std::string& Value(const RawOptions& raw, OptionId id) {
  return raw.value[static_cast<std::size_t>(id)];
}

std::string CollectOptions(int argc, const char* const* argv, RawOptions& raw) {
  for (int at = 1; at < argc; ++at) {
    const std::string argument = argv[at];
    // An empty argument names nothing, so it is no operand either.
    if (argument.empty()) continue;
    if (argument == "-" || argument[0] != '-') {
      raw.operands.push_back(argument);
      continue;
    }
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const OptionRule* rule = FindOption(name);
    if (rule == nullptr) return "unknown option '" + argument + "'";
    const std::size_t slot = static_cast<std::size_t>(rule->id);
    if (raw.seen[slot]) return std::string(rule->name) + " is given more than once";
    raw.seen[slot] = true;
    if (!rule->takesValue) {
      if (equals != std::string::npos) return std::string(rule->name) + " takes no value";
      continue;
    }
    if (equals != std::string::npos) {
      raw.value[slot] = argument.substr(equals + 1);
    } else if (at + 1 < argc) {
      raw.value[slot] = argv[++at];
    } else {
      return std::string(rule->name) + " needs a value";
    }
  }
  return std::string();
}

// Reads "a.b.c.d" (four groups of 1 to 3 digits, each 0 to 255) into the text
// the desktop program's address entry would print for it, so "010.0.0.0"
// reaches the checks as "10.0.0.0".
bool ReadAddressOption(const std::string& text, std::string& dottedText) {
  HostOrderAddress address = 0;
  if (!ReadDottedAddress(text, address)) return false;
  dottedText = FormatAddress(address);
  return true;
}

std::string ReadCalculation(const RawOptions& raw, CalculationInput& input) {
  if (Seen(raw, OptionId::Class) && !ReadClass(Value(raw, OptionId::Class), input.classIndex)) {
    return "--class must be A, B or C, not '" + Value(raw, OptionId::Class) + "'";
  }
  input.networkText = Ipv4Text(ExampleNetwork(input.classIndex));
  if (Seen(raw, OptionId::Network) &&
      !ReadAddressOption(Value(raw, OptionId::Network), input.networkText)) {
    return "--network must be a dotted IPv4 address (four numbers 0 to 255), not '" +
           Value(raw, OptionId::Network) + "'";
  }
  const int methods =
      Seen(raw, OptionId::Hosts) + Seen(raw, OptionId::Subnets) + Seen(raw, OptionId::Mask);
  if (methods != 1) return "give exactly one of --hosts, --subnets and --mask";
  if (Seen(raw, OptionId::Mask)) {
    input.method = FromMaskMethod;
    if (!ReadAddressOption(Value(raw, OptionId::Mask), input.maskText)) {
      return "--mask must be a dotted IPv4 address (four numbers 0 to 255), not '" +
             Value(raw, OptionId::Mask) + "'";
    }
    return std::string();
  }
  // The count goes on as typed: the calculation range-checks its full value.
  input.method = Seen(raw, OptionId::Hosts) ? FromHostsMethod : FromSubnetsMethod;
  input.countText =
      Value(raw, input.method == FromHostsMethod ? OptionId::Hosts : OptionId::Subnets);
  return std::string();
}

std::string ReadPositive(const RawOptions& raw, OptionId id, const char* name,
                         AddressCount& value) {
  if (!ReadDecimal(Value(raw, id), value) || value < AddressCount(1)) {
    return std::string(name) + " must be a whole number of at least 1, not '" + Value(raw, id) +
           "'";
  }
  return std::string();
}

std::string ReadFormatOption(const RawOptions& raw, CliOptions& options) {
  if (Seen(raw, OptionId::Format) && !ReadFormat(Value(raw, OptionId::Format), options.format)) {
    return "--format must be text, tsv, csv or json, not '" + Value(raw, OptionId::Format) + "'";
  }
  return std::string();
}

std::string ReadFind(const RawOptions& raw, CliOptions& options) {
  if (Seen(raw, OptionId::List)) return "choose one of --list and --find";
  options.action = CliAction::Find;
  options.findText = Value(raw, OptionId::Find);
  // A BLOCK's run reads the address in the block's family and refuses it there.
  if (raw.operands.empty() && !ReadDottedAddress(options.findText, options.findAddress)) {
    return "--find must be a dotted IPv4 address (four numbers 0 to 255), not '" +
           Value(raw, OptionId::Find) + "'";
  }
  return ReadFormatOption(raw, options);
}

// `reportFormats`: the report has formats too (a classless split's does).
std::string ReadListing(const RawOptions& raw, CliOptions& options, bool reportFormats) {
  const bool page = Seen(raw, OptionId::Page);
  const bool span = Seen(raw, OptionId::From) || Seen(raw, OptionId::Count);
  const bool all = Seen(raw, OptionId::All);
  if (Seen(raw, OptionId::Find) && !(page || span || all)) return ReadFind(raw, options);
  if (!Seen(raw, OptionId::List)) {
    if (page || span || all || (Seen(raw, OptionId::Format) && !reportFormats)) {
      return "--all, --page, --from and --count need --list; --format needs --list or --find";
    }
    return ReadFormatOption(raw, options);
  }
  options.action = CliAction::List;
  if (page + span + all > 1) return "choose one of --all, --page and --from/--count";
  if (Seen(raw, OptionId::Find)) return "choose one of --list and --find";
  const std::string formatProblem = ReadFormatOption(raw, options);
  if (!formatProblem.empty()) return formatProblem;
  if (page) {
    options.selection = RowSelection::Page;
    return ReadPositive(raw, OptionId::Page, "--page", options.page);
  }
  if (!span) return std::string();
  options.selection = RowSelection::Span;
  if (Seen(raw, OptionId::From) && !ReadDecimal(Value(raw, OptionId::From), options.fromIndex)) {
    return "--from must be a whole number, not '" + Value(raw, OptionId::From) + "'";
  }
  if (!Seen(raw, OptionId::Count)) return std::string();
  return ReadPositive(raw, OptionId::Count, "--count", options.rowCount);
}

// The options that choose a mode whatever the operands are, in the order
// they win.
struct ListModeRule {
  OptionId id;
  Mode mode;
};
constexpr ListModeRule ListModes[] = {
    {OptionId::Summarize, Summary}, {OptionId::Common, CommonLists},
    {OptionId::Except, ListExcept}, {OptionId::Overlaps, ListOverlaps},
    {OptionId::Free, FreeSpace},    {OptionId::Next, NextFree},
};

Mode ModeOf(const RawOptions& raw) {
  for (const ListModeRule& rule : ListModes) {
    if (Seen(raw, rule.id)) return rule.mode;
  }
  if (Seen(raw, OptionId::Vlsm) || Seen(raw, OptionId::VlsmFile)) return VlsmPlan;
  if (raw.operands.empty()) return Classful;
  for (const SplitRule& rule : SplitRules) {
    if (Seen(raw, rule.id)) return Split;
  }
  return Facts;
}

const ModeName& NameOf(Mode mode) {
  for (const ModeName& name : ModeNames) {
    if (name.mode == mode) return name;
  }
  return ModeNames[0];
}

// Every option given belongs to the mode, and so does the number of
// operands. An operand is a list file or else a BLOCK, whatever it looks
// like: a BLOCK that is not one is refused by the run, with its reason.
std::string CheckMode(const RawOptions& raw, Mode mode) {
  const ModeName& name = NameOf(mode);
  for (const ModeRule& rule : ModeTable) {
    if (Seen(raw, rule.id) && (rule.modes & mode) == 0) {
      return std::string(OptionName(rule.id)) + " does not go with " + name.text;
    }
  }
  if (raw.operands.size() > name.mostOperands) {
    return "unexpected argument '" + raw.operands[name.mostOperands] + "'";
  }
  return raw.operands.size() < name.leastOperands ? name.tooFew : std::string();
}

std::string ReadSplit(const RawOptions& raw, CliOptions& options) {
  int sizes = 0;
  for (const SplitRule& rule : SplitRules) {
    if (!Seen(raw, rule.id)) continue;
    ++sizes;
    options.splitBy = rule.by;
    options.splitOption = OptionName(rule.id);
    options.splitValue = Value(raw, rule.id);
  }
  if (sizes != 1) return "give exactly one of --hosts, --subnets, --prefix and --mask";
  return ReadListing(raw, options, true);
}

std::string ReadVlsm(const RawOptions& raw, CliOptions& options) {
  options.action = CliAction::Vlsm;
  if (Seen(raw, OptionId::Vlsm) == Seen(raw, OptionId::VlsmFile)) {
    return "choose one of --vlsm and --vlsm-file";
  }
  if (raw.operands.empty() && Seen(raw, OptionId::Vlsm)) return "--vlsm needs a BLOCK";
  if (Seen(raw, OptionId::VlsmFile) && Value(raw, OptionId::VlsmFile).empty()) {
    return "--vlsm-file needs a FILE";  // an empty name would read as --vlsm's empty list
  }
  options.vlsmItems = Value(raw, OptionId::Vlsm);
  options.inputFile = Value(raw, OptionId::VlsmFile);
  return ReadFormatOption(raw, options);
}

// --common and --except: the files, standard input at most once.
std::string ReadLists(const RawOptions& raw, CliAction action, CliOptions& options) {
  options.action = action;
  options.lists = raw.operands;
  std::size_t standardInput = 0;
  for (const std::string& name : options.lists)
    standardInput += name == "-" ? 1 : 0;
  if (standardInput > 1) return "standard input ('-') can be read once";
  return ReadFormatOption(raw, options);
}

// --summarize and --overlaps: one file, standard input without one.
std::string ReadOneList(const RawOptions& raw, CliAction action, CliOptions& options) {
  options.action = action;
  options.inputFile = raw.operands.empty() ? "-" : raw.operands[0];
  return ReadFormatOption(raw, options);
}

std::string ReadNext(const RawOptions& raw, CliOptions& options) {
  options.action = CliAction::Next;
  if (!Seen(raw, OptionId::Used)) return "--next needs --used FILE";
  options.nextPrefix = Value(raw, OptionId::Next);
  options.inputFile = Value(raw, OptionId::Used);
  options.rowCount = 1;
  if (Seen(raw, OptionId::Count)) {
    const std::string problem = ReadPositive(raw, OptionId::Count, "--count", options.rowCount);
    if (!problem.empty()) return problem;
  }
  return ReadFormatOption(raw, options);
}

// The BLOCK's runs: the facts, splits, VLSM and the free space of the block.
std::string ReadBlockRun(const RawOptions& raw, Mode mode, CliOptions& options) {
  options.block = raw.operands.empty() ? std::string() : raw.operands[0];
  switch (mode) {
    case FreeSpace:
      options.action = CliAction::Free;
      options.inputFile = Value(raw, OptionId::Free);
      return ReadFormatOption(raw, options);
    case NextFree:
      return ReadNext(raw, options);
    case VlsmPlan:
      return ReadVlsm(raw, options);
    case Split:
      return ReadSplit(raw, options);
    default:
      break;
  }
  options.action = CliAction::Facts;
  return ReadFormatOption(raw, options);
}

std::string ReadClassless(const RawOptions& raw, Mode mode, CliOptions& options) {
  switch (mode) {
    case Summary:
      return ReadOneList(raw, CliAction::Summarize, options);
    case ListOverlaps:
      return ReadOneList(raw, CliAction::Overlaps, options);
    case CommonLists:
      return ReadLists(raw, CliAction::Common, options);
    case ListExcept:
      return ReadLists(raw, CliAction::Except, options);
    default:
      break;
  }
  return ReadBlockRun(raw, mode, options);
}

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv) {
  ParsedCommandLine parsed;
  RawOptions raw;
  parsed.error = CollectOptions(argc, argv, raw);
  if (!parsed.error.empty()) return parsed;
  if (Seen(raw, OptionId::Help)) {
    parsed.options.action = CliAction::Help;
    return parsed;
  }
  if (Seen(raw, OptionId::Version)) {
    parsed.options.action = CliAction::Version;
    return parsed;
  }
  const Mode mode = ModeOf(raw);
  parsed.error = CheckMode(raw, mode);
  if (!parsed.error.empty()) return parsed;
  if (mode != Classful) {
    parsed.error = ReadClassless(raw, mode, parsed.options);
    return parsed;
  }
  parsed.error = ReadCalculation(raw, parsed.options.calculation);
  if (parsed.error.empty()) parsed.error = ReadListing(raw, parsed.options, false);
  return parsed;
}
