// Windows has no resource limits: the tests that fill a disk through one
// are POSIX-only (see windows_tests.cmake); these fail if ever called.
#pragma once
#include <cerrno>

#define RLIMIT_FSIZE 1
#define SIGXFSZ 25
typedef unsigned long rlim_t;
struct rlimit {
  rlim_t rlim_cur;
  rlim_t rlim_max;
};
inline int getrlimit(int, rlimit* limit) { return limit->rlim_cur = limit->rlim_max = 0, errno = ENOSYS, -1; }
inline int setrlimit(int, const rlimit*) { return errno = ENOSYS, -1; }
