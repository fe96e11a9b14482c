// The Windows half of file_lock.h. A directory cannot be locked there: the
// lock is on a hidden file of the directory, "pavsdi.lock", which stays
// (removing it would let a newcomer lock a new file while another holds
// the old one).
#include "formats/file_lock.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include "formats/wide_text.h"

namespace formats {

FileChangeLock::FileChangeLock(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  std::string directory = slash == std::string::npos ? "." : path.substr(0, slash);
  HANDLE file = CreateFileW(Widen(directory + "\\pavsdi.lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  OVERLAPPED whole{};
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
    CloseHandle(file);
    return;
  }
  // Closing the descriptor closes the handle, and the lock goes with it.
  fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDWR);
  if (fd_ < 0) CloseHandle(file);
}

FileChangeLock::~FileChangeLock() {
  if (fd_ >= 0) _close(fd_);
}

}  // namespace formats
