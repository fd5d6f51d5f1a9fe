// Starting and stopping the toolkit.
#pragma once

// Starts the toolkit's services in their order (fonts, images, windows,
// controls, menus, common controls). Call once before any other toolkit call.
// Returns false when a service could not start.
bool ToolkitStart();
// Stops the services in the reverse order: patterns, popup menus, controls,
// windows (closing every open window), images, fonts. Does not end the process.
void ToolkitStop();
