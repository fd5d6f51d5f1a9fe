// The main window: its fifteen controls, the program's event loop and the
// Calculate sequence.
#pragma once

#include "calc/plan.hpp"

// State the main window holds for the whole run. Control fields are toolkit
// ids (0 until created).
struct MainWindow {
  SubnetPlan* plan = nullptr;  // borrowed; the caller creates and releases it
  int reportFont = 0;          // font id of the result area; 0 = control default
  int classList = 0;
  int methodList = 0;
  int numberLabel = 0;
  int numberEntry = 0;
  int maskEntry = 0;
  int networkEntry = 0;
  int calculate = 0;
  int resultArea = 0;
  int showNetworks = 0;
  int about = 0;
};

// Opens window 0 hidden, creates its controls and shows it. False (nothing
// shown) when the window cannot be opened.
bool OpenMainWindow(MainWindow& window);
// Handles events until the main window is asked to close.
void RunMainLoop(MainWindow& window);
