#include "drivers/launcher.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "platform/paths.h"

extern char** environ;

namespace drivers {
namespace {

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

const char kPageOpener[] = "xdg-open";

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

bool StartProgram(const char* commandLine) {
  std::vector<std::string> words = ResolveCommandLine(commandLine);
  if (words.empty()) return false;
  // Children are not waited for; let the system reap them.
  signal(SIGCHLD, SIG_IGN);
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, 2, 1);
  pid_t pid;
  int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0;
}

}  // namespace drivers
