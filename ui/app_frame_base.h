#pragma once

#include <windows.h>

#include <exception>

namespace Ostra {

// The application frame: runs main() and turns a std::exception that escapes
// it into a final box.  The entry point makes the derived frame as a local,
// calls init with its four arguments and returns run().
class CAppFrameBase {
 public:
  CAppFrameBase() = default;
  CAppFrameBase(const CAppFrameBase&) = delete;
  CAppFrameBase& operator=(const CAppFrameBase&) = delete;

  // Stores the entry point's arguments.
  void init(HINSTANCE instance, HINSTANCE prevInstance, LPSTR commandLine, int showCommand);
  // main()'s value; 0 after a std::exception escaped it and onError reported
  // it (pending quit messages removed first).  Other exceptions pass.
  int run();

  HINSTANCE instance() const { return instance_; }
  HINSTANCE prevInstance() const { return prevInstance_; }
  // The ANSI command line after the program name, as the entry point got it.
  LPSTR commandLine() const { return commandLine_; }
  int showCommand() const { return showCommand_; }

 protected:
  // Not virtual: the frame is a local of the entry point, never deleted through the base.
  ~CAppFrameBase() = default;

  // Shows e in the ownerless box "エラー発生：終了します".
  virtual void onError(const std::exception& e);
  // The application's work; its value is the exit code.
  virtual int main() = 0;

 private:
  HINSTANCE instance_ = nullptr;
  HINSTANCE prevInstance_ = nullptr;
  LPSTR commandLine_ = nullptr;
  int showCommand_ = 0;
};

}  // namespace Ostra
