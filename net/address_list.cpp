#include "net/address_list.hpp"

#include <algorithm>
#include <cstring>
#include <vector>

#include "net/block.hpp"

namespace {

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',';
}

template <class F>
std::string ReadRange(const char* at, const char* dash, const char* end, Span<F>& span) {
  if (ReadAddress(at, dash, span.first) != nullptr ||
      ReadAddress(dash + 1, end, span.last) != nullptr) {
    return std::string("not a range of two ") + F::Name + " addresses";
  }
  return span.first <= span.last ? "" : "the range ends before it starts";
}

template <class F>
std::string ReadNetworkSpan(const char* at, const char* end, Span<F>& span) {
  Typed<F> typed;
  const char* problem = ReadTyped(at, end, typed);
  if (problem != nullptr) return problem;
  const Block<F> block = BlockOf(typed);
  span = Span<F>{block.network, LastOf(block)};
  return block.network == typed.address ? std::string() : NetworkProblem(typed);
}

// The entry's span when it is of family F, else null.
template <class F>
const Span<F>* SpanOfFamily(const ListEntry& entry);
template <>
const Span<Ipv4>* SpanOfFamily<Ipv4>(const ListEntry& entry) {
  return entry.isIpv6 ? nullptr : &entry.ipv4;
}
template <>
const Span<Ipv6>* SpanOfFamily<Ipv6>(const ListEntry& entry) {
  return entry.isIpv6 ? &entry.ipv6 : nullptr;
}

// Stores the spans of each family.
struct SpanCollector final : ListReader::Visitor {
  explicit SpanCollector(AddressSpans& target) : spans(target) {}
  void Add(const ListEntry& entry, int64_t, const char*, const char*) override {
    if (entry.isIpv6) {
      spans.ipv6.push_back(entry.ipv6);
    } else {
      spans.ipv4.push_back(entry.ipv4);
    }
  }
  AddressSpans& spans;
};

}  // namespace

std::string ReadListEntry(const char* at, const char* end, ListEntry& entry) {
  const char* dash =
      static_cast<const char*>(std::memchr(at, '-', static_cast<std::size_t>(end - at)));
  if (dash == nullptr) {
    entry.isIpv6 = LooksLikeIpv6(at, end);
    return entry.isIpv6 ? ReadNetworkSpan(at, end, entry.ipv6)
                        : ReadNetworkSpan(at, end, entry.ipv4);
  }
  entry.isIpv6 = LooksLikeIpv6(at, dash);
  if (entry.isIpv6 != LooksLikeIpv6(dash + 1, end))
    return "both ends of a range must be of one family";
  return entry.isIpv6 ? ReadRange(at, dash, end, entry.ipv6) : ReadRange(at, dash, end, entry.ipv4);
}

std::string ListReader::Token(const char* at, const char* end, int64_t line) {
  ListEntry entry;
  const std::string problem = ReadListEntry(at, end, entry);
  if (!problem.empty()) return TokenRefusal("line", line, std::string(at, end), problem);
  visitor_.Add(entry, line, at, end);
  return std::string();
}

std::string ListReader::Feed(const char* at, const char* end, bool last) {
  if (!pending_.empty()) {
    // The rest of the token the last chunk ended in.
    const char* cut = at;
    while (cut != end && !IsSeparator(*cut))
      ++cut;
    pending_.append(at, cut);
    if (cut == end && !last) return std::string();
    std::string token;
    token.swap(pending_);
    const std::string problem = Token(token.data(), token.data() + token.size(), pendingLine_);
    if (!problem.empty()) return problem;
    at = cut;
  }
  while (at != end) {
    if (IsSeparator(*at)) {
      line_ += *at++ == '\n' ? 1 : 0;
      continue;
    }
    const char* tokenEnd = at;
    while (tokenEnd != end && !IsSeparator(*tokenEnd))
      ++tokenEnd;
    if (tokenEnd == end && !last) {
      pending_.assign(at, end);
      pendingLine_ = line_;
      return std::string();
    }
    const std::string problem = Token(at, tokenEnd, line_);
    if (!problem.empty()) return problem;
    at = tokenEnd;
  }
  return std::string();
}

std::string ReadList(const std::string& text, ListReader::Visitor& visitor) {
  ListReader reader(visitor);
  return reader.Feed(text.data(), text.data() + text.size(), true);
}

std::string ReadList(std::FILE* file, ListReader::Visitor& visitor) {
  ListReader reader(visitor);
  std::vector<char> block(1 << 16);
  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), file);
    const bool last = got < block.size();
    if (last && std::ferror(file) != 0) return "cannot read";
    const std::string problem = reader.Feed(block.data(), block.data() + got, last);
    if (!problem.empty() || last) return problem;
  }
}

std::string ReadAddressList(const std::string& text, AddressSpans& spans) {
  SpanCollector collector(spans);
  return ReadList(text, collector);
}

std::string ReadAddressList(std::FILE* file, AddressSpans& spans) {
  SpanCollector collector(spans);
  return ReadList(file, collector);
}

template <class F>
void BlockCollector<F>::Add(const ListEntry& entry, int64_t, const char*, const char*) {
  const Span<F>* read = SpanOfFamily<F>(entry);
  const Span<F> within = SpanOf(block);
  if (read == nullptr || read->last < within.first || read->first > within.last) {
    ++outside;
    return;
  }
  const Span<F> clipped{std::max(read->first, within.first), std::min(read->last, within.last)};
  outside += clipped.first != read->first || clipped.last != read->last ? 1 : 0;
  spans.push_back(clipped);
}

template struct BlockCollector<Ipv4>;
template struct BlockCollector<Ipv6>;
