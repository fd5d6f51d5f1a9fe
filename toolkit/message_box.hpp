// Message boxes that are modal for every window of the calling thread.
#pragma once

// ShowMessageBox flags of the program's messages: the information icon and OK.
constexpr unsigned MessageBoxInformation = 0x40;  // MB_ICONINFORMATION | MB_OK
// A question with Yes and No, and what ShowMessageBox returns for Yes.
constexpr unsigned MessageBoxQuestion = 0x24;  // MB_ICONQUESTION | MB_YESNO
constexpr int MessageBoxYes = 6;               // IDYES

// MessageBoxA with every other enabled window of the thread disabled meanwhile.
// Returns the id of the button that closed the box.
int ShowMessageBox(const char* title, const char* text, unsigned flags);
