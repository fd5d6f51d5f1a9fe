// velkor: the subnet calculator of the desktop program for terminals and scripts.
#include <cstdio>
#include <string>
#include <vector>

#include "calc/address.hpp"
#include "calc/calculation.hpp"
#include "calc/find.hpp"
#include "calc/listing.hpp"
#include "calc/plan.hpp"
#include "net/subnet_range.hpp"
#include "cli/classless.hpp"
#include "cli/options.hpp"
#include "cli/selection.hpp"
#include "cli/status.hpp"
#include "velkor_version.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const char* const UsageText =
    "usage: velkor [--class A|B|C] [--network ADDRESS] (--hosts N | --subnets N | --mask MASK)\n"
    "              [--list [--all | --page P | --from I [--count N]] | --find ADDRESS]\n"
    "              [--format FORMAT]\n"
    "       velkor BLOCK [--format FORMAT]\n"
    "       velkor BLOCK (--subnets N | --hosts N | --prefix P | --mask MASK)\n"
    "              [--list [--all | --page P | --from I [--count N]] | --find ADDRESS]\n"
    "              [--format FORMAT]\n"
    "       velkor BLOCK --vlsm ITEMS [--format FORMAT]\n"
    "       velkor [BLOCK] --vlsm-file FILE [--format FORMAT]\n"
    "       velkor --summarize [FILE | -] [--format FORMAT]\n"
    "       velkor (--common | --except) FILE FILE [FILE ...] [--format FORMAT]\n"
    "       velkor BLOCK --free FILE [--format FORMAT]\n"
    "       velkor BLOCK --next /P --used FILE [--count N] [--format FORMAT]\n"
    "       velkor --overlaps [FILE | -] [--format FORMAT]\n";

const char* const HelpIntroText =
    "\n"
    "Calculates the subnet plan of a classful IPv4 network exactly as the Velkor\n"
    "IPv4 Subnetting desktop program does, and prints its report or lists its\n"
    "sub-networks.\n"
    "\n"
    "Calculation:\n"
    "  --class A|B|C      address class (default C)\n"
    "  --network ADDRESS  network to divide (default: the class's example network,\n";

const char* const HelpOptionsText =
    "  --hosts N          plan from the wanted number of hosts per subnet\n"
    "  --subnets N        plan from the wanted number of subnets\n"
    "  --mask MASK        plan from a known subnet mask (dotted)\n"
    "  Exactly one of --hosts, --subnets and --mask is required.\n"
    "\n"
    "Output (default: the thirteen lines of the report):\n"
    "  --list             list sub-networks instead: index, network, first host,\n"
    "                     last host, broadcast\n"
    "  --all              every sub-network (the default for --list)\n"
    "  --page P           page P as the desktop program pages the list: page 1 holds\n"
    "                     indexes 0 to 25, page P > 1 indexes (P-1)*25+1 to P*25\n"
    "  --from I           start at index I (default 0)\n"
    "  --count N          at most N rows, cut at the last index (default: up to it)\n"
    "  --format FORMAT    text: aligned columns without a header (default);\n"
    "                     tsv, csv: a header line index,network,first,last,broadcast;\n"
    "                     json: one array of objects with the keys index, network,\n"
    "                     first, last and broadcast\n"
    "  --find ADDRESS     the sub-network holding ADDRESS instead: its index, its\n"
    "                     page, network, first host, last host and broadcast, in\n"
    "                     the --format given (tsv, csv: a header line and a row;\n"
    "                     json: one object)\n"
    "  --help, -h         this text\n"
    "  --version          the version\n"
    "\n"
    "Classless blocks, IPv4 and IPv6 (BLOCK is a.b.c.d/n, a.b.c.d/m.m.m.m,\n"
    "a.b.c.d/w.w.w.w for a host mask such as 0.0.0.255, an IPv6 address/n such as\n"
    "2001:db8::/32, or a bare address for a /32 or /128; no leading zeros in an\n"
    "IPv4 octet, a prefix of at most three digits, no zone id after an IPv6\n"
    "address; IPv6 is written as RFC 5952 says, ::ffff:a.b.c.d for IPv4-mapped):\n"
    "  velkor BLOCK       the facts of the block holding the address. IPv4: address,\n"
    "                     network/prefix, mask, wildcard, broadcast, first, last,\n"
    "                     hosts, addresses, class, kind (private, shared, loopback,\n"
    "                     link-local, multicast, documentation, reserved, public,\n"
    "                     or mixed for a block holding several), the address and\n"
    "                     mask in dotted binary, reverse (the in-addr.arpa name) and\n"
    "                     zones (the reverse zones that cover the block; RFC 2317\n"
    "                     for a prefix longer than /24); a /31 has two hosts (RFC\n"
    "                     3021), a /32 one. IPv6: address, network, prefix,\n"
    "                     expanded, first, last, hosts (all but the Subnet-Router\n"
    "                     anycast network address; both of a /127, RFC 6164),\n"
    "                     addresses, count_64 (the /64s it holds), kind (from the\n"
    "                     IANA registry: unspecified, loopback, ipv4-mapped,\n"
    "                     ipv4-translation, discard, teredo, benchmarking, orchid,\n"
    "                     documentation, 6to4, segment-routing, unique-local,\n"
    "                     link-local, multicast, global-unicast, reserved or mixed),\n"
    "                     embedded_ipv4 (of a mapped, 64:ff9b::/96, 6to4 or Teredo\n"
    "                     address; null in json when there is none), reverse (the\n"
    "                     ip6.arpa name) and zones; json gives zones as an array\n"
    "  --subnets N        split BLOCK equally into the fewest sub-networks, 2^s >= N\n"
    "                     (N up to 2^128)\n"
    "  --hosts N          split BLOCK into the smallest sub-networks with N hosts:\n"
    "                     IPv4 2^h-2 >= N (h >= 2), IPv6 by the host rule above\n"
    "  --prefix P, --mask MASK  split BLOCK into sub-networks of that size (--mask\n"
    "                     for IPv4 only)\n"
    "                     A split prints its report (network, subnet_prefix,\n"
    "                     subnet_mask for IPv4, subnets, addresses, hosts,\n"
    "                     first_subnet, last_subnet); --list, --page, --from, --count\n"
    "                     and --find list and find its sub-networks as for a\n"
    "                     classful plan, at once in any split: IPv6 rows are index,\n"
    "                     network, first and last, without a broadcast, and indexes,\n"
    "                     pages and counts go up to 2^128. No sub-network is\n"
    "                     reserved. BLOCK must be a network (no host bits set).\n"
    "  --vlsm ITEMS       carve BLOCK into sub-networks of different sizes; ITEMS is a\n"
    "                     comma-separated list of NAME:HOSTS, NAME:/P or a bare HOSTS\n"
    "                     (named 1, 2, 3... by position). The largest is placed\n"
    "                     first, each aligned to its size; rows come in input order\n"
    "                     (name, wanted, usable, network, then IPv4's mask, first,\n"
    "                     last and broadcast, or IPv6's first and last), then the\n"
    "                     free space as the fewest blocks named (free). Text ends\n"
    "                     with \"used X of Y addresses (Z%)\", Z rounded down. Names\n"
    "                     are 1 to 64 letters, digits, -, _ and ., each used once.\n"
    "  --vlsm-file FILE   the same from FILE (- for standard input), one NAME HOSTS\n"
    "                     or NAME /P per line; # starts a comment. A plan file's\n"
    "                     first line may be block BLOCK: its block, when no BLOCK\n"
    "                     is given (a BLOCK given wins)\n"
    "  --summarize [FILE] the fewest CIDR blocks covering exactly the networks,\n"
    "                     addresses and ranges (a-b, both ends of one family) in FILE\n"
    "                     or standard input, separated by white space or commas,\n"
    "                     IPv4 blocks first, then IPv6; text prints one block per\n"
    "                     line, the other formats network, prefix, first, last and\n"
    "                     addresses\n"
    "\n"
    "Address lists (FILE is read as --summarize reads it; - is standard input; each\n"
    "result is printed as its fewest blocks, in address order, IPv4 first, in the\n"
    "columns of --summarize):\n"
    "  --common FILE FILE [FILE ...]  the addresses that are in every list\n"
    "  --except FILE FILE [FILE ...]  the addresses of the first list that are in\n"
    "                     none of the others\n"
    "  BLOCK --free FILE  the parts of BLOCK that no entry of the used list FILE\n"
    "                     covers; text ends with \"used X of Y addresses (Z%)\", Z\n"
    "                     rounded down. Entries count only where they overlap BLOCK;\n"
    "                     a line on standard error says how many lay partly or\n"
    "                     wholly outside it, when any did\n"
    "  BLOCK --next /P --used FILE [--count N]  the first N (default 1) free,\n"
    "                     aligned /P blocks of BLOCK, lowest first; when fewer fit,\n"
    "                     nothing is printed and velkor exits with 2: \"only K free\n"
    "                     /24 blocks in 10.20.0.0/16\"\n"
    "  --overlaps [FILE]  every pair of entries of the list that share addresses,\n"
    "                     exact repeats included, in order of the first entry's\n"
    "                     place, then the second's: text as \"line 3 '10.0.0.0/8'\n"
    "                     and line 7 '10.1.0.0/16' share 10.1.0.0-10.1.255.255\", the\n"
    "                     other formats line_a, entry_a, line_b, entry_b and overlap\n"
    "                     (first-last); exits with 3 when any pair overlaps\n"
    "\n"
    "Examples:\n"
    "  velkor 10.1.2.3/20\n"
    "  velkor 2001:db8:40::1/42\n"
    "  velkor 10.0.0.0/16 --subnets 6 --list --format csv\n"
    "  velkor 0.0.0.0/0 --prefix 29 --find 203.0.113.77\n"
    "  velkor 2001:db8::/32 --prefix 64 --list --page 2\n"
    "  velkor ::/0 --prefix 128 --find ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff\n"
    "  velkor 192.168.0.0/22 --vlsm sales:200,eng:/25,100\n"
    "  velkor 2001:db8:1::/48 --vlsm lan:/56,dmz:/64,p2p:2\n"
    "  velkor --summarize networks.txt --format json\n"
    "  velkor --common ours.txt theirs.txt\n"
    "  velkor --except allocated.txt returned.txt reserved.txt --format csv\n"
    "  velkor 10.20.0.0/16 --free used.txt\n"
    "  velkor 2001:db8::/32 --next /48 --used used.txt --count 4\n"
    "  velkor --overlaps allocations.txt || echo \"some allocations overlap\"\n"
    "\n"
    "JSON numbers are written with all their digits, also above 2^53, where some\n"
    "JSON readers round them (read them as big integers or strings there).\n"
    "Every line ends in a single line feed, on Windows too.\n"
    "\n"
    "Exit status: 0 done; 2 the input was refused (the message the desktop program\n"
    "shows, as \"title: text\" on standard error), the page or index does not\n"
    "exist, or the address of --find is outside the plan; for classless runs, a bad\n"
    "block, item or token (\"line 3: '10.0.0.300/24': not an IPv4 address\", after\n"
    "the file's name for a list: \"used.txt: line 3: ...\"), a size the block\n"
    "cannot hold, fewer free blocks than --next asks for or a file that cannot be\n"
    "read; 3 --overlaps found overlapping entries (and printed them); 64 the\n"
    "command line is wrong; 1 the output could not be written.\n";

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "velkor: %s\n%sTry 'velkor --help' for more information.\n", problem.c_str(),
               UsageText);
  return ExitUsage;
}

int PrintHelp() {
  std::fputs(UsageText, stdout);
  std::fputs(HelpIntroText, stdout);
  std::printf("                     %s for class C, %s for B, %s for A)\n",
              Ipv4Text(ExampleNetwork(0)).c_str(), Ipv4Text(ExampleNetwork(1)).c_str(),
              Ipv4Text(ExampleNetwork(2)).c_str());
  std::fputs(HelpOptionsText, stdout);
  return FinishOutput();
}

bool WriteLines(const std::vector<std::string>& lines, std::FILE* file) {
  for (const std::string& line : lines) {
    std::fputs(line.c_str(), file);
    std::fputc('\n', file);
  }
  return std::fflush(file) == 0 && !std::ferror(file);
}

int ListSubnets(const CliOptions& options, const SubnetPlan& plan) {
  ListingRange range = WholePlan(plan);
  std::string problem;
  if (!SelectRows(options, range.last, range, problem)) return Refused(problem);
  return WriteListing(range, options.format, stdout) ? ExitSuccess : WriteFailed();
}

int FindSubnetOf(const CliOptions& options, const SubnetPlan& plan) {
  const SubnetTarget target = FindSubnetOfAddress(plan, options.findAddress);
  if (target.index < 0) {
    std::fprintf(stderr, "%s: %s\n", target.refusal.title.c_str(), target.refusal.text.c_str());
    return ExitRejected;
  }
  const SubnetAddresses found = SubnetAddressesOf(plan.network, plan.StepSize(), target.index);
  const SubnetRow<Ipv4> row{found.network, found.first, found.last, found.broadcast};
  const uint64_t index = static_cast<uint64_t>(target.index);
  return Written(WriteFoundRow<Ipv4>(index, row, options.format, stdout));
}

int Calculate(const CliOptions& options) {
  SubnetPlan* plan = CreateSubnetPlan();
  const CalculationOutcome outcome = RunCalculationSteps(*plan, options.calculation);
  int status = ExitSuccess;
  if (!outcome.refusal.title.empty()) {
    std::fprintf(stderr, "%s: %s\n", outcome.refusal.title.c_str(), outcome.refusal.text.c_str());
    status = ExitRejected;
  } else if (!outcome.success) {
    // No message box: the result area's failure line is all there is to say.
    WriteLines(outcome.reportLines, stderr);
    status = ExitRejected;
  } else if (options.action == CliAction::List) {
    status = ListSubnets(options, *plan);
  } else if (options.action == CliAction::Find) {
    status = FindSubnetOf(options, *plan);
  } else if (!WriteLines(outcome.reportLines, stdout)) {
    status = WriteFailed();
  }
  plan->Release();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Line feeds stay line feeds, so scripts see the same bytes as on Linux.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
  if (!parsed.error.empty()) return UsageError(parsed.error);
  switch (parsed.options.action) {
    case CliAction::Help:
      return PrintHelp();
    case CliAction::Version:
      std::puts("velkor " VELKOR_VERSION);
      return FinishOutput();
    case CliAction::Facts:
    case CliAction::Vlsm:
    case CliAction::Summarize:
    case CliAction::Common:
    case CliAction::Except:
    case CliAction::Free:
    case CliAction::Next:
    case CliAction::Overlaps:
      return RunClassless(parsed.options);
    case CliAction::Report:
    case CliAction::List:
    case CliAction::Find:
      break;
  }
  return parsed.options.block.empty() ? Calculate(parsed.options) : RunClassless(parsed.options);
}
