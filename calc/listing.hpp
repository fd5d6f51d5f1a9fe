// A calculated classful plan as a listing of its sub-networks, for velkor's
// listings and the sub-networks window's CSV file.
#pragma once

#include "calc/plan.hpp"
#include "net/listing.hpp"

// Every sub-network of a calculated plan.
ListingRange WholePlan(const SubnetPlan& plan);
