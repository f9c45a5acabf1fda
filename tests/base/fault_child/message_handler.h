#pragma once

// Runs body twice the way window message handlers run: inside a window
// procedure, once for a sent and once for a posted message, where there are
// windows; twice directly elsewhere.
void runAsMessageHandler(void (*body)());
