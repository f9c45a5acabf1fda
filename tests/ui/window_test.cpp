#include "ui/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "base/exception.h"
#include "box_watcher.h"
#include "test_dialog.h"
#include "tests/support/string_print.h"

namespace Ostra {
namespace {

using testing::BoxWatcher;
using testing::FunctionHooker;
using testing::runTestDialog;

constexpr UINT kProbe = WM_APP + 1;
constexpr UINT kDone = WM_APP + 2;

// Ends the dialog when kDone arrives.
FunctionHooker endOnDone(CWindow& window) {
  return FunctionHooker([&window](WindowMessage& m) {
    if (m.message == kDone) window.destroy();
    return false;
  });
}

// The message numbers a hooker saw.
class RecordingHooker : public IMsgHooker {
 public:
  bool onMessage(WindowMessage& m) override {
    seen.push_back(m.message);
    return false;
  }
  bool saw(UINT message) const { return std::find(seen.begin(), seen.end(), message) != seen.end(); }
  std::vector<UINT> seen;
};

int pendingQuitMessages() {
  int n = 0;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) ++n;
  return n;
}

void postQuitMessages(int n) {
  for (int i = 0; i < n; ++i) PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 0, 0);
}

TEST(Window, DialogProcedureReturnsTheResultOnlyWhenSomeHookerHandled) {
  struct Answer {
    bool handles;
    std::optional<LRESULT> result;
  };
  const struct {
    Answer first, second;
    INT_PTR want;
  } cases[] = {
      {{false, {}}, {false, {}}, 0},  // nobody handled
      {{true, {}}, {false, {}}, 1},   // the preset result
      {{false, 7}, {true, {}}, 7},    // written by one, handled by another
      {{true, 5}, {true, 9}, 9},      // both called, the last write wins
      {{false, 5}, {false, {}}, 0},   // a written result alone counts for nothing
  };
  CWindow window;
  std::string log;
  Answer answers[2];
  FunctionHooker first([&](WindowMessage& m) {
    if (m.message != kProbe) return false;
    log += "1";
    if (answers[0].result) m.result = *answers[0].result;
    return answers[0].handles;
  });
  FunctionHooker second([&](WindowMessage& m) {
    if (m.message != kProbe) return false;
    log += "2";
    if (answers[1].result) m.result = *answers[1].result;
    return answers[1].handles;
  });
  FunctionHooker driver([&](WindowMessage& m) {
    if (m.message != WM_INITDIALOG) return false;
    for (size_t i = 0; i < std::size(cases); ++i) {
      answers[0] = cases[i].first;
      answers[1] = cases[i].second;
      log.clear();
      EXPECT_EQ(cases[i].want, CWindow::dialogProc(m.hwnd, kProbe, 0, 0)) << "case " << i;
      EXPECT_EQ("12", log) << "case " << i;
    }
    window.destroy();
    return false;
  });
  window.chain().add(first);
  window.chain().add(second);
  window.chain().add(driver);
  EXPECT_EQ(0, runTestDialog(window));
}

TEST(Window, BindsAtInitDialogAndIgnoresEverythingBefore) {
  CWindow window;
  RecordingHooker recorder;
  FunctionHooker driver([&](WindowMessage& m) {
    if (m.message != WM_INITDIALOG) return false;
    EXPECT_EQ(m.hwnd, window.handle());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&window), GetWindowLongPtrW(m.hwnd, DWLP_USER));
    // The procedure handed to the system knows no object before WM_INITDIALOG.
    EXPECT_EQ(0, CWindow::initialDialogProc(m.hwnd, kProbe, 0, 0));
    window.destroy();
    return false;
  });
  window.chain().add(recorder);
  window.chain().add(driver);
  EXPECT_EQ(nullptr, window.handle());
  runTestDialog(window);
  ASSERT_FALSE(recorder.seen.empty());
  EXPECT_EQ(static_cast<UINT>(WM_INITDIALOG), recorder.seen.front());
  EXPECT_FALSE(recorder.saw(kProbe));
}

TEST(Window, UnbindsAtNcDestroyAndLaterMessagesReachNobody) {
  CWindow window;
  RecordingHooker recorder;
  HWND dialog = nullptr;
  bool checkedAtNcDestroy = false;
  FunctionHooker driver([&](WindowMessage& m) {
    if (m.message == WM_INITDIALOG) {
      dialog = m.hwnd;
      window.destroy();
    }
    if (m.message == WM_NCDESTROY) {
      checkedAtNcDestroy = true;
      EXPECT_EQ(nullptr, window.handle());
      EXPECT_EQ(0, GetWindowLongPtrW(m.hwnd, DWLP_USER));
      EXPECT_EQ(0, CWindow::dialogProc(m.hwnd, kProbe, 0, 0));
    }
    return false;
  });
  window.chain().add(recorder);
  window.chain().add(driver);
  runTestDialog(window);
  EXPECT_TRUE(checkedAtNcDestroy);
  EXPECT_TRUE(recorder.saw(WM_DESTROY));
  EXPECT_EQ(0, CWindow::dialogProc(dialog, kProbe, 0, 0));
  EXPECT_FALSE(recorder.saw(kProbe));
}

TEST(Window, DestroyEndsTheDialogOnceAndDoesNothingWithoutAWindow) {
  CWindow window;
  EXPECT_EQ(0, window.destroy());
  int first = -1, second = -1;
  FunctionHooker driver([&](WindowMessage& m) {
    if (m.message != WM_INITDIALOG) return false;
    first = window.destroy();
    EXPECT_EQ(nullptr, window.handle());
    second = window.destroy();
    return false;
  });
  window.chain().add(driver);
  EXPECT_EQ(0, runTestDialog(window));
  EXPECT_NE(0, first);
  EXPECT_EQ(0, second);
}

TEST(Window, EndSessionEndsTheDialogOnlyWhenTheSessionEnds) {
  for (const WPARAM ending : {FALSE, TRUE}) {
    CWindow window;
    bool openAfter = false;
    FunctionHooker driver([&](WindowMessage& m) {
      if (m.message != WM_INITDIALOG) return false;
      SendMessageW(m.hwnd, WM_ENDSESSION, ending, 0);
      openAfter = window.handle() != nullptr;
      window.destroy();
      return false;
    });
    window.chain().add(driver);
    EXPECT_EQ(0, runTestDialog(window)) << "wParam " << ending;
    // FALSE: the shutdown was cancelled.
    EXPECT_EQ(ending == FALSE, openAfter) << "wParam " << ending;
  }
}

TEST(Window, MissingTemplateThrowsWin32Exception) {
  CWindow window;
  try {
    window.doModal(CModalDialogParameter(IDD_TEST + 999));
    FAIL() << "no exception";
  } catch (const Win32Exception& e) {
    const std::string prefix = defaultEncoding().encode(String(u"ダイアログの作成に失敗"));
    EXPECT_EQ(prefix, std::string(e.what()).substr(0, prefix.size()));
  }
}

TEST(Window, HookerFailureShowsErrorBoxOwnedByTheDialogWhichGoesOn) {
  BoxWatcher watcher(u"エラー (3)");
  CWindow window;
  HWND dialog = nullptr;
  FunctionHooker thrower([&](WindowMessage& m) -> bool {
    if (m.message == WM_INITDIALOG) {
      dialog = m.hwnd;
      PostMessageW(m.hwnd, kProbe, 0, 0);
    }
    if (m.message != kProbe) return false;
    PostMessageW(m.hwnd, kDone, 0, 0);
    // Left in the queue, these would close the box at once and then the dialog.
    postQuitMessages(3);
    throw RuntimeException(u"フックの失敗");
  });
  RecordingHooker later;
  FunctionHooker ender = endOnDone(window);
  window.chain().add(thrower);
  window.chain().add(later);
  window.chain().add(ender);
  runTestDialog(window);
  const auto boxes = watcher.boxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(String(u"フックの失敗"), boxes[0].text);
  EXPECT_EQ(dialog, boxes[0].owner);
  EXPECT_FALSE(later.saw(kProbe));
  EXPECT_TRUE(later.saw(kDone));
  EXPECT_EQ(0, pendingQuitMessages());
}

TEST(Window, FailingErrorReporterEndsInAnOwnerlessBox) {
  // At WM_INITDIALOG the first procedure is still the one running.
  for (const UINT failing : {static_cast<UINT>(WM_INITDIALOG), kProbe}) {
    BoxWatcher watcher(u"エラー (2)");
    CWindow window;
    window.setErrorReporter([](const std::exception&, void*) { throw RuntimeException(u"報告の失敗"); }, nullptr);
    FunctionHooker thrower([&](WindowMessage& m) -> bool {
      if (m.message == WM_INITDIALOG) PostMessageW(m.hwnd, kProbe, 0, 0);
      if (m.message != failing) return false;
      PostMessageW(m.hwnd, kDone, 0, 0);
      throw RuntimeException(u"フックの失敗");
    });
    FunctionHooker ender = endOnDone(window);
    window.chain().add(thrower);
    window.chain().add(ender);
    runTestDialog(window);
    const auto boxes = watcher.boxes();
    ASSERT_EQ(1u, boxes.size()) << "message " << failing;
    EXPECT_EQ(String(u"報告の失敗"), boxes[0].text);
    EXPECT_EQ(nullptr, boxes[0].owner);
  }
}

// Nothing may unwind through the system's frames around a dialog procedure:
// the 32-bit build cannot, and ends the process.  A failure the dialog cannot
// report (here of a type that is no std::exception) ends the dialog and
// leaves doModal instead.
TEST(Window, FailureTheDialogCannotReportEndsItAndLeavesDoModal) {
  struct Unreportable {};
  for (const UINT failing : {static_cast<UINT>(WM_INITDIALOG), kProbe}) {
    CWindow window;
    HWND dialog = nullptr;
    FunctionHooker thrower([&](WindowMessage& m) -> bool {
      dialog = m.hwnd;
      if (m.message == WM_INITDIALOG) PostMessageW(m.hwnd, kProbe, 0, 0);
      if (m.message == failing) throw Unreportable{};
      return false;
    });
    window.chain().add(thrower);
    EXPECT_THROW(runTestDialog(window), Unreportable) << "message " << failing;
    EXPECT_FALSE(IsWindow(dialog)) << "message " << failing;
  }
}

TEST(Window, ObjectDeletedWhileItsDialogRunsIsNoLongerReached) {
  BoxWatcher watcher(u"エラー (3)");
  auto window = std::make_unique<CWindow>();
  RecordingHooker after;
  FunctionHooker application([&](WindowMessage& m) -> bool {
    if (m.message == WM_INITDIALOG) PostMessageW(m.hwnd, kProbe, 0, 0);
    if (m.message != kProbe) return false;
    window.reset();
    EndDialog(m.hwnd, 0);
    throw RuntimeException(u"窓なしの失敗");
  });
  window->chain().add(application);
  window->chain().add(after);
  CWindow* running = window.get();
  EXPECT_EQ(0, running->doModal(CModalDialogParameter(IDD_TEST)));
  EXPECT_TRUE(after.saw(WM_INITDIALOG));
  // The window's last messages found no object to go to.
  EXPECT_FALSE(after.saw(WM_NCDESTROY));
  const auto boxes = watcher.boxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(String(u"窓なしの失敗"), boxes[0].text);
  EXPECT_EQ(nullptr, boxes[0].owner);
}

}  // namespace
}  // namespace Ostra
