#include <windows.h>

#include "app/app_frame_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR commandLine, int showCommand) {
  CAppFrame frame;
  frame.init(instance, prevInstance, commandLine, showCommand);
  return frame.run();
}
