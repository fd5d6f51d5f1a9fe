// Why an input was refused, as the message box (or velkor's standard error)
// shows it: the go-to target and the Calculate sequence both return one.
#pragma once

#include <string>

struct Refusal {
  std::string title;  // empty when nothing was refused
  std::string text;
};

// A refusal as the engine words it ("line 3: 'x': ...") as the sentence of a
// message box: "Line 3: 'x': ....".
inline std::string AsSentence(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text + ".";
}
