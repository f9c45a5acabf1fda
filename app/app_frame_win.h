#pragma once

#include "ui/app_frame_base.h"

// The program's frame: its main() runs the timer dialog.
class CAppFrame : public Ostra::CAppFrameBase {
 protected:
  int main() override;
};
