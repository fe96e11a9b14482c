#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "drivers/clipboards.h"
#include "formats/encoding.h"
#include "platform/interrupt.h"

extern char** environ;

namespace drivers {
namespace {

// A clipboard tool that does not answer within this is taken as failed.
constexpr int kToolTimeoutMs = 3000;

bool InPath(const char* name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  for (;;) {
    size_t end = dirs.find(':', start);
    std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::string file = (dir.empty() ? "." : dir) + "/" + name;
    if (access(file.c_str(), X_OK) == 0) return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

long long NowMs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
}

// Runs a tool with `input` on its standard input and its standard output
// into `output` (when given); its standard error is dropped. Returns its
// exit status, -1 when it could not run or did not end in time.
int RunTool(const std::vector<std::string>& words, const std::string& input, std::string* output) {
  // Our own status is wanted here, whatever the launcher chose for others.
  struct sigaction oldChild, defaultChild {};
  defaultChild.sa_handler = SIG_DFL;
  sigaction(SIGCHLD, &defaultChild, &oldChild);
  struct sigaction oldPipe, ignorePipe {};
  ignorePipe.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignorePipe, &oldPipe);

  int in[2] = {-1, -1}, out[2] = {-1, -1};
  int status = -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  std::vector<char*> argv;
  std::vector<std::string> copy = words;
  for (std::string& w : copy) argv.push_back(w.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (pipe2(in, O_CLOEXEC) == 0 && (!output || pipe2(out, O_CLOEXEC) == 0)) {
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    if (output) {
      posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    } else {
      posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  if (in[0] >= 0) close(in[0]);
  if (out[1] >= 0) close(out[1]);
  if (pid > 0) {
    // The texts are far smaller than a pipe's buffer: this write never waits.
    const char* p = input.data();
    size_t left = input.size();
    while (left > 0) {
      ssize_t n = write(in[1], p, left);
      if (n <= 0) break;
      p += n;
      left -= static_cast<size_t>(n);
    }
    close(in[1]);
    in[1] = -1;
    long long deadline = NowMs() + kToolTimeoutMs;
    bool timedOut = false;
    if (output) {
      char chunk[4096];
      for (;;) {
        long long wait = deadline - NowMs();
        if (wait <= 0) {
          timedOut = true;
          break;
        }
        // A signal meanwhile ends the program at once.
        int ready = platform::WaitReadable(out[0], wait * 1000000);
        if (ready < 0) break;
        if (ready == 0) continue;
        ssize_t n = read(out[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        output->append(chunk, static_cast<size_t>(n));
      }
    }
    int waitStatus = 0;
    for (;;) {
      pid_t done = waitpid(pid, &waitStatus, WNOHANG);
      if (done == pid) {
        if (!timedOut && WIFEXITED(waitStatus)) status = WEXITSTATUS(waitStatus);
        break;
      }
      if (done < 0 && errno != EINTR) break;
      if (timedOut || NowMs() > deadline) {
        timedOut = true;
        kill(pid, SIGKILL);
        waitpid(pid, &waitStatus, 0);
        break;
      }
      timespec pause{0, 10 * 1000000L};
      nanosleep(&pause, nullptr);
    }
  }
  if (in[1] >= 0) close(in[1]);
  if (out[0] >= 0) close(out[0]);
  sigaction(SIGPIPE, &oldPipe, nullptr);
  sigaction(SIGCHLD, &oldChild, nullptr);
  return status;
}

class CommandLineClipboard : public platform::Clipboard {
 public:
  void Use(ClipboardTools tools) { tools_ = tools; }

  bool Open() override {
    return tools_ == ClipboardTools::kWayland ? InPath("wl-paste") && InPath("wl-copy") : InPath("xclip");
  }

  bool ReadText(char* buffer, int size) override {
    if (size <= 0) return false;
    buffer[0] = 0;
    std::string bytes;
    std::vector<std::string> paste =
        tools_ == ClipboardTools::kWayland
            ? std::vector<std::string>{"wl-paste", "--no-newline", "--type", "text"}
            : std::vector<std::string>{"xclip", "-selection", "clipboard", "-o"};
    if (RunTool(paste, "", &bytes) != 0) return false;
    std::string text = formats::Utf8ToCp1252(bytes);
    int n = 0;
    for (; n < size - 1 && n < static_cast<int>(text.size()) && text[n] != 0; ++n) buffer[n] = text[n];
    buffer[n] = 0;
    return n > 0;
  }

  bool WriteText(const char* text) override {
    std::vector<std::string> copy = tools_ == ClipboardTools::kWayland
                                        ? std::vector<std::string>{"wl-copy"}
                                        : std::vector<std::string>{"xclip", "-selection", "clipboard", "-i"};
    return RunTool(copy, formats::Cp1252ToUtf8(text), nullptr) == 0;
  }

  void Close() override {}

 private:
  ClipboardTools tools_ = ClipboardTools::kX11;
};

}  // namespace

platform::Clipboard& ToolClipboard(ClipboardTools tools) {
  static CommandLineClipboard clipboard;
  clipboard.Use(tools);
  return clipboard;
}

}  // namespace drivers
