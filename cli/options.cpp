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
};
constexpr std::size_t OptionKinds = static_cast<std::size_t>(OptionId::Version) + 1;

// What a command line calculates; each option belongs to some of these.
enum Mode : unsigned {
  Classful = 1,
  Facts = 2,
  Split = 4,
  VlsmPlan = 8,
  Summary = 16,
  AnyMode = 31
};

struct ModeRule {
  OptionId id;
  unsigned modes;
};
constexpr unsigned Listing = Classful | Split;
constexpr ModeRule ModeTable[] = {
    {OptionId::Class, Classful},    {OptionId::Network, Classful}, {OptionId::Hosts, Listing},
    {OptionId::Subnets, Listing},   {OptionId::Mask, Listing},     {OptionId::Prefix, Split},
    {OptionId::List, Listing},      {OptionId::All, Listing},      {OptionId::Page, Listing},
    {OptionId::From, Listing},      {OptionId::Count, Listing},    {OptionId::Find, Listing},
    {OptionId::Format, AnyMode},    {OptionId::Vlsm, VlsmPlan},    {OptionId::VlsmFile, VlsmPlan},
    {OptionId::Summarize, Summary}, {OptionId::Help, AnyMode},     {OptionId::Version, AnyMode},
};
static_assert(sizeof ModeTable / sizeof ModeTable[0] == OptionKinds, "one rule per option");

struct ModeName {
  Mode mode;
  const char* text;
};
constexpr ModeName ModeNames[] = {
    {Classful, "a classful plan"},
    {Facts, "the facts of a BLOCK"},
    {Split, "an equal split of a BLOCK"},
    {VlsmPlan, "--vlsm"},
    {Summary, "--summarize"},
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
  std::string operand;  // the one argument that is no option: a BLOCK or a file
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
    if (argument == "-" || argument.empty() || argument[0] != '-') {
      if (!raw.operand.empty()) return "unexpected argument '" + argument + "'";
      raw.operand = argument;
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
  if (raw.operand.empty() && !ReadDottedAddress(options.findText, options.findAddress)) {
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

Mode ModeOf(const RawOptions& raw) {
  if (Seen(raw, OptionId::Summarize)) return Summary;
  if (raw.operand.empty()) return Classful;
  if (Seen(raw, OptionId::Vlsm) || Seen(raw, OptionId::VlsmFile)) return VlsmPlan;
  for (const SplitRule& rule : SplitRules) {
    if (Seen(raw, rule.id)) return Split;
  }
  return Facts;
}

const char* ModeText(Mode mode) {
  for (const ModeName& name : ModeNames) {
    if (name.mode == mode) return name.text;
  }
  return "";
}

// Every option given belongs to the mode. The operand is the file of
// --summarize or else a BLOCK, whatever it looks like: a BLOCK that is not
// one is refused by the run, with its reason.
std::string CheckMode(const RawOptions& raw, Mode mode) {
  for (const ModeRule& rule : ModeTable) {
    if (Seen(raw, rule.id) && (rule.modes & mode) == 0) {
      return std::string(OptionName(rule.id)) + " does not go with " + ModeText(mode);
    }
  }
  return std::string();
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
  options.vlsmItems = Value(raw, OptionId::Vlsm);
  options.inputFile = Value(raw, OptionId::VlsmFile);
  return ReadFormatOption(raw, options);
}

std::string ReadClassless(const RawOptions& raw, Mode mode, CliOptions& options) {
  options.block = raw.operand;
  switch (mode) {
    case Summary:
      options.action = CliAction::Summarize;
      options.inputFile = raw.operand.empty() ? "-" : raw.operand;
      options.block.clear();
      return ReadFormatOption(raw, options);
    case VlsmPlan:
      return ReadVlsm(raw, options);
    case Split:
      return ReadSplit(raw, options);
    case Facts:
    case Classful:
    case AnyMode:
      break;
  }
  options.action = CliAction::Facts;
  return ReadFormatOption(raw, options);
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
