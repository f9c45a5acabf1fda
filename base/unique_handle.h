#pragma once

namespace Ostra {

// The one owner of a system handle (FILE* streams use std::unique_ptr): closes it when destroyed or reset, moves
// but never copies.  Traits name the handle type, its invalid value (never
// closed) and its close call:
//   struct Traits {
//     using Handle = ...;
//     static Handle invalid() noexcept;
//     static void close(Handle handle) noexcept;
//   };
template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  bool valid() const noexcept { return handle_ != Traits::invalid(); }
  explicit operator bool() const noexcept { return valid(); }
  Handle get() const noexcept { return handle_; }

  // Gives the handle up without closing it; the owner is left invalid.
  Handle release() noexcept {
    const Handle handle = handle_;
    handle_ = Traits::invalid();
    return handle;
  }

  // Closes the handle held so far, unless it is the one taken over.
  void reset(Handle handle = Traits::invalid()) noexcept {
    const Handle previous = handle_;
    handle_ = handle;
    if (previous != Traits::invalid() && previous != handle) Traits::close(previous);
  }

 private:
  Handle handle_ = Traits::invalid();
};

}  // namespace Ostra
