// Plain text on the clipboard.
#pragma once

// Replaces the clipboard with `text` as CF_TEXT. Non-zero on success.
int PutClipboardText(const char* text);
