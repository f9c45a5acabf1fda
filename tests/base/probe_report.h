#pragma once

// Reading what the fs_probe helper reports about itself.
#include <filesystem>
#include <string>
#include <vector>

#include "base/string.h"

namespace Ostra::testing {

struct ProbeReport {
  String module;
  String directory;
  bool opened = false;
  std::vector<String> arguments;
};

// The report's "key=value" lines (UTF-8; a '\r' before a line end is dropped).
ProbeReport parseProbeReport(const std::string& text);

// The probe built beside the test executable.
std::filesystem::path probeProgram();

}  // namespace Ostra::testing
