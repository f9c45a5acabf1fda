// Two copies of the program in one folder saving their defaults at once: the
// shared settings file is always one copy's settings, whole.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/string_print.h"

namespace Ostra::e2e {
namespace {

constexpr int kRounds = 100;

struct Copy {
  const char16_t* hours;
  const char16_t* minutes;
  const char16_t* seconds;
  const char16_t* message;  // as typed
  const char16_t* stored;   // as the file holds it
  bool beep;
};

const Copy kCopies[2] = {
    {u"1", u"11", u"21", u"一番目\r\nA", u"一番目\\r\\nA", true},
    {u"2", u"22", u"42", u"二番目\r\nB", u"二番目\\r\\nB", false},
};

SettingsLines expectedFile(const Copy& c) {
  return withValues(defaultSettings(), {{u"TimeH", c.hours},
                                        {u"TimeM", c.minutes},
                                        {u"TimeS", c.seconds},
                                        {u"NotifyMsgText", c.stored},
                                        {u"NotifyBeep", c.beep ? u"true" : u"false"}});
}

// Clicks the button from a thread of its own once both threads are ready;
// false when the program did not handle it in time.
class Clicker {
 public:
  Clicker(HWND button, std::atomic<int>& ready) : button_(button), ready_(ready) {}
  void start() {
    thread_ = std::thread([this] {
      ready_.fetch_add(1);
      while (ready_.load() < 2) std::this_thread::yield();
      handled_ = SendMessageTimeoutW(button_, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(kAnswerLimit.count()),
                                     nullptr) != 0;
    });
  }
  bool join() {
    thread_.join();
    return handled_;
  }

 private:
  HWND button_;
  std::atomic<int>& ready_;
  std::thread thread_;
  bool handled_ = false;
};

TEST(ConcurrentDefaults, TheSharedFileIsAlwaysOneCopysWholeSettings) {
  ProgramFolder folder;
  KaironProcess first(folder);
  HWND firstDialog = first.waitForDialog();
  ASSERT_NE(nullptr, firstDialog) << "no first dialog; " << first.state();
  KaironProcess second(folder);
  HWND secondDialog = second.waitForDialog();
  ASSERT_NE(nullptr, secondDialog) << "no second dialog; " << second.state();

  const HWND dialogs[2] = {firstDialog, secondDialog};
  for (int i = 0; i < 2; ++i) {
    setControlText(dialogs[i], IDC_HOURS, kCopies[i].hours);
    setControlText(dialogs[i], IDC_MINUTES, kCopies[i].minutes);
    setControlText(dialogs[i], IDC_SECONDS, kCopies[i].seconds);
    setControlText(dialogs[i], IDC_MESSAGE_TEXT, kCopies[i].message);
    setChecked(dialogs[i], IDC_BEEP, kCopies[i].beep);
  }
  const SettingsLines wanted[2] = {expectedFile(kCopies[0]), expectedFile(kCopies[1])};

  int wins[2] = {0, 0};
  for (int round = 0; round < kRounds; ++round) {
    std::atomic<int> ready{0};
    Clicker a(GetDlgItem(firstDialog, IDC_SAVE_DEFAULT), ready);
    Clicker b(GetDlgItem(secondDialog, IDC_SAVE_DEFAULT), ready);
    a.start();
    b.start();
    const bool handledA = a.join();
    const bool handledB = b.join();
    ASSERT_TRUE(handledA && handledB) << "round " << round << ": a save did not finish; " << first.state() << "; "
                                      << second.state();

    const auto lines = readSettingsFile(folder.settingsFile());
    ASSERT_TRUE(lines.has_value()) << "round " << round << ": the settings file is not complete";
    const bool isFirst = *lines == wanted[0];
    const bool isSecond = *lines == wanted[1];
    ASSERT_TRUE(isFirst || isSecond) << "round " << round << ": the file mixes the copies' settings";
    ++wins[isFirst ? 0 : 1];
  }
  // Both copies saved every round; which one came last is up to the system.
  RecordProperty("first_copy_last", wins[0]);
  RecordProperty("second_copy_last", wins[1]);
  EXPECT_TRUE(first.running() && second.running());
}

}  // namespace
}  // namespace Ostra::e2e
