#include "base/shell.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <memory>
#include <thread>

#include "base/call_form.h"
#include "base/filesystem.h"
#include "tests/base/probe_report.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

namespace fs = std::filesystem;

constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

// The shell starts the program and returns at once; wait for what it leaves
// behind.  The limit only keeps a broken launch from hanging the run.
bool waitForFile(const fs::path& file) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  while (!fs::exists(file)) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

class ShellOpen : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!GetParam()) ansi_ = std::make_unique<ScopedAnsiCallsForTesting>();
  }
  std::unique_ptr<ScopedAnsiCallsForTesting> ansi_;
};

TEST_P(ShellOpen, StartsAProgramWithItsParameters) {
  const testing::TempDir temp;
  const fs::path report = temp.file("起動 report.txt");
  const String parameters = u"--write \"" + testing::fromPath(report) + u"\" /open \"C:\\My File.tpt\"";
  EXPECT_TRUE(shellOpen(testing::fromPath(testing::probeProgram()), parameters, kShowNormal));
  ASSERT_TRUE(waitForFile(report));
  const testing::ProbeReport seen = testing::parseProbeReport(testing::readBytes(report));
  ASSERT_EQ(5u, seen.arguments.size());
  EXPECT_EQ(String(u"/open"), seen.arguments[3]);
  EXPECT_EQ(String(u"C:\\My File.tpt"), seen.arguments[4]);
}

TEST_P(ShellOpen, MissingFileIsReportedNotThrown) {
  const testing::TempDir temp;
  EXPECT_FALSE(shellOpen(temp.fileString("no-such-program.exe"), kShowNormal));
  EXPECT_FALSE(shellOpen(temp.fileString("no-such-program.exe"), String(u"a b"), kShowNormal));
  EXPECT_FALSE(fs::exists(temp.file("no-such-program.exe")));
}

TEST_P(ShellOpen, ANameLongerThanTheShellTakesIsRefused) {
  // Some shells overran a stack on such a name instead of failing.
  const testing::TempDir temp;
  const String name = temp.string() + u"\\" + String(std::u16string(5000, u'a')) + u".exe";
  EXPECT_FALSE(shellOpen(name, kShowNormal));
  EXPECT_FALSE(shellOpen(name, String(u"a"), kShowNormal));
}

TEST(FindProgram, TheFileTheShellWouldOpen) {
  const testing::TempDir temp;
  fs::create_directories(temp.file("sub"));
  testing::writeBytes(temp.file("tool.exe"), "");
  const CurrentDirectoryScope keep;
  ASSERT_TRUE(setCurrentDirectory(temp.string()));
  const String here = currentDirectory() + u"\\";
  const struct {
    const char16_t* name;
    String want;
  } cases[] = {
      {u"tool.exe", here + u"tool.exe"},
      {u"sub\\other.exe", here + u"sub\\other.exe"},  // a folder: against the current one, found or not
      {u"no-such-tool-anywhere.exe", u"no-such-tool-anywhere.exe"},
      {u"https://example.invalid/a b", u"https://example.invalid/a b"},
      {u"mailto:a@example.invalid", u"mailto:a@example.invalid"},
      {u"", u""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].want, findProgram(cases[i].name)) << "case " << i;
}

INSTANTIATE_TEST_SUITE_P(CallForms, ShellOpen, ::testing::ValuesIn(availableCallForms()),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Wide" : "Ansi"; });

}  // namespace
}  // namespace Ostra
