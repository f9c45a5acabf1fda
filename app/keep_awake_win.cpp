#include "app/keep_awake_win.h"

CKeepAwake::CKeepAwake(SetState setState) : setState_(setState ? setState : SetThreadExecutionState) {}

CKeepAwake::~CKeepAwake() { release(); }

void CKeepAwake::hold() {
  // Not ES_DISPLAY_REQUIRED: a countdown of hours must not keep the screen lit.
  setState_(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
  held_ = true;
}

void CKeepAwake::release() {
  if (!held_) return;
  setState_(ES_CONTINUOUS);
  held_ = false;
}

void CKeepAwake::holdDisplay() {
  setState_(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
  held_ = true;
}
