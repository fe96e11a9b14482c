#include "drivers/child_processes.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/data_files.h"
#include "formats/file_bytes.h"
#include "platform/interrupt.h"
#include "platform/paths.h"

extern char** environ;

namespace drivers {
namespace {

// What a companion gets to end by itself before it is killed.
constexpr int kCleanEndMs = 600;
// At an end the user chose, what a companion at its work gets to finish
// it (clipsend putting the text on the clipboard).
constexpr int kFinishMs = 500;
constexpr int kKilledEndMs = 300;

std::vector<pid_t> groups;

// Only what is safe between fork and exec of a program with threads.
[[noreturn]] void BecomeChild(const char* path, char* const* argv, TChildStreams streams, TChildEnd end,
                              pid_t parent, int report) {
  if (end == TChildEnd::kOnItsOwn) {
    setsid();
  } else {
    if (end == TChildEnd::kGroupWithUs) setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);  // we ended before prctl
  }
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  for (int sig : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &standard, nullptr);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  int null = open("/dev/null", O_RDWR);
  dup2(streams.in >= 0 ? streams.in : null, 0);
  dup2(streams.out >= 0 ? streams.out : null, 1);
  dup2(streams.err >= 0 ? streams.err : null, 2);
  // None of our files, locks included, goes on in the child.
  close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
  execve(path, argv, environ);
  int error = errno;
  [[maybe_unused]] ssize_t n = write(report, &error, sizeof error);
  _exit(127);
}

void PauseMs(long ms) {
  timespec pause{0, ms * 1000000L};
  while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
  }
}

// True when no process of the group is left but zombies: an orphan of it
// waits for the system's first process to reap it, which some containers
// never do.
bool Gone(pid_t group) {
  // The leader is ours to reap when SIGCHLD was not ignored at its end.
  while (waitpid(-group, nullptr, WNOHANG) > 0) {
  }
  if (kill(-group, 0) != 0 && errno == ESRCH) return true;
  DIR* all = opendir("/proc");
  if (!all) return false;
  bool gone = true;
  while (dirent* entry = readdir(all)) {
    if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
    char path[300], stat[512];
    std::snprintf(path, sizeof path, "/proc/%s/stat", entry->d_name);
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    ssize_t n = read(fd, stat, sizeof stat - 1);
    close(fd);
    if (n <= 0) continue;
    stat[n] = 0;
    // "pid (name) state parent group ...": the name may hold anything.
    const char* after = std::strrchr(stat, ')');
    char state;
    int parent, processGroup;
    if (after && std::sscanf(after + 1, " %c %d %d", &state, &parent, &processGroup) == 3 &&
        processGroup == group && state != 'Z') {
      gone = false;
      break;
    }
  }
  closedir(all);
  return gone;
}

// Waits up to `ms` for every group to be gone; false when some are left.
bool AllGone(const std::vector<pid_t>& list, int ms) {
  for (int waited = 0;; waited += 10) {
    bool gone = true;
    for (pid_t g : list) gone = gone && Gone(g);
    if (gone) return true;
    if (waited >= ms) return false;
    PauseMs(10);
  }
}

}  // namespace

std::string FindProgram(const std::string& name) {
  if (name.empty()) return "";
  if (name.find('/') != std::string::npos) return access(name.c_str(), X_OK) == 0 ? name : "";
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  for (;;) {
    size_t end = dirs.find(':', start);
    std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::string file = (dir.empty() ? "." : dir) + "/" + name;
    if (access(file.c_str(), X_OK) == 0) return file;
    if (end == std::string::npos) return "";
    start = end + 1;
  }
}

pid_t StartChild(const std::vector<std::string>& words, TChildStreams streams, TChildEnd end) {
  std::string path = words.empty() ? "" : FindProgram(words[0]);
  if (path.empty()) {
    errno = ENOENT;
    return -1;
  }
  std::vector<std::string> copy = words;
  std::vector<char*> argv;
  for (std::string& w : copy) argv.push_back(w.data());
  argv.push_back(nullptr);
  // The child reports a failed exec on this pipe; it closes unread when
  // the program runs.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return -1;
  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid == 0) BecomeChild(path.c_str(), argv.data(), streams, end, parent, report[1]);
  close(report[1]);
  if (pid < 0) {
    close(report[0]);
    return -1;
  }
  bool ours = end == TChildEnd::kGroupWithUs;
  if (ours) setpgid(pid, pid);  // whichever of us runs first
  int error = 0;
  ssize_t n;
  while ((n = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  if (n > 0) {
    waitpid(pid, nullptr, 0);
    errno = error;
    return -1;
  }
  if (ours) {
    std::erase_if(groups, Gone);
    groups.push_back(pid);
    platform::AtShutdown(EndChildren);
  }
  return pid;
}

void EndChildren() {
  if (!platform::ShuttingDown()) {
    for (int waited = 0; waited < kFinishMs; waited += 10) {
      bool working = false;
      for (pid_t g : groups) {
        while (waitpid(g, nullptr, WNOHANG) > 0) {
        }
        working = working || kill(g, 0) == 0;
      }
      if (!working) break;
      PauseMs(10);
    }
  }
  std::vector<pid_t> live;
  for (pid_t g : groups)
    if (!Gone(g) && kill(-g, SIGTERM) == 0) live.push_back(g);
  groups.clear();
  if (AllGone(live, kCleanEndMs)) return;
  for (pid_t g : live) kill(-g, SIGKILL);
  AllGone(live, kKilledEndMs);
  // What a killed companion was writing: the recordings of Jouer Tout.
  for (const char* name : {kWavOutputFile, kMidiOutputFile})
    formats::RemoveStaleTemporaries(platform::MapPath(name));
}

}  // namespace drivers
