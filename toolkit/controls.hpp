// Child controls: creation per kind and the operations every kind answers.
// Controls are named by ids; operations on a dead id do nothing and return 0
// or the empty text. Positions, sizes and widths are designed in pixels at 96
// DPI: the toolkit scales them to the window's DPI and gives them back designed.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/windows.hpp"

// ControlEvent details.
constexpr int DetailClick = 0;
constexpr int DetailRightClick = 1;
constexpr int DetailDoubleClick = 2;
constexpr int DetailRightDoubleClick = 3;
constexpr int DetailChange = 768;
constexpr int DetailFocusIn = 14000;
constexpr int DetailFocusOut = 14001;
constexpr int DetailDragBegin = 14002;

// ControlSetColor attributes; colours are COLORREF values, -1 = system default.
constexpr int ColorText = 1;
constexpr int ColorBackground = 2;
constexpr int DefaultColour = -1;

// CreateTextArea flag: read-only (ES_READONLY).
constexpr unsigned TextAreaReadOnly = 0x800;

// Stands for the stock DEFAULT_GUI_FONT in ControlSetFont.
inline NativeHandle const DefaultGuiFont = reinterpret_cast<NativeHandle>(intptr_t{-1});
// ControlSetFont's control argument for "controls created from now on".
constexpr int AllNewControls = -1;

// Each creation places the control in the current container at x, y (client
// coordinates) with outer size w x h, and returns the new id for AutoId, the
// native handle for an explicit id, 0 when the native control is not created.
intptr_t CreateFrameBox(int id, int x, int y, int w, int h, const char* title);
intptr_t CreateLabel(int id, int x, int y, int w, int h, const char* text);
intptr_t CreateDropDownList(int id, int x, int y, int w, int h);
intptr_t CreateTextEntry(int id, int x, int y, int w, int h, const char* text);
intptr_t CreateAddressEntry(int id, int x, int y, int w, int h);
intptr_t CreatePushButton(int id, int x, int y, int w, int h, const char* text);
intptr_t CreateTextArea(int id, int x, int y, int w, int h, unsigned flags);
// A bar that fills as a long piece of work gets on; its state is how far, from
// 0 (empty) to ProgressBarSteps (full).
constexpr int ProgressBarSteps = 1000;
intptr_t CreateProgressBar(int id, int x, int y, int w, int h);

void ControlSetText(int ctl, const char* text);
std::string ControlGetText(int ctl);
// Kind-specific state: a list's selected index (-1 none), an address entry's
// Ipv4Value, a button's check state, a progress bar's position.
void ControlSetState(int ctl, intptr_t value);
intptr_t ControlGetState(int ctl);
// Adds an item (list entry, text-area line); position -1 appends.
int ControlAddItem(int ctl, int position, const char* text);
int ControlAddColumn(int ctl, int position, const char* title, int width);
std::string ControlItemText(int ctl, int item, int column);
void ControlClearItems(int ctl);
int ControlCountItems(int ctl);
void ControlSetHidden(int ctl, int hide);
void ControlSetDisabled(int ctl, int disable);
// Gives the keyboard focus to the control.
void ControlSetFocus(int ctl);
// The control that has the keyboard focus in this thread (or holds the window
// that has it, as an address entry holds its fields); 0 when none has.
int FocusedControl();
// Gives the control a native font (or DefaultGuiFont). With AllNewControls it
// sets the font of controls created later instead. The font service's fonts
// and DefaultGuiFont are drawn at the size of their points at the window's DPI.
void ControlSetFont(int ctl, NativeHandle font);
void ControlSetColor(int ctl, int attribute, int colour);
int ControlGetColor(int ctl, int attribute);
int ControlX(int ctl);  // left edge in the parent's client coordinates
int ControlY(int ctl);
int ControlWidth(int ctl);  // outer size
int ControlHeight(int ctl);
// Gives the control a new outer size; its top-left corner stays.
void ControlSetSize(int ctl, int w, int h);
// Designed width of `text` on one line in the control's font, rounded up; 0
// for a dead id.
int ControlTextWidth(int ctl, const char* text);
NativeHandle ControlHandle(int ctl);
