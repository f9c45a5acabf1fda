#include "base/fault_handlers.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>

#include "base/exception.h"

namespace Ostra {

namespace {

std::atomic<bool> installed{false};

void onAbortSignal(int) {
  showAbortNotice(u"エラー", u"異常終了");
  // exit, not _exit: the exit handlers still run.
  std::exit(1);
}

[[noreturn]] void onTerminate() {
  // Raised rather than abort(): the Windows C runtime's abort writes its own
  // "abnormal program termination" notice before it raises the signal.
  std::raise(SIGABRT);
  std::abort();
}

}  // namespace

void installFaultHandlers() {
  if (installed.exchange(true)) return;
  std::signal(SIGABRT, onAbortSignal);
  installHardwareFaultHandlers();
  std::set_terminate(onTerminate);
}

bool faultHandlersInstalled() { return installed; }

}  // namespace Ostra
