#include "config/process_exclusion.h"

#include <atomic>

namespace Ostra {

namespace {

// Windows object names may not hold '\' and are at most 260 units long.
constexpr int kMaxNameLength = 259;

String exclusionName(const String& path) {
  const String name = path.replaceAll(u"\\", u"/");
  return name.length() > kMaxNameLength ? name.substring(0, kMaxNameLength) : name;
}

std::atomic<long long> patienceMilliseconds{kExclusionPatience.count()};

}  // namespace

void setExclusionPatienceForTesting(std::chrono::milliseconds patience) { patienceMilliseconds = patience.count(); }

std::chrono::milliseconds exclusionPatience() { return std::chrono::milliseconds(patienceMilliseconds.load()); }

CProcessExclusion::CProcessExclusion(const String& path) : name_(exclusionName(path)) {}

}  // namespace Ostra
