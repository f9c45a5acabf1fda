#include <gtest/gtest.h>

#include <string>

#include "base/encoding.h"
#include "tests/support/child_process.h"

namespace Ostra {
namespace {

// Without a window to show it in, the notice goes to standard error.
TEST(FaultHandlers, TerminateAndAbortEndWithTheNoticeAndExitCode1) {
  const std::string notice = defaultEncoding().encode(u"エラー: 異常終了\n");
  for (const char* mode : {"terminate", "abort", "uncaught"}) {
    const testing::ChildResult result = testing::runChild(testing::siblingExecutable("fault_child"), {mode});
    EXPECT_EQ(1, result.exitCode) << mode;
    EXPECT_EQ(notice, result.output) << mode;
  }
}

}  // namespace
}  // namespace Ostra
