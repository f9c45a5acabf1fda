#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>

#include "base/string.h"

namespace Ostra {

// A file that either does all of an operation or throws IOException naming it.
// Positions and sizes are the C library's long: files of 2 GiB or more are out.
class IFile {
 public:
  explicit IFile(const String& fileName) : fileName(fileName) {}
  IFile(const IFile&) = delete;
  IFile& operator=(const IFile&) = delete;
  virtual ~IFile() = default;

  virtual bool isOpen() const = 0;
  // origin is SEEK_SET, SEEK_CUR or SEEK_END.
  virtual void seek(long offset, int origin) = 0;
  // -1 when the C library cannot tell; never throws.
  virtual long tell() = 0;
  // The length in bytes; the position is the same afterwards.
  virtual long size() = 0;
  // Exactly `bytes` bytes at the position; fewer (end of file too) throws.
  virtual void read(void* buffer, size_t bytes) = 0;
  virtual void write(const void* buffer, size_t bytes) = 0;
  // Makes the file at least `bytes` long when bytes > 1024; never throws.
  virtual void reserve(size_t bytes) = 0;
  // Passes buffered output to the system; 0 on success, never throws.
  virtual int flush() = 0;
  virtual FILE* nativeHandle() = 0;

  // The path the file was opened with; every error message names it.
  const String fileName;
};

// A C library stream, open for the life of the object and shared with other
// openers (no exclusive lock).  The constructor opens or throws
// "<path> が開けませんでした"; the destructor closes and ignores close errors.
class CStdFile : public IFile {
 public:
  // mode is a C library mode string: "rb", "w+b", ...; with 'x' ("wxb") the
  // file is created and the open fails when anything stands at its name.
  CStdFile(const String& fileName, const String& mode);
  ~CStdFile() override;

  // True until close().
  bool isOpen() const override { return stream_ != nullptr; }
  void seek(long offset, int origin) override;
  long tell() override;
  long size() override;
  void read(void* buffer, size_t bytes) override;
  void write(const void* buffer, size_t bytes) override;
  void reserve(size_t bytes) override;
  int flush() override;
  FILE* nativeHandle() override { return stream_.get(); }

  // Flushes and has the system write the file to the disk before returning,
  // through this open stream; the write message when either fails.
  void syncToDisk();
  // Flushes and closes now, throwing the write message when either fails
  // (a full disk shows up only here); afterwards no operation may be called.
  void close();

 private:
  struct StreamCloser {
    void operator()(FILE* stream) const;
  };
  std::unique_ptr<FILE, StreamCloser> stream_;
};

}  // namespace Ostra
