// Time-of-day mode: the countdown ends on the wall clock's second.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/support/string_print.h"

namespace Ostra::e2e {
namespace {

using namespace std::chrono_literals;

constexpr int kMillisecondsPerDay = 86400 * 1000;

// Milliseconds since local midnight.
int localMillisecondOfDay() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond) * 1000 + now.wMilliseconds;
}

// How far after the start of target (a second of the day) the moment at is,
// across midnight either way.
int millisecondsAfter(int targetSecond, int at) {
  int late = at - targetSecond * 1000;
  if (late < -kMillisecondsPerDay / 2) late += kMillisecondsPerDay;
  if (late > kMillisecondsPerDay / 2) late -= kMillisecondsPerDay;
  return late;
}

TEST(TimeOfDay, ExpiresWhenTheTargetSecondBegins) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  setChecked(dialog, IDC_MINIMIZE_AT_START, false);
  setChecked(dialog, IDC_TIME_OF_DAY, true);

  // A few seconds ahead; past 23:59:59 the target is early tomorrow, which
  // the program takes as the next occurrence of that time.
  const int target = (localMillisecondOfDay() / 1000 + 4) % 86400;
  setControlText(dialog, IDC_HOURS, String::fromInt(target / 3600));
  setControlText(dialog, IDC_MINUTES, String::fromInt(target / 60 % 60));
  setControlText(dialog, IDC_SECONDS, String::fromInt(target % 60));
  click(dialog, IDC_START);
  const String started = windowTitle(dialog);
  EXPECT_TRUE(started == String(u"あと04秒 / Kairon build-6") || started == String(u"あと03秒 / Kairon build-6"))
      << toUtf8(started);

  HWND box = nullptr;
  waitUntil(10s, [&] {
    box = kairon.findWindow(L"#32770", u"メッセージ");
    return box != nullptr || !kairon.running();
  });
  const int seen = localMillisecondOfDay();
  ASSERT_NE(nullptr, box) << "no message box by the target time; " << kairon.state();
  const int late = millisecondsAfter(target, seen);
  EXPECT_GE(late, 0) << "the message came before its second";
  EXPECT_LT(late, 500) << "the message came " << late << " ms into its second";

  press(box);
  const auto exitCode = kairon.waitForExit(kAnswerLimit);
  ASSERT_TRUE(exitCode.has_value()) << "the program did not end after the message";
  EXPECT_EQ(0u, *exitCode);
}

}  // namespace
}  // namespace Ostra::e2e
