#include "formats/file_bytes.h"

#include <cctype>
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
// FIFO or a link), and not one its owner protected from writing: the rename
// would not ask (nor would root's access check).
bool Replaceable(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
  if (!S_ISREG(st.st_mode)) {
    errno = S_ISDIR(st.st_mode) ? EISDIR : EPERM;
    return false;
  }
  if ((st.st_mode & 0222) == 0) {
    errno = EACCES;
    return false;
  }
  return access(path.c_str(), W_OK) == 0;
}

// "x.tmp" and six letters or digits, as mkostemp makes them.
bool OwnTemporaryName(const char* name, const std::string& prefix) {
  if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0 || std::strlen(name) != prefix.size() + kRandomChars)
    return false;
  for (const char* c = name + prefix.size(); *c; ++c)
    if (!std::isalnum(static_cast<unsigned char>(*c))) return false;
  return true;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A rename is kept through a power cut only once its directory is flushed.
void FlushDirectory(const std::string& path) {
  int fd = open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// A temporary file created and locked; false (errno set) when none can be.
// A remover that took the name between creation and lock has unlinked it:
// then another is made.
int CreateLockedTemporary(std::string* name, const std::string& path) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    std::string candidate = path + kTemporaryMark + std::string(kRandomChars, 'X');
    // mkostemp creates with O_EXCL: an existing name, a link among them, fails.
    int fd = mkostemp(candidate.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &st) == 0 && st.st_nlink > 0) {
      *name = candidate;
      return fd;
    }
    close(fd);
  }
  errno = EAGAIN;
  return -1;
}

}  // namespace

bool FileReadable(const std::string& hostPath) {
  struct stat st;
  return stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(hostPath.c_str(), R_OK) == 0;
}

bool OwnRegularFile(const std::string& hostPath) {
  struct stat st;
  return lstat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid();
}

std::FILE* OpenRegularFile(const std::string& hostPath, TLinks links) {
  // Opened without waiting: a FIFO would otherwise block until a writer came.
  int fd = open(hostPath.c_str(),
                O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (links == TLinks::kRefuse ? O_NOFOLLOW : 0));
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
  fd_ = CreateLockedTemporary(&temporary_, path);
  if (fd_ < 0) return false;
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
  // On disk before it takes the old file's place: a power cut then leaves
  // the old file or the new one, never an empty one.
  if (!error_ && fsync(fd_) != 0) error_ = errno;
  // Checked again: the target may have changed while the file was written.
  if (!error_ && !Replaceable(path_)) error_ = errno;
  // Renamed while still locked, so that no remover takes it meanwhile.
  if (!error_ && std::rename(temporary_.c_str(), path_.c_str()) != 0) error_ = errno;
  if (close(fd_) != 0 && !error_) error_ = errno;
  fd_ = -1;
  if (error_) {
    int error = error_;
    Abandon();
    errno = error;
    return false;
  }
  temporary_.clear();
  FlushDirectory(path_);
  RemoveStaleTemporaries(path_);
  return true;
}

void AtomicFile::Abandon() {
  // Keeps errno: a caller builds its message from it afterwards.
  int saved = errno;
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
  errno = saved;
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size) {
  AtomicFile file;
  return file.Open(path) && file.Write(data, size) && file.Commit();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  return WriteFileAtomically(path, bytes.data(), bytes.size());
}

void RemoveStaleTemporaries(const std::string& path) {
  int saved = errno;
  size_t slash = path.rfind('/');
  std::string directory = DirectoryOf(path);
  std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + kTemporaryMark;
  DIR* dir = opendir(directory.c_str());
  if (!dir) {
    errno = saved;
    return;
  }
  while (dirent* entry = readdir(dir)) {
    const char* name = entry->d_name;
    if (!OwnTemporaryName(name, prefix)) continue;
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
  errno = saved;
}

}  // namespace formats
