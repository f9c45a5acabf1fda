#include "base/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/call_form.h"
#include "tests/base/probe_report.h"
#include "tests/support/child_process.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

namespace fs = std::filesystem;

TEST(SplitCommandLine, QuotesBlanksAndTheirEdges) {
  const struct {
    const char16_t* line;
    std::vector<String> want;
  } cases[] = {
      {u"prog.exe  /open \"C:\\My File.tpt\"", {u"prog.exe", u"/open", u"C:\\My File.tpt"}},
      {u"a \"b", {u"a", u"b"}},
      {u"a \"", {u"a"}},
      {u"a \"\" b", {u"a", u"", u"b"}},
      {u"\"\"", {u""}},
      {u"", {}},
      {u"   ", {}},
      {u" \t lead", {u"lead"}},
      {u"tab\tinside x", {u"tab\tinside", u"x"}},
      {u"\"quoted\"tail next", {u"quoted", u"tail", u"next"}},
      {u"mid\"quote\" x", {u"mid\"quote\"", u"x"}},
      {u"back\\slash\\ \"C:\\dir\\\\\"", {u"back\\slash\\", u"C:\\dir\\\\"}},
      {u"trailing ", {u"trailing"}},
      {u"\"C:\\Program Files\\Kairon\\Kairon.exe\" 作業.tpt", {u"C:\\Program Files\\Kairon\\Kairon.exe", u"作業.tpt"}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].want, splitCommandLine(String(cases[i].line))) << "case " << i << ": " << toUtf8(cases[i].line);
  }
}

TEST(SplitCommandLine, EmptyArgumentsAreTheSharedEmptyText) {
  const std::vector<String> arguments = splitCommandLine(String(u"\"\" x"));
  ASSERT_EQ(2u, arguments.size());
  EXPECT_TRUE(arguments[0].sharesTextWith(emptyString()));
}

TEST(SplitCommandLine, OwnProcessStartsWithTheProgramInEveryCallForm) {
  const String wideLine = commandLine();
  for (const bool wide : availableCallForms()) {
    std::unique_ptr<ScopedAnsiCallsForTesting> ansi;
    if (!wide) ansi = std::make_unique<ScopedAnsiCallsForTesting>();
    // The test's own line is ASCII, so both forms give the same text.
    EXPECT_EQ(wideLine, commandLine()) << "wide " << wide;
    const std::vector<String> arguments = splitCommandLine();
    ASSERT_FALSE(arguments.empty());
    EXPECT_NE(std::string::npos, toUtf8(arguments[0]).find("base_tests")) << toUtf8(arguments[0]);
  }
}

TEST(SplitCommandLine, StartedProgramGetsItsArgumentsBack) {
  const testing::ChildResult result =
      testing::runChild(testing::probeProgram(), {"/open", "C:\\My File.tpt", "", "日本語 テンプレート", "x"});
  ASSERT_EQ(0, result.exitCode) << result.output;
  const testing::ProbeReport report = testing::parseProbeReport(result.output);
  ASSERT_EQ(6u, report.arguments.size()) << result.output;
  EXPECT_TRUE(fs::equivalent(testing::probeProgram(), testing::toPath(report.arguments[0]))) << result.output;
  const std::vector<String> rest(report.arguments.begin() + 1, report.arguments.end());
  const std::vector<String> want = {u"/open", u"C:\\My File.tpt", u"", u"日本語 テンプレート", u"x"};
  EXPECT_EQ(want, rest);
}

// A program started from a folder whose name the ANSI code page cannot hold
// still knows where it is, and the path it gets leads back to it.
TEST(ModulePath, HoldsNamesOutsideTheAnsiCodePage) {
  const testing::TempDir temp;
  const fs::path folder = temp.file("한국어 Ελληνικά 日本");
  fs::create_directories(folder);
  const fs::path program = folder / testing::probeProgram().filename();
  fs::copy_file(testing::probeProgram(), program);
  const testing::ChildResult result = testing::runChild(program, {});
  ASSERT_EQ(0, result.exitCode) << result.output;
  const testing::ProbeReport report = testing::parseProbeReport(result.output);
  EXPECT_EQ(testing::fromPath(program), report.module) << result.output;
  EXPECT_EQ(testing::fromPath(folder) + String(std::u16string(1, fs::path::preferred_separator)), report.directory);
  EXPECT_TRUE(report.opened) << result.output;
}

}  // namespace
}  // namespace Ostra
