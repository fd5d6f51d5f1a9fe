// Message boxes that are modal for every window of the calling thread.
#pragma once

// ShowMessageBox flags of the program's messages: the information icon and OK.
constexpr unsigned MessageBoxInformation = 0x40;  // MB_ICONINFORMATION | MB_OK

// MessageBoxA with every other enabled window of the thread disabled meanwhile.
// Returns the id of the button that closed the box.
int ShowMessageBox(const char* title, const char* text, unsigned flags);
