#include "tests/app/dialog_session_win.h"

// After windows.h, which it needs.
#include <objbase.h>

#include <exception>
#include <iterator>
#include <string>
#include <system_error>
#include <thread>

#include "base/environment.h"
#include "base/platform_win.h"
#include "config/config_data.h"
#include "resources/resource.h"
#include "tests/app/window_search_win.h"
#include "tests/support/icon_picture_win.h"
#include "tests/support/temp_dir.h"
#include "ui/icon_cache.h"

namespace Ostra::testing {

namespace {

// WM_NULL with this wParam marks a place in the dialog thread's queue.
constexpr WPARAM kMarker = 0x4B41524F;
std::atomic<LPARAM> markersPosted{0};
std::atomic<LPARAM> markersTaken{0};

std::atomic<int64_t> clockMilliseconds{0};
std::atomic<int> clockSecondOfDay{0};
std::atomic<int> clockMillisecond{0};
std::atomic<int64_t> clockWall{0};

int64_t fakeMonotonic() { return clockMilliseconds.load(); }
int64_t fakeWall() { return clockWall.load(); }

LocalTime fakeLocalTime() {
  const int second = clockSecondOfDay.load();
  return LocalTime{second / 3600, second / 60 % 60, second % 60, clockMillisecond.load()};
}

HICON programIcon(int iconId) { return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId)); }

// A visible dialog-class window of the timer dialog's thread other than it:
// a message box or a file dialog.
HWND otherModalWindow(HWND timerDialog) {
  for (const HWND window : threadWindows(GetWindowThreadProcessId(timerDialog, nullptr))) {
    if (window != timerDialog && IsWindowVisible(window) && isDialogClass(window)) return window;
  }
  return nullptr;
}

LONGLONG performanceCounter() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

}  // namespace

bool inSingleThreadedApartment() {
  APTTYPE type{};
  APTTYPEQUALIFIER qualifier{};
  return SUCCEEDED(CoGetApartmentType(&type, &qualifier)) && (type == APTTYPE_STA || type == APTTYPE_MAINSTA);
}

// ---- FakeClock

TimerClock FakeClock::timerClock() {
  TimerClock clock;
  clock.monotonicMilliseconds = fakeMonotonic;
  clock.localTime = fakeLocalTime;
  clock.wallMilliseconds = fakeWall;
  return clock;
}

void FakeClock::set(int64_t milliseconds, LocalTime timeOfDay) {
  clockMilliseconds = milliseconds;
  clockSecondOfDay = (timeOfDay.hour * 60 + timeOfDay.minute) * 60 + timeOfDay.second;
  clockMillisecond = timeOfDay.millisecond;
  clockWall = clockSecondOfDay * int64_t{1000} + timeOfDay.millisecond;
}

void FakeClock::setWallClock(int64_t jumpMilliseconds) {
  clockWall += jumpMilliseconds;
  clockSecondOfDay = static_cast<int>(((clockWall / 1000) % SecondsPerDay + SecondsPerDay) % SecondsPerDay);
}

void FakeClock::advance(int64_t milliseconds) {
  clockMilliseconds += milliseconds;
  // The wall clock goes on with it (the countdown itself never reads it again).
  clockSecondOfDay = static_cast<int>((clockSecondOfDay + milliseconds / 1000) % SecondsPerDay);
  clockWall += milliseconds;
}

// ---- DialogDriver

void DialogDriver::command(int id) {
  deliver(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
}

void DialogDriver::tick(int64_t milliseconds) {
  FakeClock::advance(milliseconds);
  deliver(WM_TIMER, TimerId);
}

void DialogDriver::deliver(UINT message, WPARAM wParam, LPARAM lParam) {
  PostMessageW(dialog_, message, wParam, lParam);
  sync();
}

void DialogDriver::sync() {
  const LPARAM marker = ++markersPosted;
  PostMessageW(dialog_, WM_NULL, kMarker, marker);
  if (waitUntil(kWaitLimit, [&] { return markersTaken.load() >= marker || !IsWindow(dialog_); })) return;
  ADD_FAILURE() << "the dialog's thread did not come back to its messages in time";
}

String DialogDriver::caption() const { return windowText(dialog_); }

String DialogDriver::text(int id) const { return windowText(GetDlgItem(dialog_, id)); }

void DialogDriver::setText(int id, const String& text) {
  SendMessageTimeoutW(GetDlgItem(dialog_, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(text)), SMTO_NORMAL,
                      kWaitLimitMilliseconds, nullptr);
}

bool DialogDriver::enabled(int id) const { return IsWindowEnabled(GetDlgItem(dialog_, id)) != FALSE; }

bool DialogDriver::checked(int id) const {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(GetDlgItem(dialog_, id), BM_GETCHECK, 0, 0, SMTO_NORMAL, kWaitLimitMilliseconds, &state);
  return state == BST_CHECKED;
}

void DialogDriver::setChecked(int id, bool on) {
  SendMessageTimeoutW(GetDlgItem(dialog_, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0, SMTO_NORMAL,
                      kWaitLimitMilliseconds, nullptr);
  command(id);
}

bool DialogDriver::classIconIs(int iconId) const {
  return reinterpret_cast<HICON>(GetClassLongPtrW(dialog_, GCLP_HICON)) == programIcon(iconId);
}

bool DialogDriver::trayIconIs(int iconId) const {
  // Drawn for the notification area's size, not the shared 32-pixel icon.
  return tray().isShown() &&
         iconPicture(tray().recordForTesting().hIcon) == resourcePicture(iconId, smallIconPixels(dialog_));
}

bool DialogDriver::windowIconsAre(int iconId) const {
  const auto shown = [this](WPARAM which) {
    DWORD_PTR icon = 0;
    SendMessageTimeoutW(dialog_, WM_GETICON, which, 0, SMTO_NORMAL, kWaitLimitMilliseconds, &icon);
    return iconPicture(reinterpret_cast<HICON>(icon));
  };
  return shown(ICON_SMALL) == resourcePicture(iconId, smallIconPixels(dialog_)) &&
         shown(ICON_BIG) == resourcePicture(iconId, largeIconPixels(dialog_));
}

HWND DialogDriver::focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

int DialogDriver::focusedControl() const { return focus() == nullptr ? 0 : GetDlgCtrlID(focus()); }

void DialogDriver::pressKey(UINT key) {
  const HWND target = focus() != nullptr ? focus() : dialog_;
  PostMessageW(target, WM_KEYDOWN, key, 1);
  if (key == VK_SPACE) PostMessageW(target, WM_CHAR, u' ', 1);
  PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
  sync();
}

void DialogDriver::pressAlt(char16_t letter) {
  PostMessageW(focus() != nullptr ? focus() : dialog_, WM_SYSCHAR, letter, 0x20000001);  // with Alt down
  sync();
}

void DialogDriver::activate() {
  // Carried out on the dialog's thread, as a posted message.
  SetForegroundWindow(dialog_);
  sync();
}

String DialogDriver::trayTip() const { return Ostra::fromWide(tray().recordForTesting().szTip); }

HWND DialogDriver::openMenu(UINT message, WPARAM wParam, LPARAM lParam) {
  deliver(message, wParam, lParam);
  const HWND menu = waitForMenuWindow(GetWindowThreadProcessId(dialog_, nullptr), kWaitLimit);
  if (menu == nullptr) ADD_FAILURE() << "no menu opened";
  return menu;
}

void DialogDriver::choose(HWND menu, char16_t mnemonic) {
  typeInMenu(menu, mnemonic);
  // The system menu posts its command as it closes, after the first mark.
  sync();
  sync();
}

HWND DialogDriver::waitForWindow(const String& title) const {
  HWND found = waitForDialogTitled(GetCurrentProcessId(), title);
  if (found == nullptr) ADD_FAILURE() << "no window titled " << toUtf8(title);
  return found;
}

bool DialogDriver::dismiss(HWND box) const {
  if (pressAndWaitGone(box, IDOK)) return true;
  ADD_FAILURE() << "the box did not close";
  return false;
}

bool DialogDriver::waitClosed() const {
  return waitUntil(kWaitLimit, [this] { return !open(); });
}

bool DialogDriver::waitIdle() const {
  return waitUntil(kWaitLimit, [this] { return enabled(IDC_START); });
}

// ---- DialogSession

DialogSession* DialogSession::running_ = nullptr;

void DialogSession::run(const std::vector<String>& arguments, const std::function<void(DialogDriver&)>& script) {
  SoundDevice sound;
  sound.beep = recordBeep;
  if (!systemPlayer_) {
    sound.playSound = recordSound;
    sound.stopSound = recordStop;
  }
  CAppWindow app(FakeClock::timerClock(), sound, recordExecutionState);
  app_ = &app;
  running_ = this;
  // See the messages sent to the dialog before it does, and every message
  // its thread takes from its queue, in whichever modal loop.
  HHOOK spy = SetWindowsHookExW(WH_CALLWNDPROC, spyOnMessages, nullptr, GetCurrentThreadId());
  HHOOK queueSpy = SetWindowsHookExW(WH_GETMESSAGE, spyOnQueue, nullptr, GetCurrentThreadId());
  std::thread driver([&] { drive(script); });
  try {
    app.runDialog(arguments);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "the dialog failed: " << e.what();
  }
  driver.join();
  if (spy != nullptr) UnhookWindowsHookEx(spy);
  if (queueSpy != nullptr) UnhookWindowsHookEx(queueSpy);
  running_ = nullptr;
  app_ = nullptr;
}

std::vector<SessionEvent> DialogSession::events() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

std::vector<std::string> DialogSession::eventNames() const {
  std::vector<std::string> names;
  for (const SessionEvent& e : events()) names.push_back(e.what);
  return names;
}

bool DialogSession::recordBeep() {
  if (running_ == nullptr) return false;
  running_->note("beep", String());
  postEnd(running_->app_->dialogHandleForTesting(), RingStep::Beep);
  return true;
}

bool DialogSession::recordSound(const String& path) {
  DialogSession* session = running_;
  if (session == nullptr) return false;
  session->note("sound", path);
  session->soundDialog_ = session->app_->dialogHandleForTesting();
  session->soundPlaying_ = true;
  if (!session->soundHeld_) session->endSound();
  return true;
}

void DialogSession::endSound() {
  soundHeld_ = false;
  if (soundPlaying_.exchange(false)) postEnd(soundDialog_, RingStep::Sound);
}

void DialogSession::postEnd(HWND dialog, RingStep step) {
  PostMessageW(dialog, CAppWindow::SoundEndMessage, static_cast<WPARAM>(step), 1);
}

void DialogSession::recordStop() {
  if (running_ == nullptr) return;
  running_->note("stop", String());
  // Stopped: no end is told.
  running_->soundPlaying_ = false;
  running_->soundHeld_ = false;
}

EXECUTION_STATE WINAPI DialogSession::recordExecutionState(EXECUTION_STATE state) {
  if (running_ != nullptr) {
    std::lock_guard<std::mutex> lock(running_->mutex_);
    running_->executionStates_.push_back(state);
  }
  return ES_CONTINUOUS;
}

std::vector<EXECUTION_STATE> DialogSession::executionStates() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return executionStates_;
}

LRESULT CALLBACK DialogSession::spyOnMessages(int code, WPARAM wParam, LPARAM lParam) noexcept {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && running_ != nullptr && sent->message == WM_CLOSE &&
      GetDlgItem(sent->hwnd, IDC_HOURS) != nullptr) {
    running_->note("close", String());
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK DialogSession::spyOnQueue(int code, WPARAM wParam, LPARAM lParam) {
  const auto* taken = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && taken->message == WM_NULL && taken->wParam == kMarker)
    markersTaken = taken->lParam;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// On the dialog's thread, between its own steps.
void DialogSession::note(const std::string& what, const String& detail) {
  SessionEvent event;
  event.what = what;
  event.detail = detail;
  event.counter = performanceCounter();
  event.singleThreadedCom = inSingleThreadedApartment();
  const HWND dialog = app_->dialogHandleForTesting();
  event.caption = windowText(dialog);
  event.dialogVisible = IsWindowVisible(dialog) != FALSE;
  event.dialogIconic = IsIconic(dialog) != FALSE;
  event.trayShown = app_->trayForTesting() != nullptr && app_->trayForTesting()->isShown();
  event.startEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_START)) != FALSE;
  std::lock_guard<std::mutex> lock(mutex_);
  events_.push_back(event);
}

void DialogSession::drive(const std::function<void(DialogDriver&)>& script) {
  const HWND dialog = waitForTimerDialog(GetCurrentProcessId());
  if (dialog == nullptr) {
    ADD_FAILURE() << "the timer dialog did not appear";
    return;
  }
  // The modal loop shows the dialog when its queue first runs empty, and would
  // show it again if the script hid it before then; a box shown during the
  // initialisation keeps it hidden until the box is dismissed.
  if (!waitUntil(kWaitLimit, [&] { return IsWindowVisible(dialog) || otherModalWindow(dialog) != nullptr; })) {
    ADD_FAILURE() << "the timer dialog was never shown";
  }
  DialogDriver driver(dialog, *app_);
  // What the start-up posted (a Start, the load dialog) is handled before the
  // script looks: the dialog shows before its queue is worked through.
  driver.sync();
  try {
    script(driver);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "the script failed: " << e.what();
  }
  closeLeftovers(dialog);
}

void DialogSession::closeLeftovers(HWND dialog) {
  if (!IsWindow(dialog)) return;
  closedBySession_ = true;
  const bool closed = waitUntil(kWaitLimit, [&] {
    // Whatever modal window a failed script left open goes first.
    for (HWND window = otherModalWindow(dialog); window != nullptr; window = otherModalWindow(dialog)) {
      if (!pressAndWaitGone(window, IDCANCEL)) break;
    }
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    return waitUntil(std::chrono::milliseconds(500), [&] { return !IsWindow(dialog); });
  });
  if (closed) return;
  ADD_FAILURE() << "the dialog did not close";
  // The window's own hook ends the dialog at the end of the session.
  PostMessageW(dialog, WM_ENDSESSION, TRUE, 0);
}

// ---- TimerDialogTest

namespace {

void removeProgramFiles(const std::filesystem::path& config, const std::filesystem::path& templates) {
  std::error_code ignored;
  std::filesystem::permissions(config, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(config, ignored);
  // A test may block the temporary file's name with a folder.
  std::filesystem::path temporary = config;
  temporary += ".tmp";
  std::filesystem::remove(temporary, ignored);
  std::filesystem::remove_all(templates, ignored);
}

}  // namespace

void TimerDialogTest::SetUp() {
  removeProgramFiles(configFile(), templateFolder());
  FakeClock::set(1000000, LocalTime{12, 0, 0, 0});
}

void TimerDialogTest::TearDown() { removeProgramFiles(configFile(), templateFolder()); }

std::filesystem::path TimerDialogTest::configFile() { return toPath(defaultConfigPath()); }

std::filesystem::path TimerDialogTest::templateFolder() { return toPath(executableDirectory() + u"template"); }

}  // namespace Ostra::testing
