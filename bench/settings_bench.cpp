// Several processes saving and loading one settings file: tools/bench.sh
// starts N copies of "stress" at once, then "check"; "wait" measures how soon a
// process gets the lock after its holder is killed.  Every loaded document is
// checked whole (the tests' self-checking documents), and anything else is
// counted, not stopped at, so that the figures say how often it happens.
//
//   settings_bench stress PATH WRITER ROUNDS [START]
//       from START (ms since 1970, so that every process begins together), one line: rounds, first and last moment (ms
//       since 1970), the longest save and load (their wait for the lock included) and the counts of failed saves and of
//       torn, empty and lost (missing) files seen
//   settings_bench check PATH ROUNDS
//       whether the file left at the end is whole and the last round of a writer
//   settings_bench wait PATH
//       takes the file's lock and prints the moment it got it (us since 1970)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "base/filesystem.h"
#include "base/string.h"
#include "config/config_data.h"
#include "config/process_exclusion.h"
#include "tests/config/stress_document.h"

namespace {

using namespace Ostra;
using Steady = std::chrono::steady_clock;

long long sinceEpoch(std::chrono::system_clock::duration unit) {
  return std::chrono::system_clock::now().time_since_epoch() / unit;
}

double msSince(Steady::time_point start) {
  return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

int stress(const String& path, int writer, int rounds, long long startMs) {
  const long long wait = startMs - sinceEpoch(std::chrono::milliseconds(1));
  if (wait > 0) std::this_thread::sleep_for(std::chrono::milliseconds(wait));
  double longestSave = 0;
  double longestLoad = 0;
  int failedSaves = 0, torn = 0, empty = 0, lost = 0;
  const long long first = sinceEpoch(std::chrono::milliseconds(1));
  for (int round = 1; round <= rounds; ++round) {
    CConfigData document;
    testing::fillStressDocument(document, writer, round);
    const auto saveStart = Steady::now();
    if (!document.save(path)) ++failedSaves;
    longestSave = std::max(longestSave, msSince(saveStart));

    const auto loadStart = Steady::now();
    CConfigData loaded;
    const bool read = loaded.load(path);
    longestLoad = std::max(longestLoad, msSince(loadStart));
    if (!read) {
      ++lost;  // no file at all where one must always be
    } else if (loaded.entries().empty()) {
      ++empty;
    } else if (!testing::checkStressDocument(loaded).empty()) {
      ++torn;
    }
  }
  const long long last = sinceEpoch(std::chrono::milliseconds(1));
  std::printf(
      "writer=%d rounds=%d first=%lld last=%lld longest-save-ms=%.2f longest-load-ms=%.2f failed-saves=%d torn=%d "
      "empty=%d lost=%d\n",
      writer, rounds, first, last, longestSave, longestLoad, failedSaves, torn, empty, lost);
  return failedSaves + torn + empty + lost == 0 ? 0 : 1;
}

int check(const String& path, int rounds) {
  CConfigData loaded;
  if (!loaded.load(path)) {
    std::printf("final=lost\n");
    return 1;
  }
  if (loaded.entries().empty() || !testing::checkStressDocument(loaded).empty()) {
    std::printf("final=torn\n");
    return 1;
  }
  // The last save of all was some writer's last round; an earlier round left
  // at the end means a later save was lost.
  const int round = loaded.getNumber(u"Round");
  std::printf("final=%s writer=%d round=%d\n", round == rounds ? "whole" : "stale", loaded.getNumber(u"Writer"), round);
  return round == rounds ? 0 : 1;
}

int wait(const String& path) {
  CProcessExclusion exclusion(path);
  exclusion.lock();
  const long long got = sinceEpoch(std::chrono::microseconds(1));
  std::printf("locked-us=%lld held=%d\n", got, exclusion.held() ? 1 : 0);
  std::fflush(stdout);
  return exclusion.held() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "stress" && (argc == 5 || argc == 6)) {
    return stress(fromUtf8(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), argc == 6 ? std::atoll(argv[5]) : 0);
  }
  if (mode == "check" && argc == 4) return check(fromUtf8(argv[2]), std::atoi(argv[3]));
  if (mode == "wait" && argc == 3) return wait(fromUtf8(argv[2]));
  std::printf("usage: settings_bench stress PATH WRITER ROUNDS [START] | check PATH ROUNDS | wait PATH\n");
  return 2;
}
