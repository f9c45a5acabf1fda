#include "ui/tray_icon.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "base/encoding.h"
#include "base/platform_win.h"
#include "test_dialog.h"
#include "tests/support/icon_picture_win.h"
#include "tests/support/string_print.h"
#include "tests/support/win/refusing_shell_win.h"

namespace Ostra {
namespace {

using testing::pumpMessages;

constexpr unsigned kTrayCallback = 0x8001;
// Enough rounds for the shell to take an add it handles asynchronously.
constexpr int kShellRounds = 5;

// A hidden window of this thread to own the icons.
class OwnerWindow {
 public:
  OwnerWindow()
      : handle_(
            CreateWindowExW(0, L"STATIC", L"tray owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)) {}
  ~OwnerWindow() { DestroyWindow(handle_); }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  HWND handle() const { return handle_; }

 private:
  HWND handle_;
};

// Whether the shell holds an icon with this record's owner and id: only then
// does it accept a modify.
bool shellHas(const NOTIFYICONDATAW& record) {
  NOTIFYICONDATAW copy = record;
  return Shell_NotifyIconW(NIM_MODIFY, &copy) != FALSE;
}

void shellDelete(const NOTIFYICONDATAW& record) {
  NOTIFYICONDATAW copy = record;
  Shell_NotifyIconW(NIM_DELETE, &copy);
}

TEST(TrayIcon, RecordIsTheFirstVersionLayoutWithTheWindowsFirstId) {
  OwnerWindow owner;
  CTrayIcon icon(owner.handle(), kTrayCallback);
  const NOTIFYICONDATAW& record = icon.recordForTesting();
  EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE), record.cbSize);
  EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), icon.ansiRecord().cbSize);
  EXPECT_EQ(owner.handle(), record.hWnd);
  EXPECT_EQ(1u, record.uID);
  EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), record.uFlags);
  EXPECT_EQ(kTrayCallback, record.uCallbackMessage);
  EXPECT_EQ(nullptr, record.hIcon);
  EXPECT_EQ(L'\0', record.szTip[0]);
  EXPECT_FALSE(icon.isShown());
}

TEST(TrayIcon, AddModifyAndRemove) {
  OwnerWindow owner;
  auto icon = std::make_unique<CTrayIcon>(owner.handle(), kTrayCallback);
  const NOTIFYICONDATAW record = icon->recordForTesting();
  icon->remove();  // hidden: nothing to do
  EXPECT_FALSE(icon->isShown());

  ASSERT_TRUE(icon->setIcon(IDI_TEST_BLUE));
  EXPECT_TRUE(icon->isShown());
  // Keyboard events from the shell, and version 4 still shows the tooltip.
  EXPECT_GE(icon->version(), static_cast<unsigned>(NOTIFYICON_VERSION));
  EXPECT_EQ(icon->version() == NOTIFYICON_VERSION_4, (icon->recordForTesting().uFlags & NIF_SHOWTIP) != 0);
  // At the notification area's size, not stretched there from 32 pixels.
  EXPECT_EQ(testing::resourcePicture(IDI_TEST_BLUE, GetSystemMetrics(SM_CXSMICON)),
            testing::iconPicture(icon->recordForTesting().hIcon));
  pumpMessages(kShellRounds);
  EXPECT_TRUE(shellHas(record));
  // A second add of the same id would be refused: this one must be a modify.
  EXPECT_TRUE(icon->setIcon(IDI_TEST_RED));
  // At the notification area's size, not stretched there from 32 pixels.
  EXPECT_EQ(testing::resourcePicture(IDI_TEST_RED, GetSystemMetrics(SM_CXSMICON)),
            testing::iconPicture(icon->recordForTesting().hIcon));
  EXPECT_TRUE(icon->setTip(u"あと9秒"));

  icon->remove();
  EXPECT_FALSE(icon->isShown());
  EXPECT_FALSE(shellHas(record));

  // Shown again, then gone with the object.
  ASSERT_TRUE(icon->setIcon(IDI_TEST_BLUE));
  pumpMessages(kShellRounds);
  EXPECT_TRUE(shellHas(record));
  icon.reset();
  EXPECT_FALSE(shellHas(record));
}

TEST(TrayIcon, RefusedDeleteKeepsTheIconShown) {
  OwnerWindow owner;
  CTrayIcon icon(owner.handle(), kTrayCallback);
  ASSERT_TRUE(icon.setIcon(IDI_TEST_BLUE));
  pumpMessages(kShellRounds);
  shellDelete(icon.recordForTesting());
  icon.remove();
  EXPECT_TRUE(icon.isShown());
  EXPECT_FALSE(icon.setTip(u"refused"));
  EXPECT_TRUE(icon.isShown());
}

// The wide record keeps every character whatever the code page (1252 has no
// Japanese, UTF-8 needs three bytes for each).
TEST(TrayIcon, TipIsCutTo63UnitsOr63BytesOnACharacterBoundary) {
  const struct {
    std::u16string tip;
    std::u16string wantWide;
    std::u16string wantAnsi;  // empty: a character no code page has
  } cases[] = {
      {u"Kairon", u"Kairon", u"Kairon"},
      {std::u16string(100, u'a'), std::u16string(63, u'a'), std::u16string(63, u'a')},
      {std::u16string(63, u'b'), std::u16string(63, u'b'), std::u16string(63, u'b')},
      // 62 bytes in code page 932: the 32nd would be cut in half.
      {std::u16string(40, u'あ'), std::u16string(40, u'あ'), std::u16string(31, u'あ')},
      {std::u16string(62, u'c') + u"\U0001F375", std::u16string(62, u'c'), u""},
  };
  OwnerWindow owner;
  CTrayIcon icon(owner.handle(), kTrayCallback);
  for (const auto& c : cases) {
    EXPECT_TRUE(icon.setTip(c.tip));
    EXPECT_EQ(String(c.wantWide), fromWide(icon.recordForTesting().szTip)) << toUtf8(c.tip);
    const std::string want = defaultEncoding().encode(c.wantAnsi);
    if (c.wantAnsi.empty() || want.find('?') != std::string::npos) continue;  // not in this code page
    EXPECT_EQ(want, std::string(icon.ansiRecord().szTip)) << toUtf8(c.tip);
  }
}

TEST(TrayIcon, TipBeforeTheFirstIconWaitsForIt) {
  OwnerWindow owner;
  CTrayIcon icon(owner.handle(), kTrayCallback);
  // A modify of an icon the shell does not have would fail: true means no call.
  EXPECT_TRUE(icon.setTip(u"あと1時間02分05秒 / Kairon build-6"));
  EXPECT_FALSE(icon.isShown());
  EXPECT_FALSE(shellHas(icon.recordForTesting()));
  const String tip = fromWide(icon.recordForTesting().szTip);
  ASSERT_TRUE(icon.setIcon(IDI_TEST_BLUE));
  EXPECT_EQ(tip, fromWide(icon.recordForTesting().szTip));
  pumpMessages(kShellRounds);
  EXPECT_TRUE(icon.setTip(u"あと1時間02分04秒 / Kairon build-6"));
}

TEST(TrayIcon, TwoIconsOfOneWindowHaveTheirOwnIds) {
  OwnerWindow owner;
  CTrayIcon first(owner.handle(), kTrayCallback);
  CTrayIcon second(owner.handle(), kTrayCallback);
  EXPECT_EQ(2u, second.recordForTesting().uID);
  ASSERT_TRUE(first.setIcon(IDI_TEST_BLUE));
  ASSERT_TRUE(second.setIcon(IDI_TEST_RED));
  pumpMessages(kShellRounds);
  EXPECT_TRUE(shellHas(first.recordForTesting()));
  EXPECT_TRUE(shellHas(second.recordForTesting()));
  first.remove();
  EXPECT_FALSE(shellHas(first.recordForTesting()));
  EXPECT_TRUE(shellHas(second.recordForTesting()));
}

// After a DPI change or a remote session the shell announces itself again but
// keeps our icon; a restarted one that is not up yet refuses everything.
TEST(TrayIcon, TaskbarCreatedKeepsAnIconTheShellHeldOn) {
  OwnerWindow owner;
  CTrayIcon icon(owner.handle(), kTrayCallback);
  ASSERT_TRUE(icon.setIcon(IDI_TEST_BLUE));
  pumpMessages(kShellRounds);
  const WindowMessage rebuilt{owner.handle(), CTrayIcon::taskbarCreatedMessage(), 0, 0, 1};
  EXPECT_TRUE(icon.handleTaskbarCreated(rebuilt));
  EXPECT_TRUE(icon.isShown());
  {
    testing::RefusingShell shell;
    icon.handleTaskbarCreated(rebuilt);
    EXPECT_FALSE(icon.isShown());
    EXPECT_EQ(2, shell.refused()) << "an add, then a modify";
  }
  // Still held by the real shell, though hidden here: removed all the same.
  icon.remove();
  EXPECT_FALSE(shellHas(icon.recordForTesting()));
}

TEST(TrayIcon, TaskbarCreatedPutsAShownIconBack) {
  OwnerWindow owner;
  CTrayIcon shown(owner.handle(), kTrayCallback);
  CTrayIcon hidden(owner.handle(), kTrayCallback);
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  ASSERT_NE(0u, taskbarCreated);
  EXPECT_EQ(taskbarCreated, CTrayIcon::taskbarCreatedMessage());

  ASSERT_TRUE(shown.setTip(u"あと5秒"));
  ASSERT_TRUE(shown.setIcon(IDI_TEST_BLUE));
  pumpMessages(kShellRounds);
  const NOTIFYICONDATAW before = shown.recordForTesting();
  // What the shell forgets when the taskbar is rebuilt.
  shellDelete(before);
  ASSERT_FALSE(shellHas(before));

  const WindowMessage other{owner.handle(), WM_APP, 0, 0, 1};
  EXPECT_FALSE(shown.handleTaskbarCreated(other));
  const WindowMessage rebuilt{owner.handle(), taskbarCreated, 0, 0, 1};
  EXPECT_TRUE(shown.handleTaskbarCreated(rebuilt));
  EXPECT_TRUE(hidden.handleTaskbarCreated(rebuilt));
  pumpMessages(kShellRounds);
  EXPECT_TRUE(shown.isShown());
  EXPECT_TRUE(shellHas(before));
  EXPECT_EQ(0, std::memcmp(&before, &shown.recordForTesting(), sizeof before));
  EXPECT_FALSE(hidden.isShown());
  EXPECT_FALSE(shellHas(hidden.recordForTesting()));
}

}  // namespace
}  // namespace Ostra
