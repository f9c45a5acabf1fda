#pragma once

#include <functional>

#include "test_resources.h"
#include "ui/window.h"

namespace Ostra::testing {

// A hooker whose behaviour is a function.
class FunctionHooker : public IMsgHooker {
 public:
  explicit FunctionHooker(std::function<bool(WindowMessage&)> onMessage) : onMessage_(std::move(onMessage)) {}
  bool onMessage(WindowMessage& m) override { return onMessage_(m); }

 private:
  std::function<bool(WindowMessage&)> onMessage_;
};

// Runs the test dialog IDD_TEST modally on this thread; doModal's value.  The
// test's hookers end it; if they do not within a time limit, a second thread
// ends it with WM_ENDSESSION and the test fails.
int runTestDialog(CWindow& window);

// Handles the messages waiting for this thread, `rounds` times with a short
// pause between: lets the system finish asynchronous work such as a tray add.
void pumpMessages(int rounds);

}  // namespace Ostra::testing
