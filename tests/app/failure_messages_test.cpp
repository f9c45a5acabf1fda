#include "app/failure_messages.h"

#include <gtest/gtest.h>

using Ostra::String;

namespace {

TEST(FailureMessages, Texts) {
  EXPECT_EQ(String(u"C:\\t\\a.tpt の読み込みに失敗しました"), loadFailedMessage(u"C:\\t\\a.tpt"));
  EXPECT_EQ(String(u"C:\\t\\Kairon.cfg の保存に失敗しました"), saveFailedMessage(u"C:\\t\\Kairon.cfg"));
}

}  // namespace
