#include "formats/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace formats {
namespace {

// The temporaries of "x" are "x.tmp" and six random characters.
constexpr char kTemporaryMark[] = ".tmp";
constexpr size_t kRandomChars = 6;

// Nothing or a regular file may be replaced (not a directory, a device, a
// FIFO or a link).
bool Replaceable(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
  if (S_ISREG(st.st_mode)) return true;
  errno = S_ISDIR(st.st_mode) ? EISDIR : EPERM;
  return false;
}

}  // namespace

bool FileReadable(const std::string& hostPath) {
  struct stat st;
  return stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(hostPath.c_str(), R_OK) == 0;
}

std::FILE* OpenRegularFile(const std::string& hostPath) {
  // Opened without waiting: a FIFO would otherwise block until a writer came.
  int fd = open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return nullptr;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    errno = EINVAL;
    return nullptr;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* f = fdopen(fd, "rb");
  if (!f) close(fd);
  return f;
}

bool ReadFileBytes(const std::string& hostPath, std::string* bytes, size_t limit) {
  std::FILE* f = OpenRegularFile(hostPath);
  if (!f) return false;
  bytes->clear();
  char chunk[8192];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    if (bytes->size() + n > limit) {
      std::fclose(f);
      errno = EFBIG;
      return false;
    }
    bytes->append(chunk, n);
  }
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool AtomicFile::Open(const std::string& path) {
  Abandon();
  if (!Replaceable(path)) return false;
  path_ = path;
  temporary_ = path + kTemporaryMark + std::string(kRandomChars, 'X');
  // mkostemp creates with O_EXCL: an existing name, a link among them, fails.
  fd_ = mkostemp(temporary_.data(), O_CLOEXEC);
  if (fd_ < 0) return false;
  flock(fd_, LOCK_EX | LOCK_NB);
  struct stat old;
  mode_t mode = 0666;
  if (stat(path.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode &= ~mask;
  }
  fchmod(fd_, mode);
  error_ = 0;
  return true;
}

bool AtomicFile::WriteAt(long offset, const void* data, size_t size) {
  if (fd_ < 0 || error_) return false;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = offset < 0 ? write(fd_, p, size) : pwrite(fd_, p, size, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
    if (offset >= 0) offset += n;
  }
  return true;
}

bool AtomicFile::Write(const void* data, size_t size) { return WriteAt(-1, data, size); }

bool AtomicFile::Commit() {
  if (fd_ < 0) return false;
  if (close(fd_) != 0 && !error_) error_ = errno;
  fd_ = -1;
  // Checked again: the target may have changed while the file was written.
  if (!error_ && !Replaceable(path_)) error_ = errno;
  if (!error_ && std::rename(temporary_.c_str(), path_.c_str()) != 0) error_ = errno;
  if (!error_) {
    temporary_.clear();
    return true;
  }
  int error = error_;
  Abandon();
  errno = error;
  return false;
}

void AtomicFile::Abandon() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size) {
  AtomicFile file;
  return file.Open(path) && file.Write(data, size) && file.Commit();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  return WriteFileAtomically(path, bytes.data(), bytes.size());
}

void RemoveStaleTemporaries(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string directory = slash == std::string::npos ? "." : path.substr(0, slash);
  std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + kTemporaryMark;
  DIR* dir = opendir(directory.c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    const char* name = entry->d_name;
    if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0 ||
        std::strlen(name) != prefix.size() + kRandomChars)
      continue;
    int fd = openat(dirfd(dir), name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st;
    // A writer still at work holds its lock.
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
        flock(fd, LOCK_EX | LOCK_NB) == 0)
      unlinkat(dirfd(dir), name, 0);
    close(fd);
  }
  closedir(dir);
}

}  // namespace formats
