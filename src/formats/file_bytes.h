// Whole files as bytes: reading, and the one way the program replaces a file.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

namespace formats {

// True when the file is a regular file that can be read.
bool FileReadable(const std::string& hostPath);

// True when the path itself (not a link) is a regular file of this user's:
// one the program may have written.
bool OwnRegularFile(const std::string& hostPath);

// Opens a regular file for reading; nullptr (errno set) for anything else:
// a FIFO or a device is refused at once, never waited on. With kRefuse, a
// link (a reparse point on Windows) is refused too rather than followed:
// for re-reading a file the program wrote, which another may have replaced
// by a link to something it must not copy.
enum class TLinks { kFollow, kRefuse };
std::FILE* OpenRegularFile(const std::string& hostPath, TLinks links = TLinks::kFollow);

// Reads the whole file; false when it cannot be read (missing, not a
// regular file) or is longer than `limit` (errno EFBIG).
constexpr size_t kReadLimit = 1 << 20;
bool ReadFileBytes(const std::string& hostPath, std::string* bytes, size_t limit = kReadLimit);

// A file written in pieces beside `path` and put in its place whole, so a
// reader never sees half a file and a failed or abandoned write leaves the
// old one untouched. The temporary file gets an unpredictable name, is
// created exclusively (a planted link is never followed), and is held
// locked while written so that RemoveStaleTemporaries spares it. Only a
// regular file (or nothing) is ever replaced, and never one protected from
// writing. The new file is flushed to disk before the rename, the directory
// after it, and the temporaries a killed run left beside it are removed.
// The new file keeps the old one's permissions. On failure errno tells why.
class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile() { Abandon(); }

  bool Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  bool Write(const void* data, size_t size);
  bool WriteAt(long offset, const void* data, size_t size);
  // Closes and renames over the path; false (and nothing replaced) when any
  // write failed.
  bool Commit();
  // Removes the temporary file.
  void Abandon();

 private:
  std::string path_;
  std::string temporary_;
  int fd_ = -1;
  int error_ = 0;
};

bool WriteFileAtomically(const std::string& path, const void* data, size_t size);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// Removes the temporaries of `path` left by a killed run (those no running
// writer holds).
void RemoveStaleTemporaries(const std::string& path);

}  // namespace formats
