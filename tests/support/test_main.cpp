// The entry point of every test executable.  The program's own handlers turn
// terminate and abort into a modal box, which nobody would dismiss in a test
// run: here they report on stderr and end the process at once instead.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

[[noreturn]] void endAbnormally(const char* what) {
  std::fprintf(stderr, "\n*** %s: the test program ends abnormally\n", what);
  std::fflush(stderr);
  std::_Exit(1);
}

extern "C" void onAbort(int) { endAbnormally("abort"); }

}  // namespace

int main(int argc, char** argv) {
  std::set_terminate([] { endAbnormally("std::terminate"); });
  std::signal(SIGABRT, onAbort);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
