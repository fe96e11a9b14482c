#include "drivers/launcher.h"

#include <sys/stat.h>

#include <csignal>

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

}  // namespace

std::vector<std::string> ResolveCommandLine(const char* commandLine) {
  std::vector<std::string> words = SplitBlanks(commandLine);
  if (words.empty()) return words;
  if (words[0] == "start") {
    std::vector<std::string> open = {"xdg-open"};
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
  // Children are not waited for; let the system reap them.
  signal(SIGCHLD, SIG_IGN);
  TChildStreams streams{-1, quiet ? -1 : page ? 2 : companionOutput, quiet ? -1 : 2};
  pid_t child = StartChild(words, streams, page ? TChildEnd::kOnItsOwn : TChildEnd::kGroupWithUs);
  if (child > 0 && pid) *pid = child;
  return child > 0;
}

}  // namespace drivers
