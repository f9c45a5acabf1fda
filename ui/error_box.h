#pragma once

#include <exception>

#include "base/string.h"
#include "ui/wnd.h"

namespace Ostra {

// The exception's text (exceptionText: the wide message of our own exceptions)
// in an OK box, information icon, system modal, set foreground, owned by owner
// (none when its handle is null); the box's result.
int showExceptionBox(const std::exception& e, const CWnd& owner, const String& caption);
// The same box for a text.
int showErrorBox(const String& text, const CWnd& owner, const String& caption);

// Removes up to 16 pending WM_QUIT of the calling thread, stopping at the first
// look that finds none, so that a box shown next is not closed at once.
void drainQuitMessages();

}  // namespace Ostra
