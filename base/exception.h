#pragma once

#include <exception>
#include <memory>
#include <string>

#include "base/string.h"

namespace Ostra {

// The root of every failure the program reports.  what() is the message in the
// ANSI code page, cut to 511 bytes on a character boundary; message() is the
// whole wide text, which a code page without its characters cannot spoil.  Each
// exception keeps its own text; copies share it, so copying is cheap and never
// throws.
class Exception : public std::exception {
 public:
  explicit Exception(const String& message);
  const char* what() const noexcept override;
  const String& message() const noexcept;

 private:
  struct Text {
    String wide;
    std::string narrow;
  };
  std::shared_ptr<const Text> text_;
};

class RuntimeException : public Exception {
 public:
  explicit RuntimeException(const String& message) : Exception(message) {}
};

// The message, " : " and the system's text for the calling thread's last error
// code (errno on POSIX), read during construction; the message alone when it is 0.
class Win32Exception : public RuntimeException {
 public:
  explicit Win32Exception(const String& message);

 private:
  Win32Exception(const String& message, unsigned long code);
};

// File and directory failures: the path followed by a fixed suffix.
class IOException : public RuntimeException {
 public:
  explicit IOException(const String& message) : RuntimeException(message) {}
};

class FPEException : public RuntimeException {
 public:
  FPEException();  // "浮動小数点数エラーがありました"
};

class InvalidProgramException : public RuntimeException {
 public:
  InvalidProgramException();  // "不正な命令が検出されました"
};

class AccessViolationException : public RuntimeException {
 public:
  AccessViolationException();  // "不正なメモリアクセスがありました"
};

// The text to show for any exception: message() of an Exception, otherwise
// what() decoded from the ANSI code page.
String exceptionText(const std::exception& e);

// Turns hardware faults into the exceptions above, thrown where the fault
// happened, and ends terminate/abort with the "異常終了" box and exit code 1.
// Runs during static initialisation (base/process_setup.h); calling it again
// does nothing.
void installFaultHandlers();
bool faultHandlersInstalled();

}  // namespace Ostra
