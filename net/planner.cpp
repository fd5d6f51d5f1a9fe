#include "net/planner.hpp"

#include <utility>

#include "base/text.hpp"
#include "net/block.hpp"
#include "net/plan_file.hpp"

namespace {

// The refusals as the planner's message boxes show them; the problem itself
// comes from the reader or the allocation, as velkor prints it.
constexpr const char* LineTitle = "Invalid sub-network line";
constexpr const char* FitTitle = "Sub-networks do not fit";
constexpr const char* FileTitle = "Not a plan file";

PlannerOutcome Refused(Refusal refusal) {
  PlannerOutcome outcome;
  outcome.refusal = std::move(refusal);
  return outcome;
}

// Reads the lines in the block's family and carves the block; the problem
// as velkor words it ("line 3: ...", "needs N addresses, ...") with the
// title of its message box, or the empty text.
template <class F>
std::string CarveIn(const Block<F>& block, const std::string& lines, PlannerOutcome& outcome,
                    const char*& title) {
  title = LineTitle;
  std::string problem = ReadVlsmLines<F>(lines, outcome.items);
  if (!problem.empty()) return problem;
  title = FitTitle;
  VlsmPlanOf<F> plan;
  problem = AllocateVlsm(block, outcome.items, plan);
  if (!problem.empty()) return "the list " + problem;
  outcome.plan = std::move(plan);
  return problem;
}

std::string Carve(const AnyBlock& block, const std::string& lines, PlannerOutcome& outcome,
                  const char*& title) {
  return std::visit([&](const auto& network) { return CarveIn(network, lines, outcome, title); },
                    block);
}

}  // namespace

PlannerOutcome RunPlanner(const std::string& blockText, const std::string& lines) {
  const std::string typed = Trimmed(blockText, " \t\r\n");
  AnyBlock block;
  const std::string problem = ReadAnyNetwork(typed, block);
  if (!problem.empty()) return Refused(BlockRefusal(typed, problem));
  PlannerOutcome outcome;
  const char* title = "";
  const std::string carved = Carve(block, lines, outcome, title);
  return carved.empty() ? outcome : Refused(Refusal{title, AsSentence(carved)});
}

OpenedPlan OpenPlan(const std::string& fileName, const std::string& text,
                    const std::string& shownBlock) {
  OpenedPlan opened;
  PlanFile file;
  std::string problem = SplitPlanFile(text, file);
  AnyBlock block;
  opened.block = file.named ? file.block : Trimmed(shownBlock, " \t\r\n");
  if (problem.empty() && !file.named) {
    problem = ReadAnyNetwork(opened.block, block);
    if (!problem.empty()) problem = "no block line, and '" + opened.block + "': " + problem;
  }
  const char* title = "";
  if (problem.empty())
    problem = Carve(file.named ? file.network : block, file.lines, opened.outcome, title);
  if (!problem.empty()) {
    opened.outcome = Refused(Refusal{FileTitle, fileName + ": " + problem + "."});
    return opened;
  }
  opened.list = file.list;
  opened.lineEnd = LineEndOf(text);
  return opened;
}

std::string PlannerRows(const PlannerOutcome& outcome, ListFormat format) {
  std::string rows;
  std::visit([&](const auto& plan) { WriteVlsm(plan, outcome.items, format, rows); }, outcome.plan);
  return rows;
}

int PlannerColumns(const PlannerOutcome& outcome) {
  return outcome.plan.index() == 0 ? 8 : 6;
}

std::string PlannerStatus(const PlannerOutcome& outcome) {
  return std::visit([](const auto& plan) { return VlsmStatus(plan); }, outcome.plan);
}
