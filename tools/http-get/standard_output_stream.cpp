#include "tools/http-get/standard_output_stream.h"

#include <unistd.h>

#include <cerrno>

#include "tools/http-get/file_failure.h"

namespace pelmorix {

int64_t TStandardOutputStream::Read(void*, int64_t) { return 0; }

int64_t TStandardOutputStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(STDOUT_FILENO, static_cast<const char*>(buffer) + done,
                              static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      throw EWriteError(FileFailureText("write to", "standard output", n < 0 ? errno : 0));
    done += n;
  }
  written_ += done;
  return done;
}

int64_t TStandardOutputStream::Seek(int64_t, TSeekOrigin) { return written_; }

void TStandardOutputStream::SetSize(int64_t) {}

}  // namespace pelmorix
