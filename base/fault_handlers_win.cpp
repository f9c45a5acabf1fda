#include <windows.h>

#include <float.h>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/exception.h"
#include "base/fault_handlers.h"
#include "base/platform_win.h"

namespace Ostra {

namespace {

// The faulting thread is sent into one of these as if the faulting
// instruction had called it, so the exception unwinds from the point of the
// fault (the code is built with -fnon-call-exceptions).  Throwing from inside
// the system's exception dispatch instead would have to unwind through the
// system's own frames, which the 32-bit build's DWARF unwinder has no tables for.
// The stack is realigned on entry: the fault may come at any point of a frame.
#define KAIRON_FAULT_THROWER [[noreturn]] __attribute__((force_align_arg_pointer, noinline))

KAIRON_FAULT_THROWER void throwFloatingPointFault() {
  // An unmasked x87 exception stays pending until the state is reset.
  _fpreset();
  throw FPEException();
}

KAIRON_FAULT_THROWER void throwInvalidProgram() { throw InvalidProgramException(); }

KAIRON_FAULT_THROWER void throwAccessViolation() { throw AccessViolationException(); }

using Thrower = void (*)();

Thrower throwerFor(DWORD code) {
  switch (code) {
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case STATUS_FLOAT_MULTIPLE_FAULTS:
    case STATUS_FLOAT_MULTIPLE_TRAPS:
      return throwFloatingPointFault;
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
      return throwInvalidProgram;
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
      return throwAccessViolation;
    default:
      return nullptr;
  }
}

#if defined(__x86_64__)
extern "C" void kaironFaultTrampoline();
asm(R"(
  .text
  .p2align 4
  .def kaironFaultTrampoline; .scl 3; .type 32; .endef
  .seh_proc kaironFaultTrampoline
kaironFaultTrampoline:
  pushq %rbp
  .seh_pushreg %rbp
  movq %rsp, %rbp
  .seh_setframe %rbp, 0
  .seh_endprologue
  andq $-16, %rsp
  subq $32, %rsp
  callq *%rax
  int3
  .seh_endproc
)");
#endif

LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;

// Reached only when no frame handled the fault, which C++ frames never do.
LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* info) {
  const Thrower thrower = throwerFor(info->ExceptionRecord->ExceptionCode);
  if (thrower == nullptr || (info->ExceptionRecord->ExceptionFlags & EXCEPTION_NONCONTINUABLE) != 0)
    return previousFilter != nullptr ? previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
  CONTEXT* context = info->ContextRecord;
#if defined(__x86_64__)
  // The faulting code's stack need not be 16-byte aligned as a callee's must,
  // and the x64 unwinder takes the faulting address as it is: a trampoline
  // with a frame pointer aligns the stack and calls the thrower in rax.
  context->Rsp -= sizeof(DWORD64);
  *reinterpret_cast<DWORD64*>(context->Rsp) = context->Rip;
  context->Rax = reinterpret_cast<DWORD64>(thrower);
  context->Rip = reinterpret_cast<DWORD64>(kaironFaultTrampoline);
#else
  // The DWARF unwinder looks up "return address - 1", which must land on the
  // faulting instruction itself, not on the one before it.
  context->Esp -= sizeof(DWORD);
  *reinterpret_cast<DWORD*>(context->Esp) = context->Eip + 1;
  context->Eip = reinterpret_cast<DWORD>(thrower);
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

void installHardwareFaultHandlers() { previousFilter = SetUnhandledExceptionFilter(onUnhandledException); }

void showAbortNotice(const String& caption, const String& text) {
  if (useWideCalls()) {
    MessageBoxW(nullptr, wide(text), wide(caption), MB_ICONERROR);
    return;
  }
  const std::string narrowText = defaultEncoding().encode(text);
  const std::string narrowCaption = defaultEncoding().encode(caption);
  MessageBoxA(nullptr, narrowText.c_str(), narrowCaption.c_str(), MB_ICONERROR);
}

}  // namespace Ostra
