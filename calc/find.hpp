// Finding a sub-network: the one that holds an address, or the one a typed
// index or address names. Shared by the sub-networks window's go-to and
// velkor --find; computed, never searched.
#pragma once

#include <cstdint>
#include <string>

#include "calc/address.hpp"
#include "calc/plan.hpp"
#include "base/refusal.hpp"

// The index of the sub-network of `plan` that holds `address`, or -1 when the
// address lies outside the plan's network or no plan was calculated.
int32_t FindSubnet(const SubnetPlan& plan, HostOrderAddress address);

// What a typed go-to target names.
struct SubnetTarget {
  int32_t index = -1;  // the sub-network; -1 when `refusal` says why there is none
  Refusal refusal;
};
// A decimal index (0 to the last) or a dotted address inside the plan;
// surrounding blanks are ignored.
SubnetTarget FindSubnetTarget(const SubnetPlan& plan, const std::string& typed);
// The target for an address, with the message when it lies outside the plan.
SubnetTarget FindSubnetOfAddress(const SubnetPlan& plan, HostOrderAddress address);
