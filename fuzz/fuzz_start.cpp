// What every fuzz target does at its start, linked into each of them.
#include <csignal>
#include <initializer_list>

// The library turns hardware faults into exceptions; under the fuzzer they
// must stay crashes, for it to catch them.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  for (const int signal : {SIGFPE, SIGILL, SIGSEGV, SIGBUS}) std::signal(signal, SIG_DFL);
  return 0;
}
