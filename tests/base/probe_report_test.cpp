#include "tests/base/probe_report.h"

#include "tests/support/child_process.h"

namespace Ostra::testing {

ProbeReport parseProbeReport(const std::string& text) {
  ProbeReport report;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    at = end + 1;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    const String value = fromUtf8(line.substr(equals + 1));
    if (key == "module") report.module = value;
    if (key == "directory") report.directory = value;
    if (key == "opened") report.opened = value == String(u"yes");
    if (key == "arg") report.arguments.push_back(value);
  }
  return report;
}

std::filesystem::path probeProgram() { return siblingExecutable("fs_probe"); }

}  // namespace Ostra::testing
