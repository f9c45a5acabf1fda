// The driver of the timer benchmarks (tools/bench.sh runs it under Wine).  It
// starts programs, operates the timer dialog as a person would, and prints one
// line per measured figure, "<what> <label> n=.. median=.. max=.. min=.." in
// milliseconds, after one "sample" line per measurement.
//
//   timer_driver startup RUNS LABEL EXE TITLE [LABEL EXE TITLE]...
//       process start to its dialog on the screen, the programs alternated
//   timer_driver expiry SECONDS ROUNDS INSTANCES GAP_MS STAMP_EXE OUT_DIR LABEL EXE [LABEL EXE]...
//       deadline (Start pressed + SECONDS) to the launched time stamp program
//   timer_driver launch RUNS STAMP_EXE OUT_DIR
//       the launch alone: ShellExecute to the time stamp program's first step
//   timer_driver arm EXE SECONDS
//       starts one countdown with no notification and leaves the program running
//   timer_driver open EXE TITLE [ARGUMENTS]
//       starts a program, waits for its window and leaves it running
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/win/remote_program.h"
#include "resources/resource.h"

namespace {

using Ostra::bench::click;
using Ostra::bench::kTicksPerMillisecond;
using Ostra::bench::preciseNow;
using Ostra::bench::RemoteProgram;
using Ostra::bench::setChecked;
using Ostra::bench::setControlText;

const std::wstring kTimerTitle = L"Kairon build-6";
constexpr DWORD kShowLimitMs = 60000;
constexpr DWORD kExitLimitMs = 15000;

std::wstring wideArg(const char* text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<size_t>(size > 0 ? size : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), size);
  out.resize(out.size() - 1);
  return out;
}

std::string narrow(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

double milliseconds(int64_t ticks) { return static_cast<double>(ticks) / kTicksPerMillisecond; }

void summarize(const char* what, const std::string& label, std::vector<double> samples, int missing = 0) {
  if (samples.empty()) {
    std::printf("%s %s n=0 missing=%d\n", what, label.c_str(), missing);
    return;
  }
  std::sort(samples.begin(), samples.end());
  const size_t n = samples.size();
  const double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
  std::printf("%s %s n=%zu median=%.1f max=%.1f min=%.1f missing=%d\n", what, label.c_str(), n, median, samples.back(),
              samples.front(), missing);
  std::fflush(stdout);
}

// A stamp file's time, once the program has written it; 0 until then.
int64_t readStamp(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return 0;
  long long stamp = 0;
  if (std::fscanf(file, "%lld", &stamp) != 1) stamp = 0;
  std::fclose(file);
  return stamp;
}

struct Program {
  std::string label;
  std::wstring exe;
  std::wstring title;
};

int startup(int runs, const std::vector<Program>& programs) {
  std::vector<std::vector<double>> samples(programs.size());
  // The first start of each is a warm-up: files reach the cache, Kairon writes
  // its default settings.
  for (int run = -1; run < runs; ++run) {
    for (size_t p = 0; p < programs.size(); ++p) {
      const int64_t before = preciseNow();
      RemoteProgram program(programs[p].exe);
      HWND dialog = program.waitForWindow(programs[p].title, kShowLimitMs);
      const int64_t shown = preciseNow();
      if (dialog == nullptr) {
        std::printf("startup %s: no dialog\n", programs[p].label.c_str());
        return 1;
      }
      program.close(dialog, kExitLimitMs);
      if (run < 0) continue;
      samples[p].push_back(milliseconds(shown - before));
      std::printf("sample startup %s %.1f\n", programs[p].label.c_str(), samples[p].back());
    }
  }
  for (size_t p = 0; p < programs.size(); ++p) summarize("startup-ms", programs[p].label, samples[p]);
  return 0;
}

// Sets up a freshly started timer dialog: a countdown of seconds that ends by
// launching program with arguments (none when program is empty) and closing.
bool prepareCountdown(HWND dialog, int seconds, const std::wstring& program, const std::wstring& arguments) {
  bool ok = setControlText(dialog, IDC_HOURS, L"0") && setControlText(dialog, IDC_MINUTES, L"0") &&
            setControlText(dialog, IDC_SECONDS, std::to_wstring(seconds)) &&
            setChecked(dialog, IDC_TIME_OF_DAY, false) && setChecked(dialog, IDC_MESSAGE_ON, false) &&
            setChecked(dialog, IDC_BEEP, false) && setChecked(dialog, IDC_SOUND_ON, false) &&
            setChecked(dialog, IDC_MINIMIZE_AT_START, false) && setChecked(dialog, IDC_CLOSE_AT_END, true) &&
            setChecked(dialog, IDC_PROGRAM_ON, !program.empty());
  if (ok && !program.empty()) {
    ok = setControlText(dialog, IDC_PROGRAM_FILE, program) && setControlText(dialog, IDC_PROGRAM_ARGUMENTS, arguments);
  }
  return ok;
}

struct Countdown {
  size_t program;
  std::unique_ptr<RemoteProgram> process;
  HWND dialog = nullptr;
  std::wstring stampFile;
  int64_t pressed = 0;
  int64_t answered = 0;
  int64_t lastTick = 0;  // when the title first showed the last second gone
  int64_t idle = 0;      // when it first showed the idle title, after the notifications
  int64_t stamp = 0;
};

// The title of a window of another process, read without a message to it.
std::wstring titleOf(HWND window) {
  wchar_t title[256] = {};
  InternalGetWindowText(window, title, 256);
  return title;
}

// Watches the first started countdowns until untilTicks, or until all of
// them are done: their titles (which show when the last tick came, and so the
// timer's share of an error apart from the launch's) and their stamps.
void watch(std::vector<Countdown>& countdowns, size_t started, int64_t untilTicks) {
  for (;;) {
    size_t waiting = 0;
    for (size_t i = 0; i < started; ++i) {
      Countdown& c = countdowns[i];
      if (c.stamp != 0 && c.idle != 0) continue;
      const int64_t now = preciseNow();
      const std::wstring title = titleOf(c.dialog);
      if (c.lastTick == 0 && (title == L"あと00秒 / " + kTimerTitle || title == kTimerTitle)) c.lastTick = now;
      if (c.idle == 0 && title == kTimerTitle) c.idle = now;
      if (c.stamp == 0) c.stamp = readStamp(c.stampFile);
      if (c.stamp == 0 || c.idle == 0) ++waiting;
    }
    if (preciseNow() >= untilTicks || (waiting == 0 && started == countdowns.size())) return;
    Sleep(2);
  }
}

int expiry(int seconds, int rounds, int instances, int gapMs, const std::wstring& stampExe, const std::wstring& outDir,
           const std::vector<Program>& programs) {
  std::vector<std::vector<double>> errors(programs.size()), tickErrors(programs.size());
  std::vector<double> clickMs;
  std::vector<int> missing(programs.size(), 0);
  int serial = 0;
  for (int round = 0; round < rounds; ++round) {
    std::vector<Countdown> countdowns;
    for (int i = 0; i < instances; ++i) {
      for (size_t k = 0; k < programs.size(); ++k) {
        // Each program goes first in every other pair, so that none always
        // expires while more copies are running.
        const size_t p = (round + i) % 2 == 0 ? k : programs.size() - 1 - k;
        Countdown c;
        c.program = p;
        c.stampFile = outDir + L"\\stamp-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(serial++);
        DeleteFileW(c.stampFile.c_str());
        c.process = std::make_unique<RemoteProgram>(programs[p].exe);
        c.dialog = c.process->waitForWindow(kTimerTitle, kShowLimitMs);
        if (c.dialog == nullptr || !prepareCountdown(c.dialog, seconds, stampExe, L"\"" + c.stampFile + L"\"")) {
          std::printf("expiry %s: the dialog could not be prepared\n", programs[p].label.c_str());
          return 1;
        }
        countdowns.push_back(std::move(c));
      }
    }
    // Start them one after the other, gapMs apart, so that no two expiries
    // launch their programs at the same moment; watch the started ones meanwhile.
    for (size_t i = 0; i < countdowns.size(); ++i) {
      Countdown& c = countdowns[i];
      c.pressed = preciseNow();
      if (!click(c.dialog, IDC_START)) std::printf("expiry: Start was not answered\n");
      c.answered = preciseNow();
      // For a script that acts on the running countdowns (the freeze figures).
      std::printf("started %s\n", programs[c.program].label.c_str());
      std::fflush(stdout);
      clickMs.push_back(milliseconds(c.answered - c.pressed));
      if (i + 1 < countdowns.size()) watch(countdowns, i + 1, preciseNow() + gapMs * kTicksPerMillisecond);
    }
    watch(countdowns, countdowns.size(),
          preciseNow() + (static_cast<int64_t>(seconds) + 60) * 1000 * kTicksPerMillisecond);
    for (Countdown& c : countdowns) {
      const std::string& label = programs[c.program].label;
      if (c.stamp == 0) {
        ++missing[c.program];
        std::printf("sample expiry %s missing\n", label.c_str());
        continue;
      }
      const int64_t deadline = c.pressed + static_cast<int64_t>(seconds) * 1000 * kTicksPerMillisecond;
      errors[c.program].push_back(milliseconds(c.stamp - deadline));
      if (c.lastTick != 0) tickErrors[c.program].push_back(milliseconds(c.lastTick - deadline));
      std::printf("sample expiry %s %ds %.1f last-tick-seen %.1f idle-seen %.1f\n", label.c_str(), seconds,
                  errors[c.program].back(), c.lastTick != 0 ? milliseconds(c.lastTick - deadline) : -1.0,
                  c.idle != 0 ? milliseconds(c.idle - deadline) : -1.0);
      std::fflush(stdout);
    }
    for (Countdown& c : countdowns) c.process->close(nullptr, kExitLimitMs);
  }
  for (size_t p = 0; p < programs.size(); ++p) {
    summarize("expiry-error-ms", programs[p].label + "-" + std::to_string(seconds) + "s", errors[p], missing[p]);
    summarize("last-tick-seen-ms", programs[p].label + "-" + std::to_string(seconds) + "s", tickErrors[p]);
  }
  summarize("start-click-ms", std::to_string(seconds) + "s", clickMs);
  return 0;
}

int launch(int runs, const std::wstring& stampExe, const std::wstring& outDir) {
  std::vector<double> samples;
  for (int run = -1; run < runs; ++run) {
    const std::wstring file =
        outDir + L"\\launch-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(run + 1);
    DeleteFileW(file.c_str());
    const std::wstring arguments = L"\"" + file + L"\"";
    const int64_t before = preciseNow();
    ShellExecuteW(nullptr, nullptr, stampExe.c_str(), arguments.c_str(), nullptr, SW_SHOWNORMAL);
    int64_t stamp = 0;
    const ULONGLONG giveUp = GetTickCount64() + kShowLimitMs;
    while ((stamp = readStamp(file)) == 0 && GetTickCount64() < giveUp) Sleep(2);
    if (stamp == 0) {
      std::printf("launch: the time stamp program did not run\n");
      return 1;
    }
    if (run < 0) continue;  // warm-up
    samples.push_back(milliseconds(stamp - before));
    std::printf("sample launch %.1f\n", samples.back());
    Sleep(200);  // let the last one end
  }
  summarize("launch-ms", "stamp", samples);
  return 0;
}

int arm(const std::wstring& exe, int seconds) {
  RemoteProgram program(exe);
  HWND dialog = program.waitForWindow(kTimerTitle, kShowLimitMs);
  if (dialog == nullptr || !prepareCountdown(dialog, seconds, std::wstring(), std::wstring()) ||
      !click(dialog, IDC_START)) {
    std::printf("arm: the countdown could not be started\n");
    return 1;
  }
  program.detach();
  std::printf("armed %s %d\n", narrow(exe).c_str(), seconds);
  return 0;
}

int open(const std::wstring& exe, const std::wstring& title, const std::wstring& arguments) {
  RemoteProgram program(exe, arguments);
  if (program.waitForWindow(title, kShowLimitMs) == nullptr) {
    std::printf("open: no window\n");
    return 1;
  }
  program.detach();
  return 0;
}

int usage() {
  std::printf("usage: timer_driver startup|expiry|launch|arm|open ... (see the source)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "startup" && argc >= 6 && (argc - 3) % 3 == 0) {
    std::vector<Program> programs;
    for (int i = 3; i + 2 < argc; i += 3) programs.push_back({argv[i], wideArg(argv[i + 1]), wideArg(argv[i + 2])});
    return startup(std::atoi(argv[2]), programs);
  }
  if (mode == "expiry" && argc >= 10 && (argc - 8) % 2 == 0) {
    std::vector<Program> programs;
    for (int i = 8; i + 1 < argc; i += 2) programs.push_back({argv[i], wideArg(argv[i + 1]), kTimerTitle});
    return expiry(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), wideArg(argv[6]),
                  wideArg(argv[7]), programs);
  }
  if (mode == "launch" && argc == 5) return launch(std::atoi(argv[2]), wideArg(argv[3]), wideArg(argv[4]));
  if (mode == "arm" && argc == 4) return arm(wideArg(argv[2]), std::atoi(argv[3]));
  if (mode == "open" && (argc == 4 || argc == 5)) {
    return open(wideArg(argv[2]), wideArg(argv[3]), argc == 5 ? wideArg(argv[4]) : std::wstring());
  }
  return usage();
}
