#include "ui/app_frame_base.h"

#include "base/exception.h"
#include "ui/error_box.h"

namespace Ostra {

void CAppFrameBase::init(HINSTANCE instance, HINSTANCE prevInstance, LPSTR commandLine, int showCommand) {
  instance_ = instance;
  prevInstance_ = prevInstance;
  commandLine_ = commandLine;
  showCommand_ = showCommand;
}

int CAppFrameBase::run() {
  try {
    return main();
  } catch (const std::exception& e) {
    drainQuitMessages();
    // onError gets a plain copy carrying the text, whatever the thrown type was.
    onError(RuntimeException(exceptionText(e)));
    return 0;
  }
}

void CAppFrameBase::onError(const std::exception& e) { showExceptionBox(e, CWnd(nullptr), u"エラー発生：終了します"); }

}  // namespace Ostra
