#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <string>
#include <vector>

#include "drivers/child_processes.h"
#include "drivers/clipboards.h"
#include "formats/encoding.h"
#include "platform/interrupt.h"

namespace drivers {
namespace {

// A clipboard tool that does not answer within this is taken as failed.
constexpr int kToolTimeoutMs = 3000;

bool InPath(const char* name) { return !FindProgram(name).empty(); }

long long NowMs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
}

// What RunTool returns for a tool that had more to say than the limit.
constexpr int kTooMuch = -2;

// Runs a tool with `input` on its standard input and its standard output
// into `output` (when given), up to `limit` bytes: a tool with more to say
// is ended, and kTooMuch returned. Its standard error is dropped. Returns
// its exit status, -1 when it could not run or did not end in time.
int RunTool(const std::vector<std::string>& words, const std::string& input, std::string* output,
            size_t limit = 0) {
  // Our own status is wanted here, whatever the launcher chose for others.
  struct sigaction oldChild, defaultChild {};
  defaultChild.sa_handler = SIG_DFL;
  sigaction(SIGCHLD, &defaultChild, &oldChild);
  struct sigaction oldPipe, ignorePipe {};
  ignorePipe.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignorePipe, &oldPipe);

  int in[2] = {-1, -1}, out[2] = {-1, -1};
  int status = -1;
  pid_t pid = -1;
  if (pipe2(in, O_CLOEXEC) == 0 && (!output || pipe2(out, O_CLOEXEC) == 0))
    pid = StartChild(words, TChildStreams{in[0], output ? out[1] : -1, -1}, TChildEnd::kWithUs);
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
    bool ended = false;
    bool tooMuch = false;
    if (output) {
      char chunk[4096];
      for (;;) {
        long long wait = deadline - NowMs();
        if (wait <= 0) {
          ended = true;
          break;
        }
        // A signal meanwhile ends the program at once.
        int ready = platform::WaitReadable(out[0], wait * 1000000);
        if (ready < 0) break;
        if (ready == 0) continue;
        // Never more than one byte past the limit.
        size_t room = limit + 1 - output->size();
        ssize_t n = read(out[0], chunk, room < sizeof chunk ? room : sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        output->append(chunk, static_cast<size_t>(n));
        if (output->size() > limit) {
          ended = tooMuch = true;
          break;
        }
      }
    }
    int waitStatus = 0;
    for (;;) {
      pid_t done = waitpid(pid, &waitStatus, WNOHANG);
      if (done == pid) {
        if (!ended && WIFEXITED(waitStatus)) status = WEXITSTATUS(waitStatus);
        break;
      }
      if (done < 0 && errno != EINTR) break;
      if (ended || NowMs() > deadline) {
        ended = true;
        kill(pid, SIGKILL);
        waitpid(pid, &waitStatus, 0);
        break;
      }
      timespec pause{0, 10 * 1000000L};
      nanosleep(&pause, nullptr);
    }
    if (tooMuch) status = kTooMuch;
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

  platform::TClipboardText ReadText(char* buffer, int size) override {
    if (size <= 0) return platform::TClipboardText::kNone;
    buffer[0] = 0;
    std::string bytes;
    std::vector<std::string> paste =
        tools_ == ClipboardTools::kWayland
            ? std::vector<std::string>{"wl-paste", "--no-newline", "--type", "text"}
            : std::vector<std::string>{"xclip", "-selection", "clipboard", "-o"};
    int status = RunTool(paste, "", &bytes, platform::kClipboardLimit);
    if (status == kTooMuch) return platform::TClipboardText::kTooLong;
    if (status != 0) return platform::TClipboardText::kNone;
    return CopyClipboardText(formats::Utf8ToCp1252(bytes), buffer, size);
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
