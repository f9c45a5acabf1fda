#include "tests/base/fault_child/message_handler.h"

void runAsMessageHandler(void (*body)()) {
  body();
  body();
}
