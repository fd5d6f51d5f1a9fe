// Why an input was refused, as the message box (or velkor's standard error)
// shows it: the go-to target and the Calculate sequence both return one.
#pragma once

#include <string>

struct Refusal {
  std::string title;  // empty when nothing was refused
  std::string text;
};
