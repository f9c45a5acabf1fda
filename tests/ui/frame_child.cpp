// A program whose main throws: the frame must show its last box and end with
// exit code 0.  With an argument N it first queues N quit requests, which the
// frame must clear so that the box is not closed at once.
#include <windows.h>

#include <cstdlib>

#include "base/exception.h"
#include "ui/app_frame_base.h"

namespace {

class ThrowingFrame : public Ostra::CAppFrameBase {
 protected:
  int main() override {
    const int quits = std::atoi(commandLine());
    for (int i = 0; i < quits; ++i) PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 0, 0);
    throw Ostra::RuntimeException(u"テストの例外です");
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR commandLine, int showCommand) {
  ThrowingFrame frame;
  frame.init(instance, prevInstance, commandLine, showCommand);
  return frame.run();
}
