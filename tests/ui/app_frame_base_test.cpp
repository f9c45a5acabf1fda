#include "ui/app_frame_base.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/exception.h"
#include "box_watcher.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

using testing::BoxWatcher;

// A frame whose main and onError are the test's.
class TestFrame : public CAppFrameBase {
 public:
  std::function<int()> work;
  std::function<void(const std::exception&)> report;

 protected:
  int main() override { return work(); }
  void onError(const std::exception& e) override { report(e); }
};

TEST(AppFrameBase, InitKeepsTheEntryPointsArguments) {
  TestFrame frame;
  char commandLine[] = "/open x.tpt";
  frame.init(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOWMINIMIZED);
  EXPECT_EQ(GetModuleHandleW(nullptr), frame.instance());
  EXPECT_EQ(nullptr, frame.prevInstance());
  EXPECT_STREQ("/open x.tpt", frame.commandLine());
  EXPECT_EQ(SW_SHOWMINIMIZED, frame.showCommand());
}

TEST(AppFrameBase, RunGivesMainsValue) {
  TestFrame frame;
  frame.work = [] { return 7; };
  frame.report = [](const std::exception&) { ADD_FAILURE() << "no error was thrown"; };
  EXPECT_EQ(7, frame.run());
}

TEST(AppFrameBase, ExceptionFromMainIsReportedAfterQuitMessagesAreClearedAndGivesZero) {
  TestFrame frame;
  frame.work = []() -> int {
    PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 0, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 0, 0);
    throw IOException(u"C:\\x.cfg が開けませんでした");
  };
  std::string reported;
  bool quitPending = true;
  frame.report = [&](const std::exception& e) {
    reported = e.what();
    MSG msg;
    quitPending = PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
  };
  EXPECT_EQ(0, frame.run());
  EXPECT_EQ(IOException(u"C:\\x.cfg が開けませんでした").what(), reported);
  EXPECT_FALSE(quitPending);
}

TEST(AppFrameBase, ProgramWhoseMainThrowsShowsOneBoxAndExitsWithZero) {
  // With quit requests queued the box must still stay until it is answered.
  for (const char* quits : {"0", "3"}) {
    testing::TempDir dir;
    testing::ChildProcess child(testing::siblingExecutable("ui_frame_child"), {quits}, dir.file("output.txt"));
    BoxWatcher watcher(u"エラー発生：終了します", child.id());
    const auto boxes = watcher.waitFor(1);
    ASSERT_EQ(1u, boxes.size()) << "quits " << quits;
    EXPECT_EQ(String(u"テストの例外です"), boxes[0].text);
    EXPECT_EQ(nullptr, boxes[0].owner);
    EXPECT_EQ(0, child.wait());
    EXPECT_EQ(1u, watcher.boxes().size());
  }
}

}  // namespace
}  // namespace Ostra
