// The child process of the configuration tests: it saves, loads and holds
// configuration files the way several copies of the program would, and lets
// itself be killed at a chosen step of a save.
//
//   config_child stress PATH WRITER ROUNDS    save and load in a loop, checking every load
//   config_child stop-at PATH WRITER STEP MARKER
//                                             save, and at STEP create MARKER and wait to be killed
//   config_child save-loop PATH WRITER MARKER save without end, MARKER after the first save
//   config_child hold PATH MARKER             take the file's lock, create MARKER, wait to be killed
//   config_child hold-for PATH MARKER DONE MS take the lock, MARKER, wait MS, create DONE, release
//
// Exit code 0 when every step went as expected; failures are printed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "config/config_data.h"
#include "config/process_exclusion.h"
#include "config/save_steps.h"
#include "tests/config/stress_document.h"

namespace {

using namespace Ostra;
using Clock = std::chrono::steady_clock;

[[noreturn]] void waitToBeKilled() {
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

void createMarker(const std::string& path) { std::ofstream(path) << "here\n"; }

String pathArg(const char* arg) { return fromUtf8(arg); }

int stress(const String& path, int writer, int rounds) {
  double longestSave = 0;
  double longestLoad = 0;
  for (int round = 1; round <= rounds; ++round) {
    CConfigData document;
    testing::fillStressDocument(document, writer, round);
    const auto saveStart = Clock::now();
    if (!document.save(path)) {
      std::printf("round %d: save failed\n", round);
      return 1;
    }
    const auto loadStart = Clock::now();
    CConfigData loaded;
    if (!loaded.load(path)) {
      std::printf("round %d: load failed\n", round);
      return 1;
    }
    const auto end = Clock::now();
    const std::string wrong = testing::checkStressDocument(loaded);
    if (!wrong.empty()) {
      std::printf("round %d: %s\n", round, wrong.c_str());
      return 1;
    }
    longestSave = std::max(longestSave, std::chrono::duration<double, std::milli>(loadStart - saveStart).count());
    longestLoad = std::max(longestLoad, std::chrono::duration<double, std::milli>(end - loadStart).count());
  }
  std::printf("longest-save-ms %.1f longest-load-ms %.1f\n", longestSave, longestLoad);
  return 0;
}

SaveStep stopStep;
std::string stopMarker;

void stopAtStep(SaveStep step, const String&) {
  if (step != stopStep) return;
  createMarker(stopMarker);
  waitToBeKilled();
}

int stopAt(const String& path, int writer, const std::string& step, const std::string& marker) {
  if (step == "temporary-written") {
    stopStep = SaveStep::TemporaryWritten;
  } else if (step == "replaced") {
    stopStep = SaveStep::Replaced;
  } else {
    std::printf("unknown step %s\n", step.c_str());
    return 2;
  }
  stopMarker = marker;
  setSaveStepObserver(stopAtStep);
  CConfigData document;
  testing::fillStressDocument(document, writer, 1);
  document.save(path);
  std::printf("the save ended without reaching %s\n", step.c_str());
  return 1;
}

int saveLoop(const String& path, int writer, const std::string& marker) {
  for (int round = 1;; ++round) {
    CConfigData document;
    testing::fillStressDocument(document, writer, round);
    if (!document.save(path)) {
      std::printf("round %d: save failed\n", round);
      return 1;
    }
    if (round == 1) createMarker(marker);
  }
}

int hold(const String& path, const std::string& marker) {
  CProcessExclusion exclusion(path);
  exclusion.lock();
  createMarker(marker);
  waitToBeKilled();
}

int holdFor(const String& path, const std::string& marker, const std::string& done, int milliseconds) {
  CProcessExclusion exclusion(path);
  exclusion.lock();
  createMarker(marker);
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  createMarker(done);
  exclusion.unlock();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "stress" && argc == 5) return stress(pathArg(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
  if (mode == "stop-at" && argc == 6) return stopAt(pathArg(argv[2]), std::atoi(argv[3]), argv[4], argv[5]);
  if (mode == "save-loop" && argc == 5) return saveLoop(pathArg(argv[2]), std::atoi(argv[3]), argv[4]);
  if (mode == "hold" && argc == 4) return hold(pathArg(argv[2]), argv[3]);
  if (mode == "hold-for" && argc == 6) return holdFor(pathArg(argv[2]), argv[3], argv[4], std::atoi(argv[5]));
  std::printf("usage: config_child stress|stop-at|save-loop|hold|hold-for ...\n");
  return 2;
}
