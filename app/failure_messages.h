#pragma once

#include "base/string.h"

// The texts of the boxes that tell of a failed launch, load or save.

// The box text of a launch that failed, or that the shell would refuse.
Ostra::String launchFailedMessage(const Ostra::String& program);
// The box texts of the file operations.
Ostra::String loadFailedMessage(const Ostra::String& path);
Ostra::String saveFailedMessage(const Ostra::String& path);
