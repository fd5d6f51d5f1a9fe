// Plans built the way a calculation builds them, for the calc tests.
#pragma once

#include <string>

#include "calc/plan.hpp"

// A plan for the class's network `a.b.c.d` after FromHosts(count).
inline SubnetPlan HostsPlan(int classIndex, int a, int b, int c, int d, int count) {
  SubnetPlan plan;
  plan.SetClass(classIndex);
  plan.SetNetwork(a, b, c, d);
  plan.FromHosts(count);
  return plan;
}

// The same after FromSubnets(count).
inline SubnetPlan SubnetsPlan(int classIndex, int a, int b, int c, int d, int count) {
  SubnetPlan plan;
  plan.SetClass(classIndex);
  plan.SetNetwork(a, b, c, d);
  plan.FromSubnets(count);
  return plan;
}

// The same after FromMask(mask).
inline SubnetPlan MaskPlan(int classIndex, int a, int b, int c, int d, const std::string& mask) {
  SubnetPlan plan;
  plan.SetClass(classIndex);
  plan.SetNetwork(a, b, c, d);
  plan.FromMask(mask);
  return plan;
}
