#include "net/intervals.hpp"

template <class F>
void MergeSpans(std::vector<Span<F>>& spans) {
  std::sort(spans.begin(), spans.end(),
            [](const Span<F>& a, const Span<F>& b) { return a.first < b.first; });
  const typename F::Value top = F::LowOnes(F::Bits);
  std::size_t kept = 0;
  for (std::size_t i = 0; i < spans.size();) {
    // Grow the span by every one that overlaps or touches it; once it reaches
    // the top of the space it holds all the rest (last + 1 would wrap).
    Span<F> grown = spans[i];
    for (++i; i < spans.size() && (grown.last == top || spans[i].first <= grown.last + 1); ++i)
      grown.last = std::max(grown.last, spans[i].last);
    spans[kept++] = grown;
  }
  spans.resize(kept);
}

void MergeSpans(AddressSpans& spans) {
  MergeSpans(spans.ipv4);
  MergeSpans(spans.ipv6);
}

template void MergeSpans<Ipv4>(std::vector<Span<Ipv4>>&);
template void MergeSpans<Ipv6>(std::vector<Span<Ipv6>>&);
