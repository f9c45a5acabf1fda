#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace Ostra::testing {

// A program in the folder of the running test executable (".exe" added on
// Windows): helper programs are built beside the tests that start them.
std::filesystem::path siblingExecutable(const std::string& name);

// A started child process whose standard output and error both go to one file.
// The destructor kills a child that is still running and waits for it.
class ChildProcess {
 public:
  ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& outputFile);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The system's process id.
  unsigned long id() const;
  bool running();
  // Waits for the end and gives the exit code; a child ended by a signal gives
  // 128 + the signal number.
  int wait();

 private:
  struct Native;
  std::unique_ptr<Native> native_;
};

struct ChildResult {
  int exitCode = -1;
  std::string output;  // standard output and error together, as bytes
};

// Runs a program to its end.
ChildResult runChild(const std::filesystem::path& program, const std::vector<std::string>& args);

}  // namespace Ostra::testing
