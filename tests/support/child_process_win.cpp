#include <windows.h>

#include <stdexcept>

#include "base/unique_handle_win.h"
#include "tests/support/child_process.h"

namespace Ostra::testing {

namespace {

// The quoting CommandLineToArgvW and the C runtime undo.
std::wstring quoted(const std::wstring& arg) {
  std::wstring result = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    result.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    result += c;
  }
  result.append(backslashes * 2, L'\\');
  return result + L"\"";
}

}  // namespace

struct ChildProcess::Native {
  UniqueKernelHandle process;
  DWORD id = 0;
};

std::filesystem::path siblingExecutable(const std::string& name) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / (name + ".exe");
}

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                           const std::filesystem::path& outputFile)
    : native_(std::make_unique<Native>()) {
  std::wstring commandLine = quoted(program.wstring());
  for (const std::string& arg : args) commandLine += L" " + quoted(std::filesystem::u8path(arg).wstring());

  SECURITY_ATTRIBUTES inherit{};
  inherit.nLength = sizeof inherit;
  inherit.bInheritHandle = TRUE;
  const UniqueFileHandle output(CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output.get();
  startup.hStdError = output.get();
  PROCESS_INFORMATION created{};
  if (!output || !CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                 &startup, &created)) {
    throw std::runtime_error("cannot start " + program.string());
  }
  native_->process.reset(created.hProcess);
  native_->id = created.dwProcessId;
  CloseHandle(created.hThread);  // never needed
}

ChildProcess::~ChildProcess() {
  if (running()) TerminateProcess(native_->process.get(), 255);
  WaitForSingleObject(native_->process.get(), INFINITE);
}

unsigned long ChildProcess::id() const { return native_->id; }

bool ChildProcess::running() { return WaitForSingleObject(native_->process.get(), 0) == WAIT_TIMEOUT; }

int ChildProcess::wait() {
  WaitForSingleObject(native_->process.get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(native_->process.get(), &code);
  return static_cast<int>(code);
}

}  // namespace Ostra::testing
