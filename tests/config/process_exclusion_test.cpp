#include "config/process_exclusion.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include "config/config_data.h"
#include "tests/config/marker_file.h"
#include "tests/config/watchdog.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::kDeadlockLimit;
using testing::mustEndWithin;
using testing::siblingExecutable;
using testing::TempDir;

// Names unique to this run, so that parallel runs of the tests do not meet.
String uniqueRoot(const TempDir& dir) { return dir.string() + u"\\"; }

String longPath(const String& root, char16_t last) {
  return root + String(std::u16string(300 - static_cast<size_t>(root.length()), u'x')) +
         String(std::u16string(1, last));
}

// True when `second` had to wait until `first` released the lock.
bool secondWaitsForFirst(const String& first, const String& second) {
  CProcessExclusion holder(first);
  holder.lock();
  std::atomic<bool> released{false};
  bool acquiredAfterRelease = false;
  std::thread waiter([&] {
    CProcessExclusion other(second);
    other.lock();
    acquiredAfterRelease = released.load();
    other.unlock();
  });
  // Long enough for a lock that fails to exclude to let the waiter through.
  std::this_thread::sleep_for(150ms);
  released = true;
  holder.unlock();
  mustEndWithin(kDeadlockLimit, "the waiting thread", [&] { waiter.join(); });
  return acquiredAfterRelease;
}

TEST(ProcessExclusion, NameHasForwardSlashesAndAtMost259Units) {
  const String long259 = String(std::u16string(259, u'a'));
  const struct {
    String path;
    String name;
  } cases[] = {
      {u"C:\\A\\b.cfg", u"C:/A/b.cfg"},
      {u"C:/A/b.cfg", u"C:/A/b.cfg"},
      {u"c:\\a\\b.cfg", u"c:/a/b.cfg"},
      {u"", u""},
      {long259, long259},
      {long259 + u"b", long259},
      {u"\\\\" + long259, u"//" + long259.substring(0, 257)},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(cases[i].name, CProcessExclusion(cases[i].path).name()) << "case " << i;
}

TEST(ProcessExclusion, SameNameKeepsTheSecondWaiting) {
  TempDir dir;
  const String root = uniqueRoot(dir);
  const struct {
    String first;
    String second;
  } cases[] = {
      {root + u"b.cfg", root + u"b.cfg"},
      {root + u"A\\b.cfg", root + u"A/b.cfg"},
      {longPath(root, u'1'), longPath(root, u'2')},  // they differ after the 259th unit only
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_TRUE(secondWaitsForFirst(cases[i].first, cases[i].second)) << "case " << i;
}

TEST(ProcessExclusion, DifferentNamesDoNotWait) {
  TempDir dir;
  const String root = uniqueRoot(dir);
  const struct {
    String first;
    String second;
  } cases[] = {
      {root + u"A\\b.cfg", root + u"a\\b.cfg"},
      {root + u"b.cfg", u"b.cfg"},
      {root + u"b.cfg", root + u"b.cfg.tmp"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    CProcessExclusion holder(cases[i].first);
    holder.lock();
    mustEndWithin(kDeadlockLimit, "a lock of another name", [&] {
      std::thread([&] {
        CProcessExclusion other(cases[i].second);
        other.lock();
        EXPECT_TRUE(other.held()) << "case " << i;
      }).join();
    });
  }
}

TEST(ProcessExclusion, LockAgainAndDestructionRelease) {
  TempDir dir;
  const String path = uniqueRoot(dir) + u"r.cfg";
  mustEndWithin(kDeadlockLimit, "a second lock() of one exclusion", [&] {
    CProcessExclusion exclusion(path);
    exclusion.lock();
    exclusion.lock();  // releases the first hold, or it would wait for itself
    EXPECT_TRUE(exclusion.held());
  });
  // The destructor above released it: another thread gets it at once.
  mustEndWithin(kDeadlockLimit, "a lock after the holder was destroyed", [&] {
    std::thread([&] {
      CProcessExclusion other(path);
      other.lock();
      other.unlock();
      EXPECT_FALSE(other.held());
    }).join();
  });
}

TEST(ProcessExclusion, SecondProcessWaitsUntilTheFirstReleases) {
  TempDir dir;
  const String path = dir.fileString("p.cfg");
  ChildProcess holder(siblingExecutable("config_child"),
                      {"hold-for", toUtf8(path), dir.file("held").u8string(), dir.file("released").u8string(), "300"},
                      dir.file("child.txt"));
  ASSERT_TRUE(testing::waitForMarker(dir.file("held"), holder)) << testing::readBytes(dir.file("child.txt"));
  mustEndWithin(kDeadlockLimit, "a lock that another process releases", [&] {
    CProcessExclusion exclusion(path);
    exclusion.lock();
    EXPECT_TRUE(std::filesystem::exists(dir.file("released")));
  });
  EXPECT_EQ(0, holder.wait());
}

TEST(ProcessExclusion, AHolderThatNeverLetsGoFailsLoadAndSaveAfterThePatience) {
  TempDir dir;
  const String path = dir.fileString("h.cfg");
  testing::writeBytes(dir.file("h.cfg"), "k = old");
  ChildProcess holder(siblingExecutable("config_child"), {"hold", toUtf8(path), dir.file("held").u8string()},
                      dir.file("child.txt"));
  ASSERT_TRUE(testing::waitForMarker(dir.file("held"), holder)) << testing::readBytes(dir.file("child.txt"));
  setExclusionPatienceForTesting(200ms);
  mustEndWithin(kDeadlockLimit, "a lock that another process keeps", [&] {
    CConfigData document;
    EXPECT_EQ(LoadResult::Failed, document.read(path));
    document.setRaw(u"k", u"new");
    EXPECT_FALSE(document.save(path));
  });
  setExclusionPatienceForTesting(kExclusionPatience);
  EXPECT_EQ("k = old", testing::readBytes(dir.file("h.cfg")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("h.cfg.tmp")));
}

TEST(ProcessExclusion, KilledHolderDoesNotBlockOthers) {
  TempDir dir;
  const String path = dir.fileString("k.cfg");
  auto holder = std::make_unique<ChildProcess>(
      siblingExecutable("config_child"), std::vector<std::string>{"hold", toUtf8(path), dir.file("held").u8string()},
      dir.file("child.txt"));
  ASSERT_TRUE(testing::waitForMarker(dir.file("held"), *holder)) << testing::readBytes(dir.file("child.txt"));
  holder.reset();  // killed while it holds the lock
  mustEndWithin(kDeadlockLimit, "a lock whose holder was killed", [&] {
    CProcessExclusion exclusion(path);
    exclusion.lock();
    EXPECT_TRUE(exclusion.held());
  });
}

}  // namespace
}  // namespace Ostra
