#include "base/exception.h"

#include "base/encoding.h"
#include "base/system_error.h"

namespace Ostra {

namespace {

// 511 bytes of text and a terminator, as the message boxes have always been fed.
constexpr int kMessageBufferSize = 512;

std::string narrowMessage(const String& message) {
  char buffer[kMessageBufferSize];
  message.copyToBuffer(buffer, kMessageBufferSize);
  return buffer;
}

String win32Message(const String& message, unsigned long code) {
  if (code == 0) return message;
  const String text = systemErrorText(code);
  // A code the system has no words for is still worth reporting as a number.
  return message + u" : " + (text.empty() ? String::format(u"%lu", code) : text);
}

}  // namespace

Exception::Exception(const String& message)
    : text_(std::make_shared<const Text>(Text{message, narrowMessage(message)})) {}

const char* Exception::what() const noexcept { return text_->narrow.c_str(); }

const String& Exception::message() const noexcept { return text_->wide; }

String exceptionText(const std::exception& e) {
  if (const auto* own = dynamic_cast<const Exception*>(&e)) return own->message();
  return defaultEncoding().decode(e.what());
}

// The code is read before anything else can overwrite it.
Win32Exception::Win32Exception(const String& message) : Win32Exception(message, lastSystemError()) {}

Win32Exception::Win32Exception(const String& message, unsigned long code)
    : RuntimeException(win32Message(message, code)) {}

FPEException::FPEException() : RuntimeException(u"浮動小数点数エラーがありました") {}

InvalidProgramException::InvalidProgramException() : RuntimeException(u"不正な命令が検出されました") {}

AccessViolationException::AccessViolationException() : RuntimeException(u"不正なメモリアクセスがありました") {}

}  // namespace Ostra
