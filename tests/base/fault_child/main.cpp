// Faults on purpose, in the way its one argument names, and prints how each
// fault arrived: "<class>|<what()>|<unwound or not>", one line per fault; or
// tells how the process was set up before main ("installed", "locale").
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "base/exception.h"
#include "tests/base/fault_child/float_traps.h"
#include "tests/base/fault_child/message_handler.h"

namespace {

// The sanitizers would report these before the processor faults.
#define KAIRON_FAULTS __attribute__((noinline, no_sanitize("address", "undefined")))

volatile int zero = 0;
volatile double zeroPointZero = 0.0;
int* volatile nowhere = nullptr;

KAIRON_FAULTS int readNowhere() { return *nowhere; }
KAIRON_FAULTS int divideByZero() { return 7 / zero; }
KAIRON_FAULTS int divideFloatByZero() { return static_cast<int>(1.0 / zeroPointZero); }
KAIRON_FAULTS int executeIllegalInstruction() { __builtin_trap(); }

// Called through these, the faults stay where they are: the optimiser cannot
// prove that a trap throws nothing and drop the handlers around it.
using Fault = int (*)();
Fault volatile accessViolation = readNowhere;
Fault volatile integerDivision = divideByZero;
Fault volatile floatDivision = divideFloatByZero;
Fault volatile illegalInstruction = executeIllegalInstruction;

const char* className(const std::exception& error) {
  if (dynamic_cast<const Ostra::AccessViolationException*>(&error)) return "AccessViolationException";
  if (dynamic_cast<const Ostra::FPEException*>(&error)) return "FPEException";
  if (dynamic_cast<const Ostra::InvalidProgramException*>(&error)) return "InvalidProgramException";
  return "other";
}

void report(const std::exception& error, bool unwound) {
  std::printf("%s|%s|%s\n", className(error), error.what(), unwound ? "unwound" : "not unwound");
  std::fflush(stdout);
}

// Destroyed only when the fault unwinds the frames between it and the catch.
struct UnwindWitness {
  bool* destroyed;
  ~UnwindWitness() { *destroyed = true; }
};

__attribute__((noinline)) void faultBelow(Fault fault, bool* destroyed) {
  UnwindWitness witness{destroyed};
  std::printf("not reached %d\n", fault());
}

// Faults two frames below a catch of std::exception, as a message handler would.
void catchFault(Fault fault) {
  bool unwound = false;
  try {
    faultBelow(fault, &unwound);
  } catch (const std::exception& error) {
    report(error, unwound);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "installed") {
    std::printf("%s\n", Ostra::faultHandlersInstalled() ? "installed" : "missing");
  } else if (mode == "locale") {
    // The locale the program started with, beside the user's own.
    const std::string atStart = std::setlocale(LC_ALL, nullptr);
    std::printf("%s\n", atStart == std::setlocale(LC_ALL, "") ? "user's" : atStart.c_str());
  } else if (mode == "access-violation") {
    catchFault(accessViolation);
  } else if (mode == "integer-division") {
    catchFault(integerDivision);
  } else if (mode == "float-division") {
    trapFloatDivisionByZero();
    catchFault(floatDivision);
  } else if (mode == "illegal-instruction") {
    catchFault(illegalInstruction);
  } else if (mode == "repeated") {
    // Each kind twice, and faults inside the catch block of another exception.
    catchFault(accessViolation);
    catchFault(accessViolation);
    try {
      catchFault(integerDivision);
      throw Ostra::RuntimeException(u"outer");
    } catch (const std::exception&) {
      catchFault(illegalInstruction);
      catchFault(accessViolation);
    }
    catchFault(integerDivision);
    catchFault(illegalInstruction);
    // A floating-point fault leaves the processor's exceptions masked again.
    trapFloatDivisionByZero();
    catchFault(floatDivision);
    trapFloatDivisionByZero();
    catchFault(floatDivision);
  } else if (mode == "message-handler") {
    runAsMessageHandler([] {
      catchFault(accessViolation);
      catchFault(integerDivision);
      catchFault(illegalInstruction);
    });
  } else if (mode == "terminate") {
    std::terminate();
  } else if (mode == "abort") {
    std::abort();
  } else if (mode == "uncaught") {
    throw Ostra::RuntimeException(u"escaped");
  } else {
    std::fprintf(stderr, "unknown mode '%s'\n", mode.c_str());
    return 2;
  }
  return 0;
}
