// velkor's exit statuses and the messages that go with them.
#pragma once

#include <string>

// Exit statuses; 64 is the BSD sysexits code for a usage error.
constexpr int ExitSuccess = 0;
constexpr int ExitWriteFailed = 1;
constexpr int ExitRejected = 2;
constexpr int ExitOverlaps = 3;  // --overlaps found some, as diff's 1 says the files differ
constexpr int ExitUsage = 64;

// Prints "velkor: problem" on standard error; returns ExitRejected.
int Refused(const std::string& problem);
// Says that standard output could not be written; returns ExitWriteFailed.
int WriteFailed();
// The exit status once everything is printed: a full disk is not success.
int FinishOutput();
// FinishOutput when `written`, else WriteFailed.
int Written(bool written);
