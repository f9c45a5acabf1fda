#include "ui/error_box.h"

#include <gtest/gtest.h>

#include "base/exception.h"
#include "box_watcher.h"
#include "tests/support/string_print.h"

namespace Ostra {
namespace {

using testing::BoxWatcher;

TEST(DrainQuitMessages, RemovesAtMostSixteenAndNothingElse) {
  const struct { int queued, left; } cases[] = {{0, 0}, {3, 0}, {16, 0}, {20, 4}};
  for (const auto& c : cases) {
    const DWORD me = GetCurrentThreadId();
    for (int i = 0; i < c.queued; ++i) PostThreadMessageW(me, WM_QUIT, 0, 0);
    PostThreadMessageW(me, WM_APP, 0, 0);
    drainQuitMessages();
    int left = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) ++left;
    EXPECT_EQ(c.left, left) << "queued " << c.queued;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE)) << "queued " << c.queued;
  }
}

TEST(ShowExceptionBox, ShowsWhatUnderTheCaptionWithTheOwnerGiven) {
  BoxWatcher watcher(u"エラー (3)");
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const struct {
    HWND owner;
    const char16_t* text;
  } cases[] = {{nullptr, u"一つ目の失敗"}, {owner, u"二つ目の失敗"}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(IDOK, showExceptionBox(RuntimeException(cases[i].text), CWnd(cases[i].owner), u"エラー (3)"));
    const auto boxes = watcher.waitFor(i + 1);
    ASSERT_EQ(i + 1, boxes.size());
    EXPECT_EQ(String(cases[i].text), boxes[i].text) << "case " << i;
    EXPECT_EQ(cases[i].owner, boxes[i].owner) << "case " << i;
  }
  DestroyWindow(owner);
}

}  // namespace
}  // namespace Ostra
