#include "formats/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace formats {

FileChangeLock::FileChangeLock(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  fd_ = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  int rc;
  while ((rc = flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
  }
  if (rc != 0) {
    close(fd_);
    fd_ = -1;
  }
}

FileChangeLock::~FileChangeLock() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace formats
