// The command line of the real program: Kairon.exe from this build, copied
// into a fresh folder with a template folder beside it, started as a child
// and watched through its windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/environment.h"
#include "resources/resource.h"
#include "tests/app/dialog_session_win.h"
#include "tests/app/window_search_win.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace Ostra::testing {
namespace {

// The program as built, found from this test executable.
std::filesystem::path builtProgram() {
  return toPath(executableDirectory()) / std::filesystem::u8path(KAIRON_EXE_FROM_TESTS);
}

// A copy of the program in a folder of its own, with templates beside it:
// "tea" (3 minutes) and "tea time" (7 minutes) stay on the screen when they
// start; "hidden" (3 minutes) goes to the tray.
class ProgramCopy {
 public:
  ProgramCopy() {
    std::filesystem::copy_file(builtProgram(), program());
    std::filesystem::create_directories(templates());
    writeTemplate("tea.tpt", u"3", u"false");
    writeTemplate("tea time.tpt", u"7", u"false");
    writeTemplate("hidden.tpt", u"3", u"true");
  }

  std::filesystem::path program() const { return folder_.file("Kairon.exe"); }
  std::filesystem::path templates() const { return folder_.file("template"); }
  std::filesystem::path file(const std::string& name) const { return folder_.file(name); }

 private:
  void writeTemplate(const std::string& name, const std::u16string& minutes, const std::u16string& minimise) {
    std::vector<std::u16string> lines = defaultSettingsLines();
    for (std::u16string& line : lines) {
      if (line.rfind(u"TimeM =", 0) == 0) line = u"TimeM = " + minutes;
      if (line.rfind(u"MinimizeWithStart =", 0) == 0) line = u"MinimizeWithStart = " + minimise;
      if (line.rfind(u"CloseWithEnd =", 0) == 0) line = u"CloseWithEnd = false";
    }
    writeBytes(templates() / std::filesystem::u8path(name), settingsFileBytes(lines));
  }

  TempDir folder_;
};

enum class After { Idle, Running, InTray, LoadDialog };

struct Case {
  std::vector<std::string> arguments;
  std::vector<std::u16string> boxes;  // "エラー" boxes before the dialog, in order; {t} is the template folder
  After after;
  const char16_t* minutes;
};

const Case kCases[] = {
    {{}, {}, After::Idle, u""},
    {{"tea"}, {}, After::Running, u"3"},
    {{"tea time"}, {}, After::Running, u"7"},  // one argument with a blank, quoted
    {{"hidden"}, {}, After::InTray, u"3"},
    {{"/open", "tea"}, {}, After::Idle, u"3"},
    {{"/select"}, {}, After::LoadDialog, u""},
    {{"/select", "/open", "tea.tpt"}, {}, After::Idle, u"3"},
    {{"tea", "extra", "/open", "more"},
     {u"謎のコマンドライン引数が検出されました：extra", u"謎のコマンドライン引数が検出されました：more"},
     After::Idle,
     u"3"},
    {{"missing.txt"}, {u"{t}\\missing.tpt の読み込みに失敗しました"}, After::Idle, u""},
};

std::string describe(const Case& c) {
  std::string line = "Kairon.exe";
  for (const std::string& argument : c.arguments) line += " [" + argument + "]";
  return line;
}

bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// One case's program, started.
struct StartedCopy {
  explicit StartedCopy(const Case& c)
      : c(c), kairon(std::make_unique<ChildProcess>(copy.program(), c.arguments, copy.file("output.txt"))) {}

  const Case& c;
  ProgramCopy copy;
  std::unique_ptr<ChildProcess> kairon;
  HWND dialog = nullptr;
};

// The boxes before the dialog, then the dialog as the start-up left it.
void checkStart(StartedCopy& run) {
  const Case& c = run.c;
  const DWORD id = run.kairon->id();
  for (const std::u16string& expected : c.boxes) {
    const HWND box = waitForDialogTitled(id, u"エラー");
    ASSERT_NE(nullptr, box) << "no box: " << toUtf8(expected);
    EXPECT_EQ(String(expected).replaceAll(u"{t}", fromPath(run.copy.templates())), messageBoxText(box));
    const HWND early = findTimerDialog(id);
    EXPECT_TRUE(early == nullptr || !IsWindowVisible(early)) << "the box comes before the dialog";
    EXPECT_TRUE(pressAndWaitGone(box, IDOK));
  }

  const HWND dialog = run.dialog = waitForTimerDialog(id);
  ASSERT_NE(nullptr, dialog);
  if (c.after == After::LoadDialog) {
    const HWND load = waitForDialogTitled(id, u"テンプレートを読み込み");
    ASSERT_NE(nullptr, load);
    EXPECT_EQ(dialog, GetWindow(load, GW_OWNER));
    EXPECT_TRUE(pressAndWaitGone(load, IDCANCEL));
  }
  // Waiting for input: whatever the start-up posted has been done, and the
  // dialog manager has shown the dialog.
  const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id);
  EXPECT_EQ(0u, WaitForInputIdle(process, kWaitLimitMilliseconds));
  CloseHandle(process);

  const bool running = c.after == After::Running || c.after == After::InTray;
  if (c.after == After::InTray) {
    // Still hidden after the first tick and two round trips through its
    // message loop, long after the dialog manager's first show.
    EXPECT_TRUE(waitUntil(kWaitLimit, [&] { return windowText(dialog).substring(0, 5) == String(u"あと02分"); }));
    for (int i = 0; i < 2; ++i)
      SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kWaitLimitMilliseconds, nullptr);
    EXPECT_FALSE(IsWindowVisible(dialog));
  } else {
    // A box before the dialog already made the process wait for input once.
    EXPECT_TRUE(waitUntil(kWaitLimit, [&] { return IsWindowVisible(dialog) != FALSE; }));
  }
  const String caption = windowText(dialog);
  if (running) {
    EXPECT_EQ(String(u"あと0"), caption.substring(0, 3)) << toUtf8(caption);
  } else {
    EXPECT_EQ(String(u"Kairon build-6"), caption);
  }
  EXPECT_EQ(!running, enabled(dialog, IDC_START));
  EXPECT_EQ(running, enabled(dialog, IDC_CANCEL));
  EXPECT_EQ(String(c.minutes), windowText(GetDlgItem(dialog, IDC_MINUTES)));
}

TEST(CommandLine, TemplatesAndSwitchesAtStart) {
  // All at once: each copy waits for its turn with its windows open.
  std::vector<std::unique_ptr<StartedCopy>> runs;
  for (const Case& c : kCases) runs.push_back(std::make_unique<StartedCopy>(c));
  for (const auto& run : runs) {
    SCOPED_TRACE(describe(run->c));
    checkStart(*run);
  }
  for (const auto& run : runs) PostMessageW(run->dialog, WM_CLOSE, 0, 0);
  for (const auto& run : runs) {
    SCOPED_TRACE(describe(run->c));
    EXPECT_TRUE(waitUntil(kWaitLimit, [&] { return !run->kairon->running(); }));
    EXPECT_EQ(0, run->kairon->wait());
    // Every case is a first start: the default-settings file is beside the copy.
    EXPECT_EQ(settingsFileBytes(defaultSettingsLines()), readBytes(run->copy.file("Kairon.cfg")));
  }
}

}  // namespace
}  // namespace Ostra::testing
