#include <signal.h>
#include <unistd.h>

#include "base/encoding.h"
#include "base/exception.h"
#include "base/fault_handlers.h"

namespace Ostra {

namespace {

// Runs on the faulting thread, so the exception unwinds from the faulting
// instruction through the kernel's signal frame (the code is built with
// -fnon-call-exceptions).
void onFault(int signal) {
  switch (signal) {
    case SIGFPE:
      throw FPEException();
    case SIGILL:
      throw InvalidProgramException();
    default:
      throw AccessViolationException();
  }
}

}  // namespace

void installHardwareFaultHandlers() {
  struct sigaction action {};
  action.sa_handler = onFault;
  sigemptyset(&action.sa_mask);
  // The handler never returns, so the kernel would leave the signal blocked
  // and a second fault would kill the process; SA_NODEFER keeps it open.
  action.sa_flags = SA_NODEFER;
  for (const int signal : {SIGFPE, SIGILL, SIGSEGV, SIGBUS}) sigaction(signal, &action, nullptr);
}

void showAbortNotice(const String& caption, const String& text) {
  const std::string line = defaultEncoding().encode(caption + u": " + text + u"\n");
  for (size_t written = 0; written < line.size();) {
    const ssize_t n = ::write(STDERR_FILENO, line.data() + written, line.size() - written);
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
}

}  // namespace Ostra
