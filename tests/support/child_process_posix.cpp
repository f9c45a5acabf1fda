#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <stdexcept>

#include "tests/support/child_process.h"

extern char** environ;

namespace Ostra::testing {

struct ChildProcess::Native {
  pid_t pid = -1;
  int status = -1;
  bool ended = false;
};

std::filesystem::path siblingExecutable(const std::string& name) {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                           const std::filesystem::path& outputFile)
    : native_(std::make_unique<Native>()) {
  std::vector<std::string> argv = {program.string()};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  const int error = posix_spawn(&native_->pid, program.c_str(), &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    throw std::runtime_error("cannot start " + program.string());
  }
}

ChildProcess::~ChildProcess() {
  if (running()) kill(native_->pid, SIGKILL);
  wait();
}

unsigned long ChildProcess::id() const { return static_cast<unsigned long>(native_->pid); }

bool ChildProcess::running() {
  if (native_->ended) return false;
  if (waitpid(native_->pid, &native_->status, WNOHANG) == 0) return true;
  native_->ended = true;
  return false;
}

int ChildProcess::wait() {
  while (!native_->ended) {
    if (waitpid(native_->pid, &native_->status, 0) == native_->pid || errno != EINTR) native_->ended = true;
  }
  if (WIFEXITED(native_->status)) return WEXITSTATUS(native_->status);
  if (WIFSIGNALED(native_->status)) return 128 + WTERMSIG(native_->status);
  return -1;
}

}  // namespace Ostra::testing
