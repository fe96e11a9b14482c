// The Windows half of launcher.h: companions started with CreateProcessW,
// their arguments quoted by the rules Windows programs read them with; pages
// opened with ShellExecuteW.
#include <windows.h>
#include <shellapi.h>

#include "drivers/launcher.h"
#include "formats/wide_text.h"
#include "platform/paths.h"

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

// One argument as CommandLineToArgvW and the C run-time read it back:
// quoted when it holds a blank, a quote escaped, the backslashes before a
// quote doubled.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

// An inheritable handle for the child's standard input: nothing to read.
HANDLE NullInput() {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
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

bool StartProgram(const char* commandLine) {
  std::vector<std::string> words = ResolveCommandLine(commandLine);
  if (words.empty()) return false;
  if (words[0] == kPageOpener) {
    if (words.size() < 2) return false;
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", formats::Widen(words[1]).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
  }
  std::wstring line;
  for (const std::string& word : words) line += (line.empty() ? L"" : L" ") + Quoted(formats::Widen(word));
  // Its output goes to standard error, never among the console's lines.
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  HANDLE input = NullInput();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = error;
  startup.hStdError = error;
  if (error && error != INVALID_HANDLE_VALUE) SetHandleInformation(error, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  PROCESS_INFORMATION process{};
  BOOL started = CreateProcessW(formats::Widen(words[0]).c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &startup, &process);
  if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
  if (!started) return false;
  // Not waited for.
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace drivers
