// Time to fill one page of the sub-network list, for a plan with 4 sub-networks
// and for one with 8,388,608: the cost of a page must not grow with the plan.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "calc/enumeration.hpp"
#include "calc/plan.hpp"

namespace {

struct Figure {
  double nanosecondsPerPage = 0;
  int rows = 0;
};

// Filled by the benchmarks; each run overwrites the figure of the previous,
// shorter one, so the summary shows the final measurement.
std::map<std::string, Figure>& Figures() {
  static std::map<std::string, Figure> figures;
  return figures;
}

SubnetPlan ClassPlan(int classIndex, int a, int subnetCount) {
  SubnetPlan plan;
  plan.SetClass(classIndex);
  plan.SetNetwork(a, classIndex == 0 ? 168 : 0, classIndex == 0 ? 1 : 0, 0);
  plan.FromSubnets(subnetCount);
  return plan;
}

// What the list does on a page change: one GetSubnet and one row text per index.
int FillPage(const SubnetPlan& plan, int32_t page) {
  IndexRange range;
  PageRange(plan.TotalSubnets() - 1, SubnetPageSize, page, range);
  SubnetEntry entry;
  int rows = 0;
  for (int32_t index = range.first; index <= range.last; ++index) {
    if (!plan.GetSubnet(index, entry)) continue;
    std::string row = RowText(entry);
    benchmark::DoNotOptimize(row);
    ++rows;
  }
  return rows;
}

void TimePage(benchmark::State& state, const SubnetPlan& plan, int32_t page, const char* name) {
  int rows = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state)
    rows = FillPage(plan, page);
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  state.counters["rows"] = rows;
  state.SetItemsProcessed(state.iterations() * rows);
  Figures()[name] = {elapsed.count() / static_cast<double>(state.iterations()), rows};
}

// 2 wanted subnets give class C 4 sub-networks of 64 addresses.
const SubnetPlan SmallPlan = ClassPlan(0, 192, 2);
// 126 wanted subnets give 128 sub-networks: a full first page of 26 rows.
const SubnetPlan FullClassCPlan = ClassPlan(0, 192, 126);
// 4,194,304 wanted subnets give class A 2^23 sub-networks of 2 addresses.
const SubnetPlan HugePlan = ClassPlan(2, 10, 4194304);
const int32_t HugePages = PageCount(HugePlan.TotalSubnets() - 1, SubnetPageSize);

void ClassC4Subnets(benchmark::State& state) {
  TimePage(state, SmallPlan, 1, "C4");
}
void ClassC128SubnetsFirstPage(benchmark::State& state) {
  TimePage(state, FullClassCPlan, 1, "C128");
}
void ClassA8388608MiddlePage(benchmark::State& state) {
  TimePage(state, HugePlan, HugePages / 2, "AMiddle");
}
void ClassA8388608LastPage(benchmark::State& state) {
  TimePage(state, HugePlan, HugePages, "ALast");
}

BENCHMARK(ClassC4Subnets);
BENCHMARK(ClassC128SubnetsFirstPage);
BENCHMARK(ClassA8388608MiddlePage);
BENCHMARK(ClassA8388608LastPage);

void PrintFigure(const char* label, const Figure& figure) {
  std::printf("  %-44s %9.0f ns/page  %3d rows  %6.1f ns/row\n", label, figure.nanosecondsPerPage,
              figure.rows, figure.nanosecondsPerPage / figure.rows);
}

double PerRow(const Figure& figure) {
  return figure.nanosecondsPerPage / figure.rows;
}

void PrintSummary() {
  std::map<std::string, Figure>& figures = Figures();
  if (figures.size() != 4) return;  // a filter ran only some benchmarks
  std::printf("\nPage fill summary (GetSubnet + RowText per row):\n");
  PrintFigure("class C, 4 sub-networks, page 1", figures["C4"]);
  PrintFigure("class C, 128 sub-networks, page 1", figures["C128"]);
  PrintFigure("class A, 8388608 sub-networks, middle page", figures["AMiddle"]);
  PrintFigure("class A, 8388608 sub-networks, last page", figures["ALast"]);
  std::printf("  per-row ratio, class A middle / class C 4:   %.2f\n",
              PerRow(figures["AMiddle"]) / PerRow(figures["C4"]));
  std::printf("  per-row ratio, class A last / class C 4:     %.2f\n",
              PerRow(figures["ALast"]) / PerRow(figures["C4"]));
  std::printf("  page ratio, class A middle / class C 128 p1: %.2f (25 vs 26 rows)\n",
              figures["AMiddle"].nanosecondsPerPage / figures["C128"].nanosecondsPerPage);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary();
  return 0;
}
