// The Windows half of launcher.h: companions started as children that end
// with us (child_processes.h); pages opened with ShellExecuteW.
#include "drivers/launcher.h"

#include <windows.h>
#include <shellapi.h>

#include "drivers/child_processes.h"
#include "formats/wide_text.h"
#include "platform/interrupt_win.h"
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

bool IsFile(const std::string& path) {
  DWORD attributes = GetFileAttributesW(formats::Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A companion named in the data directory ("\orfeon\sonplay.exe") is the one
// installed beside the program (or in tools\ of the build tree); only one
// found in neither is looked for in the data directory.
std::string ProgramFile(const std::string& word) {
  if (word[0] == '\\') {
    std::string name = word.substr(word.rfind('\\') + 1);
    std::string directory = platform::ProgramDirectory();
    for (const char* relative : {"\\", "\\tools\\"})
      if (!directory.empty() && !name.empty() && IsFile(directory + relative + name)) return directory + relative + name;
  }
  return platform::MapPath(word.c_str());
}

// What was started and may still run: its command line, id and a handle of
// the process, which keeps its id from going to another meanwhile.
struct Started {
  std::string commandLine;
  pid_t id;
  HANDLE process;
};
std::vector<Started> started;

bool Ended(HANDLE process, DWORD waitMs) { return WaitForSingleObject(process, waitMs) != WAIT_TIMEOUT; }

void ForgetEnded() {
  std::erase_if(started, [](const Started& s) {
    if (!Ended(s.process, 0)) return false;
    CloseHandle(s.process);
    return true;
  });
}

}  // namespace

const char kPageOpener[] = "start";

std::vector<std::string> ResolveCommandLine(const char* commandLine) {
  std::vector<std::string> words = SplitBlanks(commandLine);
  if (words.empty()) return words;
  if (words[0] == kPageOpener) {
    for (size_t i = 1; i < words.size(); ++i) words[i] = platform::MapPath(words[i].c_str());
    return words;
  }
  words[0] = ProgramFile(words[0]);
  for (size_t i = 1; i < words.size(); ++i)
    if (words[i][0] == '\\') words[i] = platform::MapPath(words[i].c_str());
  return words;
}

void SendCompanionOutputTo(int fd) { companionOutput = fd; }

bool StartProgram(const char* commandLine, int* pid, bool quiet) {
  std::vector<std::string> words = ResolveCommandLine(commandLine);
  if (words.empty()) return false;
  if (words[0] == kPageOpener) {
    if (words.size() < 2) return false;
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", formats::Widen(words[1]).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
  }
  // Its output goes to standard error, never among the console's lines,
  // unless the front end reads it.
  TChildStreams streams{-1, quiet ? -1 : companionOutput, quiet ? -1 : 2};
  pid_t child = StartChild(words, streams, TChildEnd::kGroupWithUs);
  if (child <= 0) return false;
  if (pid) *pid = static_cast<int>(child);
  ForgetEnded();
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, static_cast<DWORD>(child));
  if (process) started.push_back({commandLine, child, process});
  return true;
}

void EndProgram(const char* commandLine) {
  for (auto it = started.begin(); it != started.end();) {
    if (it->commandLine != commandLine) {
      ++it;
      continue;
    }
    platform::AskToEnd(static_cast<unsigned long>(it->id));
    if (!Ended(it->process, 3000)) {
      TerminateProcess(it->process, 128 + 9);
      Ended(it->process, 1000);
    }
    CloseHandle(it->process);
    it = started.erase(it);
  }
}

}  // namespace drivers
