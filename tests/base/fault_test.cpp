#include <gtest/gtest.h>

#include <string>

#include "base/encoding.h"
#include "tests/support/child_process.h"

namespace Ostra {
namespace {

std::string ansi(const String& text) { return defaultEncoding().encode(text); }

// The helper's report with the line ends of either platform made '\n'.
testing::ChildResult runFaultChild(const std::string& mode) {
  testing::ChildResult result = testing::runChild(testing::siblingExecutable("fault_child"), {mode});
  std::string lines;
  for (const char c : result.output)
    if (c != '\r') lines += c;
  result.output = lines;
  return result;
}

std::string caught(const char* className, const String& text) {
  return std::string(className) + "|" + ansi(text) + "|unwound\n";
}

// Functions, not constants: the process locale is set during static initialisation.
std::string accessViolation() { return caught("AccessViolationException", u"不正なメモリアクセスがありました"); }
std::string floatingPoint() { return caught("FPEException", u"浮動小数点数エラーがありました"); }
std::string invalidProgram() { return caught("InvalidProgramException", u"不正な命令が検出されました"); }

TEST(FaultHandlers, InstalledBeforeTheProgramStarts) {
  const testing::ChildResult result = runFaultChild("installed");
  EXPECT_EQ(0, result.exitCode);
  EXPECT_EQ("installed\n", result.output);
}

TEST(ProcessSetup, TheUsersLocaleIsSetBeforeTheProgramStarts) {
  const testing::ChildResult result = runFaultChild("locale");
  EXPECT_EQ(0, result.exitCode);
  EXPECT_EQ("user's\n", result.output);
}

TEST(FaultHandlers, FaultsUnwindToAStdExceptionHandlerWithTheirTexts) {
  const struct {
    const char* mode;
    std::string want;
  } cases[] = {
      {"access-violation", accessViolation()},
      {"integer-division", floatingPoint()},
      {"float-division", floatingPoint()},
      {"illegal-instruction", invalidProgram()},
  };
  for (const auto& c : cases) {
    const testing::ChildResult result = runFaultChild(c.mode);
    EXPECT_EQ(0, result.exitCode) << c.mode << ": " << result.output;
    EXPECT_EQ(c.want, result.output) << c.mode;
  }
}

TEST(FaultHandlers, LaterFaultsAndFaultsInsideACatchBlockAreCaughtToo) {
  const testing::ChildResult result = runFaultChild("repeated");
  EXPECT_EQ(0, result.exitCode) << result.output;
  EXPECT_EQ(accessViolation() + accessViolation() + floatingPoint() + invalidProgram() + accessViolation() +
                floatingPoint() + invalidProgram() + floatingPoint() + floatingPoint(),
            result.output);
}

// Where there are windows, inside a window procedure reached through both a
// sent and a posted message, as the dialog's handlers run.
TEST(FaultHandlers, FaultsInsideAMessageHandlerAreCaughtThere) {
  const testing::ChildResult result = runFaultChild("message-handler");
  EXPECT_EQ(0, result.exitCode) << result.output;
  const std::string once = accessViolation() + floatingPoint() + invalidProgram();
  EXPECT_EQ(once + once, result.output);
}

}  // namespace
}  // namespace Ostra
