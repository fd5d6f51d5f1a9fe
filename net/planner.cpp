#include "net/planner.hpp"

#include "base/text.hpp"
#include "net/block.hpp"

namespace {

// The refusals as the planner's message boxes show them; the problem itself
// comes from the reader or the allocation, as velkor prints it.
constexpr const char* BlockTitle = "Invalid address block";
constexpr const char* LineTitle = "Invalid sub-network line";
constexpr const char* FitTitle = "Sub-networks do not fit";

// "line 3: 'x': ..." as a sentence: "Line 3: 'x': ...."
std::string Sentence(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text + ".";
}

PlannerOutcome Refused(const char* title, const std::string& text) {
  PlannerOutcome outcome;
  outcome.refusal = Refusal{title, text};
  return outcome;
}

}  // namespace

PlannerOutcome RunPlanner(const std::string& blockText, const std::string& lines) {
  const std::string typed = Trimmed(blockText, " \t\r\n");
  CidrBlock block;
  std::string problem = ReadNetwork(typed, block);
  if (!problem.empty()) {
    return Refused(BlockTitle,
                   Sentence("The address block '" + typed + "' cannot be used: " + problem));
  }
  PlannerOutcome outcome;
  problem = ReadVlsmLines<Ipv4>(lines, outcome.items);
  if (!problem.empty()) return Refused(LineTitle, Sentence(problem));
  problem = AllocateVlsm(block, outcome.items, outcome.plan);
  if (!problem.empty()) return Refused(FitTitle, Sentence("The list " + problem));
  return outcome;
}
