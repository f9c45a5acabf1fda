#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

void open(const String& file, const String* parameters) {
  const std::vector<std::string> command = commandFor(file, parameters);
  std::vector<char*> argv;
  for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  // Started from a child that ends at once, so the program is not ours to
  // wait for and leaves no zombie behind; only exec and _exit run after fork.
  const pid_t child = fork();
  if (child < 0) return;
  if (child == 0) {
    if (fork() == 0) {
      execvp(argv[0], argv.data());
      _exit(127);
    }
    _exit(0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

void shellOpen(const String& file, int) { open(file, nullptr); }

void shellOpen(const String& file, const String& parameters, int) { open(file, &parameters); }

}  // namespace Ostra
