// The subnet plan calculator and the checks of typed addresses and masks.
#pragma once

#include <cstdint>
#include <string>

#include "calc/address.hpp"

// One sub-network as the list shows it.
struct SubnetEntry {
  int32_t index = 0;
  std::string networkText;
  std::string firstText;
  std::string lastText;
  std::string broadcastText;
};

// Holds the selected class, the network and the plan of the last successful
// calculation. The virtual operations keep their fixed slot order.
class SubnetPlan final {
 public:
  int32_t usableHosts = 0;    // 2^h - 2
  int32_t usableSubnets = 0;  // 2^s - 2 (-1 when s = 0)
  int32_t blockSize = 0;      // 2^h
  int32_t subnetBits = 0;     // s
  int32_t hostBits = 0;       // h
  int32_t classIndex = 0;     // row of the class table
  HostOrderAddress network = 0;

  // Stores PackAddress(a, b, c, d) as the network and returns it.
  virtual HostOrderAddress SetNetwork(int32_t a, int32_t b, int32_t c, int32_t d);
  // Stores the class index when it is 0..2; otherwise returns false and keeps it.
  virtual bool SetClass(int32_t index);
  // The three methods store a whole plan and return true, or change nothing.
  virtual bool FromHosts(int32_t count);
  virtual bool FromSubnets(int32_t count);
  virtual bool FromMask(const std::string& maskText);
  // FromMask of a mask whose text was checked already.
  bool FromMaskValue(HostOrderAddress mask);
  // The plan's mask as dotted text.
  virtual std::string MaskText() const;
  // Fills `entry` for sub-network n (0 .. TotalSubnets()-1) and returns true;
  // false, entry untouched, for any other n or before a plan was calculated.
  virtual bool GetSubnet(int32_t n, SubnetEntry& entry) const;
  virtual int32_t TotalSubnets() const;        // usableSubnets + 2
  virtual int32_t AddressesPerSubnet() const;  // usableHosts + 2
  virtual int32_t HostBits() const;
  virtual int32_t SubnetBits() const;
  virtual int32_t StepSize() const;  // blockSize
  // Frees the object.
  virtual void Release();

 private:
  // Stores the plan of s subnet bits and h host bits (all five plan fields).
  void StoreBits(int32_t s, int32_t h);
};

// A zero-filled plan with class index 0; the caller owns it (Release frees it).
SubnetPlan* CreateSubnetPlan();

// The whole text is four groups of 1 to 3 digits separated by points.
bool MatchesDottedQuad(const std::string& text);
// A dotted text that is a network of the class: first octet in range, host part zero.
bool CheckNetworkAddress(const std::string& text, int classIndex);
// A dotted text that is a contiguous mask covering the class bits, /29 at most.
bool CheckSubnetMask(const std::string& text, int classIndex);
