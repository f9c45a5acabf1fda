#include "app/app_frame_win.h"

#include "app/app_window_win.h"

int CAppFrame::main() {
  CAppWindow app;
  return app.runDialog(*this);
}
