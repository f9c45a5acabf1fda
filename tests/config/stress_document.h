#pragma once

#include <string>

#include "config/config_data.h"

namespace Ostra::testing {

// A document whose every entry follows from (writer, round): its size, its
// number of keys and its texts all vary with them, so a reader can tell a
// whole document from a torn, empty or mixed one.
void fillStressDocument(CConfigData& document, int writer, int round);

// Empty when the document is exactly one that fillStressDocument makes;
// otherwise what is wrong with it.
std::string checkStressDocument(const CConfigData& document);

}  // namespace Ostra::testing
