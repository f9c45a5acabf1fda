#include "base/critical_error_mode.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace Ostra {
namespace {

TEST(CriticalErrorBoxesOff, TurnsTheBoxesOffForItsScopeOnly) {
  const UINT outside = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  {
    const CriticalErrorBoxesOff quiet;
    EXPECT_EQ(UINT{SEM_FAILCRITICALERRORS}, GetErrorMode());
  }
  EXPECT_EQ(UINT{SEM_NOOPENFILEERRORBOX}, GetErrorMode()) << "the earlier mode is back";
  SetErrorMode(outside);
}

}  // namespace
}  // namespace Ostra
