// The end of a countdown: the dialog comes back, the chosen notifications run
// in their fixed order, then the dialog becomes idle and closes if asked to.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>
#include <tlhelp32.h>

#include <chrono>
#include <sstream>
#include <string>

#include "base/environment.h"
#include "base/filesystem.h"
#include "base/platform_win.h"
#include "resources/resource.h"
#include "tests/app/dialog_session_win.h"
#include "tests/app/window_search_win.h"
#include "tests/support/child_process.h"
#include "tests/support/environment_variable.h"
#include "tests/support/settings_file_bytes.h"
#include "tests/support/sound_files.h"
#include "tests/support/temp_dir.h"

namespace Ostra::testing {
namespace {

constexpr char kProbeName[] = "app_launch_probe.exe";

// What the launched probe wrote down about its start.
struct Launch {
  LONGLONG started = 0;
  String folder;
  std::vector<String> arguments;
};

// The probe program copied into a folder, and what it reports from there.
class Probe {
 public:
  explicit Probe(const std::filesystem::path& folder) : folder_(folder) {
    std::filesystem::copy_file(siblingExecutable("app_launch_probe"), folder / kProbeName);
  }
  String program() const { return fromPath(folder_ / kProbeName); }
  bool reported() const { return std::filesystem::exists(folder_ / "launched.txt"); }
  void forget() const { std::filesystem::remove(folder_ / "launched.txt"); }
  // The report can be read (the file may be there a moment before another process can open it).
  bool waitReported() const {
    return waitUntil(kWaitLimit, [this] { return launch().started != 0; });
  }
  // Running now, or already done.  Looked for among the processes first: one
  // that ends between the two looks has written its report before it ended.
  bool started() const { return running() || reported(); }

  Launch launch() const {
    Launch launch;
    std::istringstream lines(readBytes(folder_ / "launched.txt"));
    for (std::string line; std::getline(lines, line);) {
      const std::string word = line.substr(0, line.find(' '));
      const std::string rest = line.substr(word.size() + 1);
      if (word == "started") launch.started = std::stoll(rest);
      if (word == "cwd") launch.folder = fromUtf8(rest);
      if (word == "arg") launch.arguments.push_back(fromUtf8(rest));
    }
    return launch;
  }

 private:
  static bool running() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
      found = _wcsicmp(entry.szExeFile, L"app_launch_probe.exe") == 0;
    }
    CloseHandle(snapshot);
    return found;
  }

  std::filesystem::path folder_;
};

// Puts a folder in front of the process's search path, and the old path back.
class SearchPathPrefix {
 public:
  explicit SearchPathPrefix(const String& folder) {
    std::wstring old(32767, L'\0');
    old.resize(GetEnvironmentVariableW(L"PATH", old.data(), static_cast<DWORD>(old.size())));
    saved_ = old;
    SetEnvironmentVariableW(L"PATH", (std::wstring(wide(folder)) + L";" + old).c_str());
  }
  ~SearchPathPrefix() { SetEnvironmentVariableW(L"PATH", saved_.c_str()); }
  SearchPathPrefix(const SearchPathPrefix&) = delete;
  SearchPathPrefix& operator=(const SearchPathPrefix&) = delete;

 private:
  std::wstring saved_;
};

// Every notification off, the options too, and the count in seconds.
void prepare(DialogDriver& d, const char16_t* seconds) {
  for (const int id : {IDC_MESSAGE_ON, IDC_BEEP, IDC_SOUND_ON, IDC_PROGRAM_ON, IDC_MINIMIZE_AT_START, IDC_CLOSE_AT_END})
    d.setChecked(id, false);
  d.setText(IDC_SECONDS, seconds);
}

using Expiry = TimerDialogTest;

TEST_F(Expiry, ASoundThatCannotPlayBeepsInItsPlace) {
  // The system's player with a missing file: the beep stands in, unless it was chosen too (one beep then).
  for (const bool beepToo : {false, true}) {
    DialogSession session;
    session.useSystemPlayer();
    session.run([&](DialogDriver& d) {
      prepare(d, u"1");
      d.setChecked(IDC_SOUND_ON, true);
      d.setChecked(IDC_BEEP, beepToo);
      d.setText(IDC_SOUND_FILE, u"no-such-sound.wav");
      d.command(IDC_START);
      d.tick();
      EXPECT_TRUE(d.waitIdle());
    });
    EXPECT_EQ(std::vector<std::string>{"beep"}, session.eventNames()) << beepToo;
  }
}

TEST_F(Expiry, NotifiesInOrderThenGoesIdleThenCloses) {
  TempDir tools;
  const Probe probe(tools.path());
  const String before = currentDirectory();
  const bool comBefore = inSingleThreadedApartment();
  DialogSession session;
  session.run([&](DialogDriver& d) {
    prepare(d, u"2");
    for (const int id :
         {IDC_BEEP, IDC_SOUND_ON, IDC_PROGRAM_ON, IDC_MESSAGE_ON, IDC_MINIMIZE_AT_START, IDC_CLOSE_AT_END})
      d.setChecked(id, true);
    d.setText(IDC_SOUND_FILE, u"%windir%\\Media\\chimes.wav");
    d.setText(IDC_PROGRAM_FILE, probe.program());
    d.setText(IDC_PROGRAM_ARGUMENTS, u"alpha \"two words\"");
    d.setText(IDC_MESSAGE_TEXT, u"Lunch\r\nGo");
    d.command(IDC_START);
    ASSERT_FALSE(d.visible());
    d.tick();
    d.tick();

    const HWND box = d.waitForWindow(u"メッセージ");
    ASSERT_NE(nullptr, box);
    // The beep and the sound are over and the program was started before the box came.
    EXPECT_EQ((std::vector<std::string>{"beep", "sound"}), session.eventNames());
    EXPECT_TRUE(probe.started());
    EXPECT_EQ(String(u"Lunch\r\nGo"), messageBoxText(box));
    EXPECT_EQ(d.dialog(), GetWindow(box, GW_OWNER));
    // Still counting at zero while the box is up, and held by the box it owns.
    EXPECT_EQ(String(u"あと00秒 / Kairon build-6"), d.caption());
    EXPECT_TRUE(d.enabled(IDC_CANCEL));
    EXPECT_FALSE(IsWindowEnabled(d.dialog()));
    EXPECT_TRUE(probe.waitReported());
    d.dismiss(box);
    EXPECT_TRUE(d.waitClosed());
  });
  EXPECT_FALSE(session.closedBySession());

  const std::vector<SessionEvent> events = session.events();
  ASSERT_EQ((std::vector<std::string>{"beep", "sound", "close"}), session.eventNames());
  // Back on the screen, out of the tray, before the first notification.
  EXPECT_TRUE(events[0].dialogVisible);
  EXPECT_FALSE(events[0].dialogIconic);
  EXPECT_FALSE(events[0].trayShown);
  // COM is ready on the dialog's thread for the shell's launch, and left as it was after the dialog.
  EXPECT_TRUE(events[0].singleThreadedCom);
  EXPECT_EQ(comBefore, inSingleThreadedApartment());
  EXPECT_EQ(expandEnvironment(u"%windir%\\Media\\chimes.wav"), events[1].detail);
  // Idle before it closes.
  EXPECT_EQ(String(u"Kairon build-6"), events[2].caption);
  EXPECT_TRUE(events[2].startEnabled);

  const Launch launch = probe.launch();
  EXPECT_LT(events[1].counter, launch.started) << "the program started before the sound was over";
  EXPECT_EQ(tools.string(), launch.folder);
  EXPECT_EQ((std::vector<String>{u"alpha", u"two words"}), launch.arguments);
  EXPECT_EQ(before, currentDirectory());
}

// A long sound plays while the dialog answers; the program and the message
// wait for its end, and Cancel or closing the dialog stop it and them.
TEST_F(Expiry, TheDialogAnswersWhileTheSoundPlays) {
  enum class End { ByItself, Cancel, CloseBox };
  const struct {
    End end;
    std::vector<std::string> events;
  } cases[] = {
      {End::ByItself, {"beep", "sound"}},
      {End::Cancel, {"beep", "sound", "stop"}},
      {End::CloseBox, {"beep", "sound", "close", "stop"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.end));
    TempDir tools;
    const Probe probe(tools.path());
    DialogSession session;
    session.holdSounds();
    session.run([&](DialogDriver& d) {
      prepare(d, u"1");
      for (const int id : {IDC_BEEP, IDC_SOUND_ON, IDC_PROGRAM_ON, IDC_MESSAGE_ON}) d.setChecked(id, true);
      d.setText(IDC_PROGRAM_FILE, probe.program());
      d.command(IDC_START);
      d.tick();
      ASSERT_TRUE(waitUntil(kWaitLimit, [&] { return session.soundPlaying(); }));
      // Late ticks, the wake timer and a Start neither ring again nor start a countdown.
      d.tick();
      d.deliver(CAppWindow::WakeMessage);
      d.command(IDC_START);
      EXPECT_EQ(String(u"あと00秒 / Kairon build-6"), answeredWindowText(d.dialog(), 1000).value_or(u"no answer"));
      EXPECT_TRUE(IsWindowEnabled(d.dialog())) << "no box yet";
      EXPECT_FALSE(probe.started());
      switch (c.end) {
        case End::ByItself:
          session.endSound();
          d.dismiss(d.waitForWindow(u"メッセージ"));
          EXPECT_TRUE(probe.waitReported());
          break;
        case End::Cancel:
          d.command(IDC_CANCEL);
          EXPECT_EQ(String(u"Kairon build-6"), d.caption());
          EXPECT_TRUE(IsWindowEnabled(d.dialog())) << "a box came";
          break;
        case End::CloseBox:
          d.closeBox();
          EXPECT_TRUE(d.waitClosed());
          break;
      }
    });
    EXPECT_EQ(c.events, session.eventNames());
    if (c.end != End::ByItself) {
      EXPECT_FALSE(probe.started());
    }
  }
}

// The system's player on a real device: the dialog's thread starts the sound,
// stops it at once, and hears its end.
TEST_F(Expiry, TheSystemPlayerStopsAtOnceAndTheMessageFollowsTheSoundsEnd) {
  if (const std::string why = noSoundDevice(); !why.empty()) GTEST_SKIP() << "NOT RUN: " << why;
  using Clock = std::chrono::steady_clock;
  const auto since = [](Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
  };
  TempDir media;
  writeBytes(media.file("long.wav"), toneWave(30));
  writeBytes(media.file("short.wav"), toneWave(2));
  for (const bool stop : {true, false}) {
    SCOPED_TRACE(stop ? "中断 after a second of 30" : "2 seconds to the end");
    DialogSession session;
    session.useSystemPlayer();
    session.run([&](DialogDriver& d) {
      prepare(d, u"1");
      d.setChecked(IDC_SOUND_ON, true);
      d.setChecked(IDC_MESSAGE_ON, true);
      d.setText(IDC_SOUND_FILE, media.fileString(stop ? "long.wav" : "short.wav"));
      d.command(IDC_START);
      const Clock::time_point rang = Clock::now();
      d.tick();
      if (!stop) {
        const HWND box = d.waitForWindow(u"メッセージ");
        EXPECT_GE(since(rang), 1.8);
        EXPECT_LE(since(rang), 5.0);  // the device's own latency, on a busy machine too
        d.dismiss(box);
        return;
      }
      Sleep(1000);
      ASSERT_FALSE(d.enabled(IDC_START)) << "the sound is over already";
      PostMessageW(d.dialog(), WM_COMMAND, IDC_CANCEL, 0);
      const Clock::time_point cancelled = Clock::now();
      DWORD_PTR answer = 0;
      EXPECT_NE(0, SendMessageTimeoutW(d.dialog(), WM_NULL, 0, 0, SMTO_NORMAL, 500, &answer));
      d.sync();
      EXPECT_LT(since(cancelled), 0.5);
      EXPECT_TRUE(d.enabled(IDC_START));
      EXPECT_EQ(String(u"Kairon build-6"), d.caption());
      EXPECT_TRUE(IsWindowEnabled(d.dialog())) << "no message after a stopped sound";
    });
    EXPECT_TRUE(session.eventNames().empty());
  }
}

// An MP3 of silence: MPEG-1 layer III frames at 128 kbit/s, 44.1 kHz, whose
// side information and data are all zero, 38 of them to the second.
std::string silentMp3(int seconds) {
  std::string frame(417, '\0');
  frame[0] = '\xFF';
  frame[1] = '\xFB';
  frame[2] = '\x90';
  frame[3] = '\x44';
  std::string all;
  for (int i = 0; i < seconds * 38; ++i) all += frame;
  return all;
}

// Why the media device cannot play the file here; empty when it can.
std::string mediaDeviceRefuses(const String& path) {
  MCI_OPEN_PARMSW open{};
  open.lpstrDeviceType = L"mpegvideo";
  open.lpstrElementName = wide(path);
  const MCIERROR error =
      mciSendCommandW(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open));
  if (error != 0) return "the mpegvideo device cannot open MP3 here (MCI error " + std::to_string(error) + ")";
  MCI_STATUS_PARMS length{};
  length.dwItem = MCI_STATUS_LENGTH;
  const MCIERROR status =
      mciSendCommandW(open.wDeviceID, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&length));
  mciSendCommandW(open.wDeviceID, MCI_CLOSE, MCI_WAIT, 0);
  if (status != 0 || length.dwReturn == 0) return "the mpegvideo device cannot decode MP3 here";
  return std::string();
}

// A sound other than WAV plays through the media device to its end, and the
// message follows it; no beep stands in.
TEST_F(Expiry, AnMp3PlaysToItsEndBeforeTheMessage) {
  if (const std::string why = noSoundDevice(); !why.empty()) GTEST_SKIP() << "NOT RUN: " << why;
  TempDir media;
  writeBytes(media.file("quiet.mp3"), silentMp3(2));
  if (const std::string why = mediaDeviceRefuses(media.fileString("quiet.mp3")); !why.empty()) {
    GTEST_SKIP() << "NOT RUN: " << why;
  }
  DialogSession session;
  session.useSystemPlayer();
  session.run([&](DialogDriver& d) {
    prepare(d, u"1");
    d.setChecked(IDC_SOUND_ON, true);
    d.setChecked(IDC_MESSAGE_ON, true);
    d.setText(IDC_SOUND_FILE, media.fileString("quiet.mp3"));
    d.command(IDC_START);
    const auto rang = std::chrono::steady_clock::now();
    d.tick();
    d.dismiss(d.waitForWindow(u"メッセージ"));
    EXPECT_GE(std::chrono::duration<double>(std::chrono::steady_clock::now() - rang).count(), 1.5);
  });
  EXPECT_TRUE(session.eventNames().empty()) << "a beep stood in";
}

TEST_F(Expiry, WithNothingCheckedTheDialogStillComesBackAndGoesIdle) {
  DialogSession session;
  session.run([](DialogDriver& d) {
    prepare(d, u"1");
    d.setChecked(IDC_MINIMIZE_AT_START, true);
    d.command(IDC_START);
    ASSERT_TRUE(d.tray().isShown());
    d.tick();
    EXPECT_TRUE(d.visible());
    EXPECT_FALSE(d.iconic());
    EXPECT_FALSE(d.tray().isShown());
    EXPECT_EQ(String(u"Kairon build-6"), d.caption());
    EXPECT_TRUE(d.enabled(IDC_START));
    EXPECT_FALSE(d.enabled(IDC_CANCEL));
    // Wine may read the X server's focus-out of the hide only now and give the
    // desktop the foreground; back in front, the dialog gives Start the keyboard.
    d.activate();
    EXPECT_EQ(IDC_START, d.focusedControl());
    EXPECT_TRUE(d.classIconIs(IDI_IDLE));
    // Later ticks find nothing to count.
    d.tick();
    EXPECT_EQ(String(u"Kairon build-6"), d.caption());
  });
  EXPECT_TRUE(session.eventNames().empty());
}

TEST_F(Expiry, ACountOfZeroOrLessRingsOnTheFirstTickAndLeavesNothingBehind) {
  std::filesystem::create_directories(templateFolder());
  writeBytes(templateFolder() / "overdue.tpt",
             settingsFileBytes({u"TimeH = -1", u"NotifyBeep = true", u"NotifyMsg = false"}));
  const struct {
    std::vector<String> arguments;
    const char16_t* hours;  // typed before Start; null: the start-up template starts it
    const char16_t* seconds;
  } cases[] = {
      {{u"overdue"}, nullptr, nullptr},
      {{}, u"", u"0"},
      {{}, u"", u"-5"},
      {{}, u"-99999999999999", u"30"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hours == nullptr ? "start-up template" : toUtf8(String(c.hours) + u":" + c.seconds));
    DialogSession session;
    session.run(c.arguments, [&](DialogDriver& d) {
      if (c.hours != nullptr) {
        prepare(d, c.seconds);
        d.setText(IDC_HOURS, c.hours);
        d.setChecked(IDC_BEEP, true);
        d.setChecked(IDC_CLOSE_AT_END, true);
        d.command(IDC_START);
      }
      // The window timer's own first tick rings: no tick from the script.
      EXPECT_TRUE(d.waitClosed());
    });
    EXPECT_EQ((std::vector<std::string>{"beep", "close"}), session.eventNames());
    constexpr EXECUTION_STATE kHold = ES_CONTINUOUS | ES_SYSTEM_REQUIRED, kRelease = ES_CONTINUOUS,
                              kLit = kHold | ES_DISPLAY_REQUIRED;
    EXPECT_EQ((std::vector<EXECUTION_STATE>{kHold, kLit, kRelease}), session.executionStates());
  }
}

TEST_F(Expiry, AnEmptyMessageStillShowsItsBox) {
  DialogSession session;
  session.run([](DialogDriver& d) {
    prepare(d, u"1");
    d.setChecked(IDC_MESSAGE_ON, true);
    d.setText(IDC_MESSAGE_TEXT, u"");
    d.command(IDC_START);
    d.tick();
    const HWND box = d.waitForWindow(u"メッセージ");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(String(), messageBoxText(box));
    d.dismiss(box);
    EXPECT_TRUE(d.waitIdle());
    EXPECT_EQ(String(u"Kairon build-6"), d.caption());
    EXPECT_TRUE(d.open());
  });
}

TEST_F(Expiry, NotificationsReadTheControlsAsTheyAreAtTheEnd) {
  DialogSession session;
  session.run([](DialogDriver& d) {
    prepare(d, u"2");
    d.command(IDC_START);
    d.tick();
    d.setChecked(IDC_BEEP, true);
    d.setChecked(IDC_SOUND_ON, true);
    d.setText(IDC_SOUND_FILE, u"changed.wav");
    d.tick();
    EXPECT_TRUE(d.waitIdle());
  });
  const std::vector<SessionEvent> events = session.events();
  ASSERT_EQ((std::vector<std::string>{"beep", "sound"}), session.eventNames());
  EXPECT_EQ(executableDirectory() + u"changed.wav", events[1].detail);
}

TEST_F(Expiry, SoundFileNamesResolveBesideTheProgram) {
  TempDir elsewhere;
  ScopedEnvironmentVariable media(u"KAIRON_TEST_SOUNDS", u"D:\\sounds");
  const struct {
    const char16_t* typed;
    String played;
  } cases[] = {
      {u"sounds\\bell.wav", executableDirectory() + u"sounds\\bell.wav"},
      {u"%KAIRON_TEST_SOUNDS%\\bell.wav", u"D:\\sounds\\bell.wav"},
      {u"C:\\media\\ring.wav", u"C:\\media\\ring.wav"},
  };
  // Relative names do not depend on the current directory.
  CurrentDirectoryScope keep;
  setCurrentDirectory(elsewhere.string());
  DialogSession session;
  session.run([&](DialogDriver& d) {
    prepare(d, u"1");
    d.setChecked(IDC_SOUND_ON, true);
    for (const auto& c : cases) {
      d.setText(IDC_SOUND_FILE, c.typed);
      d.command(IDC_START);
      d.tick();
      // The dialog answers while the sound plays: a Start then would be ignored.
      EXPECT_TRUE(d.waitIdle());
    }
  });
  const std::vector<SessionEvent> events = session.events();
  ASSERT_EQ(std::size(cases), events.size());
  for (size_t i = 0; i < events.size(); ++i) EXPECT_EQ(cases[i].played, events[i].detail) << toUtf8(cases[i].typed);
}

TEST_F(Expiry, ProgramStartsInItsOwnFolderOnlyWhenNamedWithOne) {
  TempDir tools;
  TempDir current;
  // Found on the search path when named bare.
  const SearchPathPrefix path(tools.string());
  ScopedEnvironmentVariable folder(u"KAIRON_TEST_TOOLS", tools.string());
  const String withoutDrive = tools.string().substring(2) + u"\\" + fromUtf8(kProbeName);
  const struct {
    String program;
    String arguments;
    String folder;  // where it starts
    std::vector<String> received;
  } cases[] = {
      {tools.string() + u"\\" + fromUtf8(kProbeName), u"", tools.string(), {}},
      {u"%KAIRON_TEST_TOOLS%\\" + fromUtf8(kProbeName),
       u"%KAIRON_TEST_TOOLS% x",
       tools.string(),
       {u"%KAIRON_TEST_TOOLS%", u"x"}},
      {fromUtf8(kProbeName), u"bare", current.string(), {u"bare"}},
      // A single leading separator counts as relative.
      {withoutDrive, u"rooted", current.string(), {u"rooted"}},
  };
  const Probe probe(tools.path());
  CurrentDirectoryScope keep;
  setCurrentDirectory(current.string());
  DialogSession session;
  session.run([&](DialogDriver& d) {
    prepare(d, u"1");
    d.setChecked(IDC_PROGRAM_ON, true);
    for (const auto& c : cases) {
      SCOPED_TRACE(toUtf8(c.program));
      probe.forget();
      d.setText(IDC_PROGRAM_FILE, c.program);
      d.setText(IDC_PROGRAM_ARGUMENTS, c.arguments);
      d.command(IDC_START);
      d.tick();
      EXPECT_EQ(current.string(), currentDirectory()) << "ours is put back";
      ASSERT_TRUE(probe.waitReported());
      const Launch launch = probe.launch();
      EXPECT_EQ(c.folder, launch.folder);
      EXPECT_EQ(c.received, launch.arguments);
    }
  });
}

}  // namespace
}  // namespace Ostra::testing
