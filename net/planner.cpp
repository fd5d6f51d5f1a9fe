#include "net/planner.hpp"

#include <utility>

#include "base/text.hpp"
#include "net/block.hpp"

namespace {

// The refusals as the planner's message boxes show them; the problem itself
// comes from the reader or the allocation, as velkor prints it.
constexpr const char* LineTitle = "Invalid sub-network line";
constexpr const char* FitTitle = "Sub-networks do not fit";

PlannerOutcome Refused(Refusal refusal) {
  PlannerOutcome outcome;
  outcome.refusal = std::move(refusal);
  return outcome;
}

}  // namespace

PlannerOutcome RunPlanner(const std::string& blockText, const std::string& lines) {
  const std::string typed = Trimmed(blockText, " \t\r\n");
  CidrBlock block;
  std::string problem = ReadNetwork(typed, block);
  if (!problem.empty()) return Refused(BlockRefusal(typed, problem));
  PlannerOutcome outcome;
  problem = ReadVlsmLines<Ipv4>(lines, outcome.items);
  if (!problem.empty()) return Refused(Refusal{LineTitle, AsSentence(problem)});
  problem = AllocateVlsm(block, outcome.items, outcome.plan);
  if (!problem.empty()) return Refused(Refusal{FitTitle, AsSentence("The list " + problem)});
  return outcome;
}
