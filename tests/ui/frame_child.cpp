// A program whose main throws: the frame must show its last box and end with
// exit code 0.  With an argument N it first queues N quit requests, which the
// frame must clear before the box: a box that meets one closes at once and
// queues it again, and the program then ends with kQuitLeft.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "base/exception.h"
#include "ui/app_frame_base.h"

namespace {

constexpr int kQuitLeft = 99;

class ThrowingFrame : public Ostra::CAppFrameBase {
 protected:
  int main() override {
    // The argument may come quoted.
    const char* digits = std::strpbrk(commandLine(), "0123456789");
    const int quits = digits ? std::atoi(digits) : 0;
    // A thread has no queue to post to until it first asks for messages.
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    for (int i = 0; i < quits; ++i) PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 0, 0);
    throw Ostra::RuntimeException(u"テストの例外です");
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR commandLine, int showCommand) {
  ThrowingFrame frame;
  frame.init(instance, prevInstance, commandLine, showCommand);
  const int exitCode = frame.run();
  MSG msg;
  return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) ? kQuitLeft : exitCode;
}
