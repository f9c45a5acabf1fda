#include "base/file.h"

#include "base/exception.h"
#include "base/file_open.h"

namespace Ostra {

namespace {

const char16_t kOpenFailed[] = u" が開けませんでした";
const char16_t kSeekFailed[] = u" のファイルポインタの設定に失敗しました";
const char16_t kReadFailed[] = u" からの読み込みに失敗しました";
const char16_t kWriteFailed[] = u" への書き込みに失敗しました";

}  // namespace

void CStdFile::StreamCloser::operator()(FILE* stream) const { std::fclose(stream); }

CStdFile::CStdFile(const String& fileName, const String& mode)
    : IFile(fileName), stream_(openSharedStream(fileName, mode)) {
  if (!stream_) throw IOException(fileName + kOpenFailed);
}

CStdFile::~CStdFile() = default;

void CStdFile::seek(long offset, int origin) {
  if (std::fseek(stream_.get(), offset, origin) != 0) throw IOException(fileName + kSeekFailed);
}

long CStdFile::tell() { return std::ftell(stream_.get()); }

long CStdFile::size() {
  const long position = tell();
  seek(0, SEEK_END);
  const long size = tell();
  seek(position, SEEK_SET);
  return size;
}

void CStdFile::read(void* buffer, size_t bytes) {
  if (bytes == 0) return;
  if (std::fread(buffer, bytes, 1, stream_.get()) != 1) throw IOException(fileName + kReadFailed);
}

void CStdFile::write(const void* buffer, size_t bytes) {
  if (bytes == 0) return;
  if (std::fwrite(buffer, bytes, 1, stream_.get()) != 1) throw IOException(fileName + kWriteFailed);
}

void CStdFile::reserve(size_t bytes) {
  if (bytes <= 1024) return;
  // Best effort by contract: a file that cannot grow shows up at the next write.
  const long position = tell();
  std::fseek(stream_.get(), static_cast<long>(bytes - 1), SEEK_SET);
  std::fputc(0, stream_.get());
  std::fseek(stream_.get(), position, SEEK_SET);
}

int CStdFile::flush() { return std::fflush(stream_.get()); }

void CStdFile::syncToDisk() {
  if (std::fflush(stream_.get()) != 0 || !syncStreamToDisk(stream_.get())) throw IOException(fileName + kWriteFailed);
}

void CStdFile::close() {
  // The last buffered bytes reach the system only now; a full disk or a lost
  // network share is reported here and nowhere else.
  const bool flushed = std::fflush(stream_.get()) == 0;
  const bool closed = std::fclose(stream_.release()) == 0;
  if (!flushed || !closed) throw IOException(fileName + kWriteFailed);
}

}  // namespace Ostra
