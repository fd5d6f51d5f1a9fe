#include "net/plan_file.hpp"

#include "base/text.hpp"
#include "net/block.hpp"

namespace {

constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";

// A line without its comment, its line end and the blanks around it.
std::string Meaning(const std::string& line) {
  return Trimmed(line.substr(0, line.find('#')), " \t\r\n");
}

// "block X": the word and one token that is no VLSM size (digits or /P).
bool IsBlockLine(const std::string& meaning, std::string& block) {
  if (meaning.compare(0, 6, "block ") != 0 && meaning.compare(0, 6, "block\t") != 0) return false;
  block = Trimmed(meaning.substr(6), " \t");
  const bool size = block.empty() || block[0] == '/' ||
                    block.find_first_not_of("0123456789") == std::string::npos;
  return !size;
}

}  // namespace

std::string SplitPlanFile(const std::string& text, PlanFile& plan) {
  plan = PlanFile();
  const std::size_t skipped = text.compare(0, 3, ByteOrderMark) == 0 ? 3 : 0;
  plan.lines = text.substr(skipped);
  int64_t number = 1;
  for (std::size_t start = 0; start < plan.lines.size(); ++number) {
    std::size_t end = plan.lines.find('\n', start);
    end = end == std::string::npos ? plan.lines.size() : end + 1;
    const std::string meaning = Meaning(plan.lines.substr(start, end - start));
    if (meaning.empty()) {
      start = end;
      continue;
    }
    plan.list = plan.lines;
    if (!IsBlockLine(meaning, plan.block)) return std::string();
    if (plan.block.find_first_of(" \t") != std::string::npos) {
      return TokenRefusal("line", number, meaning, "expected block BLOCK");
    }
    const std::string problem = ReadAnyNetwork(plan.block, plan.network);
    if (!problem.empty()) return TokenRefusal("line", number, meaning, problem);
    plan.named = true;
    plan.blockLine = number;
    plan.list.erase(start, end - start);
    plan.lines.replace(start, end - start, plan.lines[end - 1] == '\n' ? "\n" : "");
    return std::string();
  }
  plan.list = plan.lines;
  return std::string();
}

std::string PlanFileText(const std::string& block, const std::string& lines) {
  const char* lineEnd = lines.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  std::string text = "block " + block + lineEnd + lines;
  if (!lines.empty() && lines.back() != '\n') text += lineEnd;
  return text;
}

std::string LineEndOf(const std::string& text) {
  const std::size_t end = text.find('\n');
  return end != std::string::npos && end > 0 && text[end - 1] == '\r' ? "\r\n" : "\n";
}

std::string WithLineEnds(const std::string& text, const std::string& lineEnd) {
  std::string made;
  made.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (c != '\r' && c != '\n') {
      made += c;
      continue;
    }
    made += lineEnd;
    if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
  }
  return made;
}
