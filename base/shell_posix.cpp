#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/command_line.h"
#include "base/shell.h"
#include "base/system_path_posix.h"

namespace Ostra {

namespace {

// A program is run with the parameters as its arguments; a document or a
// folder goes to the desktop's opener.  A name that is no file at all may be a
// command on PATH.
std::vector<std::string> commandFor(const String& file, const String* parameters) {
  const std::string path = systemPath(file);
  struct stat status {};
  const bool exists = stat(path.c_str(), &status) == 0;
  const bool program = exists && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
  if (exists && !program) return {"xdg-open", path};
  std::vector<std::string> command{path};
  if (parameters != nullptr) {
    for (const String& argument : splitCommandLine(*parameters)) command.push_back(toUtf8(argument));
  }
  return command;
}

bool open(const String& file, const String* parameters) {
  if (file.length() > kMaxShellFileLength) return false;
  const std::vector<std::string> command = commandFor(file, parameters);
  std::vector<char*> argv;
  for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  // A failed exec writes its errno into the pipe; a successful one closes the
  // pipe's last writer (close-on-exec), so the read below sees its end.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  // Started from a child that ends at once, so the program is not ours to
  // wait for and leaves no zombie behind; only exec, write and _exit run after fork.
  const pid_t child = fork();
  if (child < 0) {
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (child == 0) {
    if (fork() == 0) {
      execvp(argv[0], argv.data());
      const int error = errno;
      [[maybe_unused]] const ssize_t written = write(report[1], &error, sizeof error);
      _exit(127);
    }
    _exit(0);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t n;
  do {
    n = read(report[0], &error, sizeof error);
  } while (n < 0 && errno == EINTR);
  close(report[0]);
  return n == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

std::vector<String> programSearchFolders() {
  std::vector<String> folders;
  const char* path = std::getenv("PATH");
  if (path == nullptr) return folders;
  const std::string list = path;
  size_t start = 0;
  for (size_t end; start <= list.size(); start = end + 1) {
    end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) folders.push_back(fromUtf8(list.substr(start, end - start)));
  }
  return folders;
}

std::vector<String> programExtensions() { return {}; }

std::optional<ShortcutTarget> readShortcut(const String&) { return std::nullopt; }

String internetShortcutAddress(const String&) { return String(); }

bool shellOpen(const String& file, int) { return open(file, nullptr); }

bool shellOpen(const String& file, const String& parameters, int) { return open(file, &parameters); }

}  // namespace Ostra
