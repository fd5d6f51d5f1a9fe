#include "calc/listing.hpp"

ListingRange WholePlan(const SubnetPlan& plan) {
  ListingRange range;
  range.network = plan.network;
  range.hostBits = plan.HostBits();
  range.last = static_cast<uint64_t>(plan.TotalSubnets() - 1);
  return range;
}
