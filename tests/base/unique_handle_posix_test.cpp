#include "base/unique_handle_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <utility>

namespace Ostra {
namespace {

bool isOpen(int fd) { return fcntl(fd, F_GETFD) != -1; }

// A fresh descriptor of its own (not 0, 1 or 2).
int openDescriptor() { return open("/dev/null", O_RDONLY | O_CLOEXEC); }

TEST(UniqueHandle, ClosesExactlyWhatItStillOwns) {
  const struct {
    const char* name;
    bool (*run)(int fd);  // true when fd must still be open afterwards
  } cases[] = {
      {"destroyed", [](int fd) { return (UniqueFd(fd), false); }},
      {"released", [](int fd) { return UniqueFd(fd).release() == fd; }},
      {"moved out then destroyed",
       [](int fd) {
         UniqueFd first(fd);
         { const UniqueFd second(std::move(first)); }
         return first.valid();
       }},
      {"moved out and kept",
       [](int fd) {
         UniqueFd first(fd);
         UniqueFd second(std::move(first));
         const bool handedOver = !first.valid() && second.get() == fd;
         second.release();
         return handedOver;
       }},
      {"reset to itself",
       [](int fd) {
         UniqueFd owner(fd);
         owner.reset(fd);
         const bool kept = isOpen(fd);
         owner.release();
         return kept;
       }},
  };
  for (const auto& c : cases) {
    const int fd = openDescriptor();
    ASSERT_GE(fd, 0);
    const bool wantOpen = c.run(fd);
    EXPECT_EQ(wantOpen, isOpen(fd)) << c.name;
    if (isOpen(fd)) close(fd);
  }
}

TEST(UniqueHandle, TakingAnotherHandleClosesTheOldOne) {
  const int a = openDescriptor();
  const int b = openDescriptor();
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  {
    UniqueFd target(a);
    UniqueFd source(b);
    target = std::move(source);
    EXPECT_FALSE(isOpen(a)) << "move assignment closes the target's handle";
    EXPECT_TRUE(isOpen(b));
    EXPECT_EQ(b, target.get());
    EXPECT_FALSE(source.valid());
    target.reset();
    EXPECT_FALSE(isOpen(b)) << "reset closes";
    EXPECT_FALSE(target.valid());
  }
  EXPECT_FALSE(UniqueFd().valid());
}

}  // namespace
}  // namespace Ostra
