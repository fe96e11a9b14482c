#include "formats/file_bytes.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace formats {

bool FileReadable(const std::string& hostPath) {
  struct stat st;
  return stat(hostPath.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
         access(hostPath.c_str(), R_OK) == 0;
}

bool ReadFileBytes(const std::string& hostPath, std::string* bytes) {
  FILE* f = std::fopen(hostPath.c_str(), "rb");
  if (!f) return false;
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || S_ISDIR(st.st_mode)) {
    std::fclose(f);
    return false;
  }
  bytes->clear();
  char chunk[8192];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes->append(chunk, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size) {
  std::string temp = path + ".tmp" + std::to_string(getpid());
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  struct stat old;
  if (stat(path.c_str(), &old) == 0) fchmod(fd, old.st_mode & 07777);
  const char* p = static_cast<const char*>(data);
  size_t left = size;
  bool ok = true;
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (close(fd) != 0) ok = false;
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) unlink(temp.c_str());
  return ok;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  return WriteFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace formats
