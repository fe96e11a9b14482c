// The Windows half of file_bytes.h: wide-character calls everywhere, so that
// accented names work whatever the system's code page. A writer's temporary
// file is held open without delete sharing: a running writer's file cannot
// be removed, a killed writer's can.
#include "formats/file_bytes.h"

#include <windows.h>
#include <bcrypt.h>
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>

#include "formats/wide_text.h"

namespace formats {
namespace {

constexpr char kTemporaryMark[] = ".tmp";
constexpr size_t kRandomChars = 6;

void SetErrnoFromSystem() { errno = ErrnoFromSystemError(GetLastError()); }

// Nothing or a regular file may be replaced (not a directory, a device or a
// reparse point such as a link or a junction), and not a read-only one: the
// rename would not ask.
bool Replaceable(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    DWORD error = GetLastError();
    errno = ErrnoFromSystemError(error);
    return error == ERROR_FILE_NOT_FOUND;
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    errno = EISDIR;
    return false;
  }
  if (data.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) {
    errno = EPERM;
    return false;
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
    errno = EACCES;
    return false;
  }
  return true;
}

std::string RandomChars() {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[kRandomChars];
  if (BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    for (size_t i = 0; i < kRandomChars; ++i)
      bytes[i] = static_cast<unsigned char>((counter.QuadPart >> (i * 5)) ^ GetCurrentProcessId());
  }
  std::string chars;
  for (unsigned char b : bytes) chars += kAlphabet[b % (sizeof kAlphabet - 1)];
  return chars;
}

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

// An opened regular file on disk (not a pipe, a console or a device).
HANDLE OpenForReading(const std::string& hostPath, TLinks links = TLinks::kFollow) {
  DWORD flags = links == TLinks::kRefuse ? FILE_FLAG_OPEN_REPARSE_POINT : FILE_ATTRIBUTE_NORMAL;
  HANDLE h = CreateFileW(Widen(hostPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    SetErrnoFromSystem();
    return h;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (links == TLinks::kRefuse && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))) {
    CloseHandle(h);
    errno = EINVAL;
    return INVALID_HANDLE_VALUE;
  }
  return h;
}

}  // namespace

// The user's own files are protected by the system's access lists: a regular
// file that is not a link or a device is one the program may have written.
bool OwnRegularFile(const std::string& hostPath) {
  DWORD attributes = GetFileAttributesW(Widen(hostPath).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE));
}

bool FileReadable(const std::string& hostPath) {
  HANDLE h = OpenForReading(hostPath);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

std::FILE* OpenRegularFile(const std::string& hostPath, TLinks links) {
  HANDLE h = OpenForReading(hostPath, links);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(h);
    return nullptr;
  }
  std::FILE* f = _fdopen(fd, "rb");
  if (!f) _close(fd);
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
  if (!Replaceable(Widen(path))) return false;
  path_ = path;
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary_ = path + kTemporaryMark + RandomChars();
    // CREATE_NEW fails on any existing name, a planted link among them.
    HANDLE h = CreateFileW(Widen(temporary_).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      temporary_.clear();
      errno = ErrnoFromSystemError(error);
      return false;
    }
    fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY);
    if (fd_ < 0) {
      CloseHandle(h);
      DeleteFileW(Widen(temporary_).c_str());
      temporary_.clear();
      errno = EMFILE;
      return false;
    }
    error_ = 0;
    return true;
  }
  temporary_.clear();
  errno = EEXIST;
  return false;
}

bool AtomicFile::WriteAt(long offset, const void* data, size_t size) {
  if (fd_ < 0 || error_) return false;
  HANDLE h = HandleOf(fd_);
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    BOOL ok;
    if (offset < 0) {
      // Appends at the file's own position, which WriteAt leaves alone.
      LARGE_INTEGER zero{};
      LARGE_INTEGER end;
      ok = SetFilePointerEx(h, zero, &end, FILE_END) && WriteFile(h, p, chunk, &written, nullptr);
    } else {
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = 0;
      ok = WriteFile(h, p, chunk, &written, &at);
      offset += static_cast<long>(written);
    }
    if (!ok) {
      error_ = ErrnoFromSystemError(GetLastError());
      errno = error_;
      return false;
    }
    p += written;
    size -= written;
  }
  return true;
}

bool AtomicFile::Write(const void* data, size_t size) { return WriteAt(-1, data, size); }

bool AtomicFile::Commit() {
  if (fd_ < 0) return false;
  if (!FlushFileBuffers(HandleOf(fd_)) && !error_) error_ = ErrnoFromSystemError(GetLastError());
  if (_close(fd_) != 0 && !error_) error_ = EIO;
  fd_ = -1;
  std::wstring target = Widen(path_);
  std::wstring temporary = Widen(temporary_);
  // Checked again: the target may have changed while the file was written.
  if (!error_ && !Replaceable(target)) error_ = errno;
  if (!error_) {
    // ReplaceFileW keeps the old file's attributes and security; a new name
    // is simply moved in.
    bool exists = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    BOOL ok = exists ? ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                    nullptr, nullptr)
                     : MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) error_ = ErrnoFromSystemError(GetLastError());
  }
  if (!error_) {
    temporary_.clear();
    RemoveStaleTemporaries(path_);
    return true;
  }
  int error = error_;
  Abandon();
  errno = error;
  return false;
}

void AtomicFile::Abandon() {
  if (fd_ >= 0) _close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) DeleteFileW(Widen(temporary_).c_str());
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
  std::wstring pattern = Widen(path + kTemporaryMark) + L"*";
  size_t slash = path.find_last_of("/\\");
  std::wstring directory = slash == std::string::npos ? L"" : Widen(path.substr(0, slash + 1));
  size_t nameLength = Widen(path.substr(slash == std::string::npos ? 0 : slash + 1) + kTemporaryMark).size();
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (std::wcslen(found.cFileName) != nameLength + kRandomChars) continue;
    if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) continue;
    // Fails while a running writer holds it open.
    DeleteFileW((directory + found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace formats
