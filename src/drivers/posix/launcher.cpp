#include "drivers/launcher.h"

#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "drivers/child_processes.h"
#include "platform/paths.h"

namespace drivers {
namespace {

int companionOutput = 2;

std::vector<std::string> SplitBlanks(const char* text) {
  std::vector<std::string> words;
  std::string word;
  for (const char* p = text;; ++p) {
    if (*p == ' ' || *p == '\t' || *p == 0) {
      if (!word.empty()) words.push_back(word);
      word.clear();
      if (*p == 0) break;
    } else {
      word += *p;
    }
  }
  return words;
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::string WithoutExe(const std::string& path) {
  const std::string exe = ".exe";
  if (path.size() > exe.size() && path.compare(path.size() - exe.size(), exe.size(), exe) == 0)
    return path.substr(0, path.size() - exe.size());
  return path;
}

// A companion named in the data directory ("\orfeon\sonplay.exe") is the
// one installed with the program: in ../lib/pavsdi beside its directory, or
// in tools/ of the build tree. Only a companion found in neither is looked
// for in the data directory itself.
std::string ProgramFile(const std::string& word) {
  if (word[0] == '\\') {
    std::string name = WithoutExe(word.substr(word.rfind('\\') + 1));
    std::string directory = platform::ProgramDirectory();
    for (const char* relative : {"/../lib/pavsdi/", "/tools/"})
      if (!directory.empty() && !name.empty() && Exists(directory + relative + name))
        return directory + relative + name;
  }
  std::string mapped = platform::MapPath(word.c_str());
  if (Exists(mapped)) return mapped;
  return WithoutExe(mapped);
}

// What was started and may still run: its command line and a descriptor of
// the process, which stays valid after the system has reaped it.
struct Started {
  std::string commandLine;
  int process;
};
std::vector<Started> started;

bool Ended(int process, int waitMs) {
  pollfd ended{process, POLLIN, 0};
  return poll(&ended, 1, waitMs) != 0;
}

void ForgetEnded() {
  started.erase(std::remove_if(started.begin(), started.end(),
                               [](const Started& s) {
                                 if (!Ended(s.process, 0)) return false;
                                 close(s.process);
                                 return true;
                               }),
                started.end());
}

void Signal(int process, int signal) { syscall(SYS_pidfd_send_signal, process, signal, nullptr, 0); }

std::string DefaultHtmlApplication() {
  FILE* query = popen("xdg-mime query default text/html 2>/dev/null", "r");
  if (!query) return "";
  std::string answer;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, query)) answer += buffer;
  pclose(query);
  while (!answer.empty() && std::isspace(static_cast<unsigned char>(answer.back()))) answer.pop_back();
  return answer;
}

}  // namespace

const char kPageOpener[] = "xdg-open";

std::string PageOpener() {
  std::string chosen = DefaultHtmlApplication();
  std::string lower = chosen;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (!chosen.empty() && lower.find("pavsdi") == std::string::npos && !FindProgram("xdg-open").empty()) return "xdg-open";
  return !FindProgram("x-www-browser").empty() ? "x-www-browser" : "";
}

std::vector<std::string> ResolveCommandLine(const char* commandLine) {
  std::vector<std::string> words = SplitBlanks(commandLine);
  if (words.empty()) return words;
  if (words[0] == "start") {
    std::vector<std::string> open = {kPageOpener};
    for (size_t i = 1; i < words.size(); ++i) open.push_back(platform::MapPath(words[i].c_str()));
    return open;
  }
  words[0] = ProgramFile(words[0]);
  for (size_t i = 1; i < words.size(); ++i)
    if (words[i][0] == '\\') words[i] = platform::MapPath(words[i].c_str());
  return words;
}

void SendCompanionOutputTo(int fd) { companionOutput = fd; }

bool StartProgram(const char* commandLine, int* pid, bool quiet) {
  std::vector<std::string> words = SplitBlanks(commandLine);
  bool page = !words.empty() && words[0] == "start";
  words = ResolveCommandLine(commandLine);
  if (words.empty()) return false;
  if (words[0] == kPageOpener) {
    words[0] = PageOpener();
    if (words[0].empty()) return false;
  }
  // Children are not waited for; let the system reap them.
  signal(SIGCHLD, SIG_IGN);
  TChildStreams streams{-1, quiet ? -1 : page ? 2 : companionOutput, quiet ? -1 : 2};
  pid_t child = StartChild(words, streams, page ? TChildEnd::kOnItsOwn : TChildEnd::kGroupWithUs);
  if (child <= 0) return false;
  if (pid) *pid = child;
  ForgetEnded();
  int process = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
  if (process >= 0) started.push_back({commandLine, process});
  return true;
}

void EndProgram(const char* commandLine) {
  for (auto it = started.begin(); it != started.end();) {
    if (it->commandLine != commandLine) {
      ++it;
      continue;
    }
    Signal(it->process, SIGTERM);
    if (!Ended(it->process, 3000)) {
      Signal(it->process, SIGKILL);
      Ended(it->process, 1000);
    }
    close(it->process);
    it = started.erase(it);
  }
}

}  // namespace drivers
