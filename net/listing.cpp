#include "net/listing.hpp"

#include <cstring>
#include <limits>
#include <type_traits>

#include "net/address_text.hpp"
#include "net/decimal.hpp"
#include "net/output_buffer.hpp"
#include "net/paging.hpp"

namespace {

// More than the longest row of any format (an IPv6 JSON row is about 200 bytes).
constexpr std::size_t RowRoom = 256;

template <class F>
constexpr bool WithBroadcast = std::is_same<F, Ipv4>::value;

template <class F>
constexpr int AddressWidth = std::is_same<F, Ipv4>::value ? MaxDottedLength : MaxIpv6Length;

// An address left-aligned in a column as wide as the widest address.
template <class F>
char* AppendPaddedAddress(char* at, const typename F::Value& address) {
  char* end = WriteAddress(at, address);
  std::memset(end, ' ', static_cast<std::size_t>(at + AddressWidth<F> - end));
  return at + AddressWidth<F>;
}

// text: index right-aligned to the widest index printed, two blanks between
// columns, no blanks at the end of a line.
template <class F>
char* TextRow(char* at, const typename F::Index& index, const SubnetRow<F>& row, int indexWidth) {
  const int padding = indexWidth - DecimalWidth(index);
  std::memset(at, ' ', static_cast<std::size_t>(padding));
  at = WriteDecimal(at + padding, index);
  at = Append(at, "  ");
  at = AppendPaddedAddress<F>(at, row.network);
  at = Append(at, "  ");
  at = AppendPaddedAddress<F>(at, row.first);
  at = Append(at, "  ");
  if constexpr (WithBroadcast<F>) {
    at = AppendPaddedAddress<F>(at, row.last);
    at = Append(at, "  ");
    at = WriteAddress(at, row.broadcast);
  } else {
    at = WriteAddress(at, row.last);
  }
  *at++ = '\n';
  return at;
}

// tsv and csv: the cells are digits, points and colons, and the header
// words are plain, so no cell ever needs quoting (RFC 4180 quotes only cells
// holding the separator, a double quote or a line break).
template <class F>
char* SeparatedRow(char* at, const typename F::Index& index, const SubnetRow<F>& row,
                   char separator) {
  at = WriteDecimal(at, index);
  *at++ = separator;
  at = WriteAddress(at, row.network);
  *at++ = separator;
  at = WriteAddress(at, row.first);
  *at++ = separator;
  at = WriteAddress(at, row.last);
  if constexpr (WithBroadcast<F>) {
    *at++ = separator;
    at = WriteAddress(at, row.broadcast);
  }
  *at++ = '\n';
  return at;
}

template <class Value>
char* QuotedAddress(char* at, const char* key, const Value& address) {
  at = Append(at, key);
  *at++ = '"';
  at = WriteAddress(at, address);
  *at++ = '"';
  return at;
}

// json: one object per line inside one array; the comma goes before every
// object but the first so the last one needs no look-ahead.
template <class F>
char* JsonRow(char* at, const typename F::Index& index, const SubnetRow<F>& row, bool firstRow) {
  at = Append(at, firstRow ? "  {\"index\": " : ",\n  {\"index\": ");
  at = WriteDecimal(at, index);
  at = QuotedAddress(at, ", \"network\": ", row.network);
  at = QuotedAddress(at, ", \"first\": ", row.first);
  at = QuotedAddress(at, ", \"last\": ", row.last);
  if constexpr (WithBroadcast<F>) at = QuotedAddress(at, ", \"broadcast\": ", row.broadcast);
  *at++ = '}';
  return at;
}

template <class F>
char* FormatRow(char* at, ListFormat format, const typename F::Index& index,
                const SubnetRow<F>& row, bool firstRow, int indexWidth) {
  switch (format) {
    case ListFormat::Tsv:
      return SeparatedRow<F>(at, index, row, '\t');
    case ListFormat::Csv:
      return SeparatedRow<F>(at, index, row, ',');
    case ListFormat::Json:
      return JsonRow<F>(at, index, row, firstRow);
    case ListFormat::Text:
      break;
  }
  return TextRow<F>(at, index, row, indexWidth);
}

template <class F>
const char* Header(ListFormat format) {
  switch (format) {
    case ListFormat::Tsv:
      return WithBroadcast<F> ? "index\tnetwork\tfirst\tlast\tbroadcast\n"
                              : "index\tnetwork\tfirst\tlast\n";
    case ListFormat::Csv:
      return WithBroadcast<F> ? "index,network,first,last,broadcast\n"
                              : "index,network,first,last\n";
    case ListFormat::Json:
      return "[\n";
    case ListFormat::Text:
      break;
  }
  return "";
}

const char* Trailer(ListFormat format) {
  return format == ListFormat::Json ? "\n]\n" : "";
}

int64_t Saturated(const Uint128& count) {
  constexpr uint64_t largest = std::numeric_limits<int64_t>::max();
  return count.high != 0 || count.low > largest ? static_cast<int64_t>(largest)
                                                : static_cast<int64_t>(count.low);
}

}  // namespace

template <class F>
bool WriteFoundRow(const typename F::Index& index, const SubnetRow<F>& row, ListFormat format,
                   TextSink sink) {
  static const char* const names[] = {"index", "page", "network", "first", "last", "broadcast"};
  const RecordCell cells[] = {NumberCell(Uint128(index)), NumberCell(Uint128(PageOfRow(index))),
                              AddressCell(row.network),   AddressCell(row.first),
                              AddressCell(row.last),      AddressCell(row.broadcast)};
  return WriteRecord(names, cells, WithBroadcast<F> ? 6 : 5, format, sink);
}

template <class F>
bool WriteListing(const Listing<F>& range, ListFormat format, TextSink sink,
                  const ListingProgress& progress) {
  using Index = typename F::Index;
  OutputBuffer out(sink);
  Commit(out, Append(Reserve(out, RowRoom), Header<F>(format)));
  const int indexWidth = DecimalWidth(range.last);
  const int64_t total = Saturated(Uint128(range.last - range.first) + 1);
  int64_t written = 0;
  const RowMaker<F> rowAt(range.network, range.hostBits);
  for (Index index = range.first;; ++index) {
    const SubnetRow<F> row = rowAt(index);
    Commit(out, FormatRow<F>(Reserve(out, RowRoom), format, index, row, index == range.first,
                             indexWidth));
    if (progress && ++written % ListingProgressStep == 0 && !progress(written, total)) {
      Finish(out);
      return false;
    }
    if (index == range.last) break;
  }
  Commit(out, Append(Reserve(out, RowRoom), Trailer(format)));
  return Finish(out);
}

template bool WriteListing<Ipv4>(const Listing<Ipv4>&, ListFormat, TextSink,
                                 const ListingProgress&);
template bool WriteListing<Ipv6>(const Listing<Ipv6>&, ListFormat, TextSink,
                                 const ListingProgress&);
template bool WriteFoundRow<Ipv4>(const uint64_t&, const SubnetRow<Ipv4>&, ListFormat, TextSink);
template bool WriteFoundRow<Ipv6>(const Uint128&, const SubnetRow<Ipv6>&, ListFormat, TextSink);
