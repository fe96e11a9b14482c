// One read-change-write of a shared file at a time: two programs on one
// data directory would otherwise each write back what they read and lose
// the other's change.
#pragma once
#include <string>

namespace formats {

// Holds an advisory lock (flock) on the directory of `path` while it
// lives; other programs taking the same lock wait. The directory is
// locked, not the file, since a replace puts a new file in its place. On a
// file system without locks the change goes on unlocked.
class FileChangeLock {
 public:
  explicit FileChangeLock(const std::string& path);
  ~FileChangeLock();
  FileChangeLock(const FileChangeLock&) = delete;
  FileChangeLock& operator=(const FileChangeLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace formats
