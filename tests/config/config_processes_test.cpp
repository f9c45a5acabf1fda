// Several processes share one configuration file, and a process that saves
// is killed at every step of the save: what any reader then finds must be a
// whole document that some process wrote.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "config/config_data.h"
#include "tests/config/marker_file.h"
#include "tests/config/stress_document.h"
#include "tests/config/watchdog.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

namespace fs = std::filesystem;
using testing::checkStressDocument;
using testing::ChildProcess;
using testing::fillStressDocument;
using testing::kDeadlockLimit;
using testing::mustEndWithin;
using testing::readBytes;
using testing::siblingExecutable;
using testing::TempDir;

void saveStressDocument(const String& path, int writer, int round) {
  CConfigData document;
  fillStressDocument(document, writer, round);
  ASSERT_TRUE(document.save(path));
}

// The writer of the whole document at path; -1 (with a failure) when there is none.
int wholeDocumentWriter(const String& path) {
  CConfigData document;
  if (!document.load(path)) {
    ADD_FAILURE() << "no document at " << toUtf8(path);
    return -1;
  }
  const std::string wrong = checkStressDocument(document);
  if (!wrong.empty()) {
    ADD_FAILURE() << wrong;
    return -1;
  }
  return document.getNumber(u"Writer");
}

std::vector<fs::path> temporaryFiles(const TempDir& dir) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(dir.path()))
    if (entry.path().extension() == ".tmp") found.push_back(entry.path());
  return found;
}

std::unique_ptr<ChildProcess> startChild(const TempDir& dir, const std::string& name, std::vector<std::string> args) {
  return std::make_unique<ChildProcess>(siblingExecutable("config_child"), args, dir.file(name + ".txt"));
}

TEST(ConfigProcesses, ConcurrentSavesAndLoadsSeeOnlyWholeDocuments) {
  constexpr int kProcesses = 4;
  constexpr int kRounds = 150;
  TempDir dir;
  const String path = dir.fileString("shared.cfg");
  saveStressDocument(path, 0, 0);

  const auto start = std::chrono::steady_clock::now();
  std::vector<std::unique_ptr<ChildProcess>> children;
  for (int writer = 1; writer <= kProcesses; ++writer) {
    children.push_back(startChild(dir, "writer" + std::to_string(writer),
                                  {"stress", toUtf8(path), std::to_string(writer), std::to_string(kRounds)}));
  }
  std::vector<int> exitCodes(kProcesses, -1);
  mustEndWithin(kDeadlockLimit, "the writing processes", [&] {
    for (int i = 0; i < kProcesses; ++i) exitCodes[static_cast<size_t>(i)] = children[static_cast<size_t>(i)]->wait();
  });
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  for (int i = 0; i < kProcesses; ++i) {
    const std::string output = readBytes(dir.file("writer" + std::to_string(i + 1) + ".txt"));
    EXPECT_EQ(0, exitCodes[static_cast<size_t>(i)]) << "writer " << i + 1 << ": " << output;
    std::printf("[ figures  ] writer %d: %s", i + 1, output.c_str());
  }
  std::printf("[ figures  ] %d processes x %d rounds of save and load: %.2f s, %.0f saves+loads per second\n",
              kProcesses, kRounds, seconds, 2.0 * kProcesses * kRounds / seconds);
  EXPECT_GT(wholeDocumentWriter(path), 0);
  EXPECT_TRUE(temporaryFiles(dir).empty());
}

TEST(ConfigProcesses, KilledAtEachStepOfSaveLeavesTheOldOrTheNewDocument) {
  const struct {
    const char* step;
    int writerFound;  // 1 wrote the old document, 2 is the one killed while saving
  } cases[] = {
      {"temporary-written", 1},
      {"replaced", 2},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TempDir dir;
    const String path = dir.fileString("k.cfg");
    saveStressDocument(path, 1, 1);
    auto child = startChild(dir, "child", {"stop-at", toUtf8(path), "2", cases[i].step, dir.file("at").u8string()});
    ASSERT_TRUE(testing::waitForMarker(dir.file("at"), *child)) << readBytes(dir.file("child.txt"));
    child.reset();  // killed at that step, with the lock held

    EXPECT_EQ(cases[i].writerFound, wholeDocumentWriter(path)) << "case " << i;
    // The dead process's lock is free and its leftover temporary file is no obstacle.
    mustEndWithin(kDeadlockLimit, "a save after a killed one", [&] { saveStressDocument(path, 3, 1); });
    EXPECT_EQ(3, wholeDocumentWriter(path)) << "case " << i;
    EXPECT_TRUE(temporaryFiles(dir).empty()) << "case " << i;
  }
}

TEST(ConfigProcesses, KilledAtAnyMomentLeavesAWholeDocument) {
  constexpr int kKills = 15;
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<int> delayMs(0, 40);
  TempDir dir;
  const String path = dir.fileString("r.cfg");
  saveStressDocument(path, 1, 1);
  int newerFound = 0;
  for (int i = 0; i < kKills; ++i) {
    const fs::path marker = dir.file("saved" + std::to_string(i));
    auto child = startChild(dir, "child", {"save-loop", toUtf8(path), std::to_string(i + 2), marker.u8string()});
    ASSERT_TRUE(testing::waitForMarker(marker, *child)) << readBytes(dir.file("child.txt"));
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
    child.reset();  // killed wherever it happens to be in its loop of saves

    const int writer = wholeDocumentWriter(path);
    EXPECT_EQ(i + 2, writer) << "kill " << i;
    if (writer == i + 2) ++newerFound;
  }
  std::printf("[ figures  ] %d of %d saving processes killed at random moments left a whole document\n", newerFound,
              kKills);
}

}  // namespace
}  // namespace Ostra
