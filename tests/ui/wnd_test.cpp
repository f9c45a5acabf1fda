#include "ui/wnd.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/encoding.h"
#include "box_watcher.h"
#include "test_dialog.h"
#include "tests/support/string_print.h"
#include "ui/window.h"

namespace Ostra {
namespace {

using testing::BoxWatcher;
using testing::FunctionHooker;
using testing::runTestDialog;

constexpr unsigned kTestTimer = 7;

// Runs the test dialog with `body` called at WM_INITDIALOG, then ends it.
void withTestDialog(const std::function<void(CWindow&)>& body) {
  CWindow window;
  FunctionHooker driver([&](WindowMessage& m) {
    if (m.message != WM_INITDIALOG) return false;
    body(window);
    window.destroy();
    return false;
  });
  window.chain().add(driver);
  runTestDialog(window);
}

TEST(Wnd, TextGoesBothWaysWithCharactersOutsideTheCodePage) {
  const char16_t* texts[] = {
      u"あと1時間02分05秒 / Kairon build-6",
      u"\u0100 Ā macron",     // in no Japanese code page
      u"tea \U0001F375 cup",  // outside the basic plane
      u"",
  };
  withTestDialog([&](CWindow& window) {
    for (const char16_t* text : texts) {
      for (const bool onControl : {true, false}) {
        CWnd target(onControl ? GetDlgItem(window.handle(), IDC_TEST_EDIT) : window.handle());
        target.setText(text);
        EXPECT_EQ(String(text), target.getText()) << (onControl ? "edit " : "caption ") << toUtf8(text);
      }
    }
  });
}

TEST(Wnd, GetIntReadsTheLeadingNumber) {
  const struct {
    const char16_t* text;
    int want;
  } cases[] = {{u" 12abc", 12}, {u"", 0}, {u"-7", -7}, {u"abc", 0}, {u"59", 59}};
  withTestDialog([&](CWindow& window) {
    CWnd edit(window, IDC_TEST_EDIT);
    for (const auto& c : cases) {
      edit.setText(c.text);
      EXPECT_EQ(c.want, edit.getInt()) << toUtf8(c.text);
    }
  });
}

TEST(Wnd, ChecksCountOnlyTheCheckedState) {
  const struct {
    int control;
    WPARAM state;
    bool want;
  } cases[] = {
      {IDC_TEST_CHECK, BST_CHECKED, true},
      {IDC_TEST_CHECK, BST_UNCHECKED, false},
      {IDC_TEST_THREE_STATE, BST_INDETERMINATE, false},
      {IDC_TEST_THREE_STATE, BST_CHECKED, true},
  };
  withTestDialog([&](CWindow& window) {
    for (const auto& c : cases) {
      SendMessageW(GetDlgItem(window.handle(), c.control), BM_SETCHECK, c.state, 0);
      EXPECT_EQ(c.want, window.item(c.control).isChecked()) << c.control << " state " << c.state;
    }
    for (const bool on : {true, false, true}) {
      window.item(IDC_TEST_CHECK).setCheck(on);
      EXPECT_EQ(on ? BST_CHECKED : BST_UNCHECKED,
                SendMessageW(GetDlgItem(window.handle(), IDC_TEST_CHECK), BM_GETCHECK, 0, 0));
    }
  });
}

TEST(Wnd, EnableSwitchesTheControl) {
  withTestDialog([](CWindow& window) {
    const CWnd button = window.item(IDC_TEST_BUTTON);
    for (const bool on : {false, true, false}) {
      button.enable(on);
      EXPECT_EQ(on, IsWindowEnabled(button.handle()) != FALSE);
    }
  });
}

TEST(Wnd, MissingControlIsANullHandleThatChangesNothing) {
  withTestDialog([](CWindow& window) {
    const CWnd missing = window.item(IDC_TEST_MISSING);
    EXPECT_EQ(nullptr, missing.handle());
    EXPECT_EQ(nullptr, CWnd(window, IDC_TEST_MISSING).handle());
    const String caption = window.getText();
    missing.setText(u"lost");
    missing.enable(false);
    missing.setCheck(true);
    EXPECT_EQ(String(), missing.getText());
    EXPECT_FALSE(missing.isChecked());
    EXPECT_EQ(0, missing.getInt());
    EXPECT_EQ(caption, window.getText());
    EXPECT_TRUE(IsWindowEnabled(window.handle()));
  });
}

TEST(Wnd, ClassIconIsTheProgramsIconResource) {
  withTestDialog([](CWindow& window) {
    for (const unsigned short id : {IDI_TEST_RED, IDI_TEST_BLUE}) {
      window.setClassIcon(id);
      const HICON want = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
      ASSERT_NE(nullptr, want);
      EXPECT_EQ(reinterpret_cast<ULONG_PTR>(want), GetClassLongPtrW(window.handle(), GCLP_HICON)) << id;
    }
  });
}

TEST(Wnd, TimerTicksArriveThroughTheChain) {
  CWindow window;
  int ticks = 0;
  bool killed = false;
  FunctionHooker counter([&](WindowMessage& m) {
    if (m.message == WM_INITDIALOG) {
      EXPECT_NE(0u, window.setTimer(kTestTimer, 10));
    }
    if (m.message != WM_TIMER || m.wParam != kTestTimer) return false;
    if (++ticks == 3) {
      killed = window.killTimer(kTestTimer);
      window.destroy();
    }
    return true;
  });
  window.chain().add(counter);
  runTestDialog(window);
  EXPECT_EQ(3, ticks);
  EXPECT_TRUE(killed);
}

TEST(Wnd, KillingAnUnknownTimerFails) {
  withTestDialog([](CWindow& window) { EXPECT_FALSE(window.killTimer(kTestTimer + 1)); });
}

TEST(Wnd, CloseSendsWmCloseOnlyToAWindowThatExists) {
  CWindow window;
  int closes = 0;
  int closesDuringCall = -1;
  HWND dialog = nullptr;
  FunctionHooker driver([&](WindowMessage& m) {
    if (m.message == WM_CLOSE) ++closes;
    if (m.message != WM_INITDIALOG) return false;
    dialog = m.hwnd;
    window.close();
    closesDuringCall = closes;  // sent, so already handled on return
    window.destroy();
    window.close();  // the handle is gone
    return false;
  });
  window.chain().add(driver);
  runTestDialog(window);
  EXPECT_EQ(1, closesDuringCall);
  EXPECT_EQ(1, closes);
  CWnd(dialog).close();  // the window itself is gone
  EXPECT_EQ(1, closes);
}

TEST(Wnd, ForceForegroundRaisesTheWindowAndKeepsTheLockTimeOut) {
  DWORD original = 0;
  SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &original, 0);
  constexpr DWORD kDistinct = 123457;
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<void*>(static_cast<UINT_PTR>(kDistinct)), 0);
  HWND other =
      CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  withTestDialog([&](CWindow& window) {
    SetForegroundWindow(other);
    ASSERT_EQ(other, GetForegroundWindow());
    EXPECT_TRUE(window.forceForeground()) << "it says whether it took";
    EXPECT_EQ(window.handle(), GetForegroundWindow());
    DWORD after = 0;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &after, 0);
    EXPECT_EQ(kDistinct, after);
  });
  DestroyWindow(other);
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<void*>(static_cast<UINT_PTR>(original)), 0);
}

TEST(Wnd, ForceForegroundDoesNotWaitForAForegroundWindowThatStoppedAnswering) {
  // Another thread's window in front, whose thread then stops taking messages.
  std::atomic<HWND> other{nullptr};
  std::atomic<bool> hanging{false};
  std::atomic<bool> answeringAgain{false};
  std::thread stuck([&] {
    HWND window = CreateWindowExW(0, L"STATIC", L"stuck", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    SetForegroundWindow(window);
    other = window;
    while (!hanging) {
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
      Sleep(10);
    }
    Sleep(3000);
    answeringAgain = true;
    DestroyWindow(window);
  });
  while (other == nullptr) Sleep(10);
  withTestDialog([&](CWindow& window) {
    hanging = true;
    Sleep(50);
    window.forceForeground();
    // Back before the other thread answers again: the alarm did not wait for it.
    EXPECT_FALSE(answeringAgain.load());
  });
  stuck.join();
}

TEST(Wnd, MessageBoxKeepsCharactersOutsideTheCodePage) {
  BoxWatcher watcher(u"メッセージ \u0100");
  const String text(u"時間です \u0100 \U0001F375");
  EXPECT_EQ(IDOK, CWnd(nullptr).messageBox(MB_OK | MB_ICONINFORMATION, u"メッセージ \u0100", text));
  const auto boxes = watcher.waitFor(1);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(text, boxes[0].text);
}

}  // namespace
}  // namespace Ostra
