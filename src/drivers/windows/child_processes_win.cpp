// The Windows half of child_processes.h. The children that end with us go
// into a job object that kills what it holds when its last handle closes:
// ours, at our end, however we end. Asked to end, a companion gets the
// request of AskToEnd (its SIGTERM) before it is killed.
#include "drivers/child_processes.h"

#include <windows.h>
#include <io.h>

#include <cerrno>

#include "core/data_files.h"
#include "formats/file_bytes.h"
#include "formats/wide_text.h"
#include "platform/interrupt.h"
#include "platform/interrupt_win.h"
#include "platform/paths.h"

namespace drivers {
namespace {

// As on Linux: what a companion gets to end by itself, and at an end the
// user chose, what one at its work gets to finish it.
constexpr DWORD kCleanEndMs = 600;
constexpr DWORD kFinishMs = 500;
constexpr DWORD kKilledEndMs = 300;

struct Group {
  pid_t id;
  HANDLE process;
};
std::vector<Group> groups;

HANDLE Job() {
  static HANDLE job = [] {
    HANDLE made = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (made) SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return made;
  }();
  return job;
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

// An inheritable copy of one of our descriptors for the child; nothing
// (NUL) for -1.
HANDLE ChildHandle(int fd) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  if (fd < 0)
    return CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       OPEN_EXISTING, 0, nullptr);
  auto ours = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  HANDLE copy = INVALID_HANDLE_VALUE;
  if (ours == INVALID_HANDLE_VALUE ||
      !DuplicateHandle(GetCurrentProcess(), ours, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
    return ChildHandle(-1);
  return copy;
}

// Waits up to `ms` for every process; false when some are left.
bool AllGone(const std::vector<Group>& list, DWORD ms) {
  ULONGLONG deadline = GetTickCount64() + ms;
  for (const Group& g : list) {
    ULONGLONG now = GetTickCount64();
    if (WaitForSingleObject(g.process, now < deadline ? static_cast<DWORD>(deadline - now) : 0) != WAIT_OBJECT_0)
      return false;
  }
  return true;
}

bool Running(const Group& g) { return WaitForSingleObject(g.process, 0) == WAIT_TIMEOUT; }

}  // namespace

std::string FindProgram(const std::string& name) {
  if (name.empty()) return "";
  wchar_t found[MAX_PATH * 4];
  DWORD n = SearchPathW(nullptr, formats::Widen(name).c_str(), L".exe", MAX_PATH * 4, found, nullptr);
  if (n == 0 || n >= MAX_PATH * 4) return "";
  DWORD attributes = GetFileAttributesW(found);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return "";
  return formats::Narrow(found);
}

pid_t StartChild(const std::vector<std::string>& words, TChildStreams streams, TChildEnd end) {
  std::string path = words.empty() ? "" : FindProgram(words[0]);
  if (path.empty()) {
    errno = ENOENT;
    return -1;
  }
  std::wstring line;
  for (const std::string& word : words) line += (line.empty() ? L"" : L" ") + Quoted(formats::Widen(word));
  HANDLE handles[3] = {ChildHandle(streams.in), ChildHandle(streams.out), ChildHandle(streams.err)};
  // The child inherits these three and nothing else of ours, locks
  // included.
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<char> attributeMemory(size);
  auto attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeMemory.data());
  bool listed = InitializeProcThreadAttributeList(attributes, 1, 0, &size) &&
                UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles, sizeof handles,
                                          nullptr, nullptr);
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = handles[0];
  startup.StartupInfo.hStdOutput = handles[1];
  startup.StartupInfo.hStdError = handles[2];
  startup.lpAttributeList = listed ? attributes : nullptr;
  DWORD flags = CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT | (listed ? EXTENDED_STARTUPINFO_PRESENT : 0);
  if (end == TChildEnd::kOnItsOwn) flags |= CREATE_NEW_PROCESS_GROUP | DETACHED_PROCESS;
  PROCESS_INFORMATION process{};
  BOOL started = CreateProcessW(formats::Widen(path).c_str(), line.data(), nullptr, nullptr, TRUE, flags, nullptr,
                                nullptr, &startup.StartupInfo, &process);
  DWORD error = GetLastError();
  if (listed) DeleteProcThreadAttributeList(attributes);
  for (HANDLE h : handles)
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  if (!started) {
    errno = formats::ErrnoFromSystemError(error);
    return -1;
  }
  // In the job before it runs a single instruction, so that none of what
  // it starts escapes it.
  if (end != TChildEnd::kOnItsOwn && (!Job() || !AssignProcessToJobObject(Job(), process.hProcess))) {
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    errno = EPERM;
    return -1;
  }
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  auto id = static_cast<pid_t>(process.dwProcessId);
  if (end != TChildEnd::kGroupWithUs) {
    CloseHandle(process.hProcess);
    return id;
  }
  std::erase_if(groups, [](const Group& g) {
    if (Running(g)) return false;
    CloseHandle(g.process);
    return true;
  });
  groups.push_back({id, process.hProcess});
  platform::AtShutdown(EndChildren);
  return id;
}

void EndChildren() {
  if (!platform::ShuttingDown()) AllGone(groups, kFinishMs);
  std::vector<Group> live;
  for (const Group& g : groups) {
    if (Running(g) && platform::AskToEnd(static_cast<unsigned long>(g.id))) {
      live.push_back(g);
    } else if (Running(g)) {
      TerminateProcess(g.process, 128 + 15);
      live.push_back(g);
    }
  }
  if (!AllGone(live, kCleanEndMs)) {
    for (const Group& g : live) TerminateProcess(g.process, 128 + 9);
    AllGone(live, kKilledEndMs);
    // What a killed companion was writing: the recordings of Jouer Tout.
    for (const char* name : {kWavOutputFile, kMidiOutputFile})
      formats::RemoveStaleTemporaries(platform::MapPath(name));
  }
  for (const Group& g : groups) CloseHandle(g.process);
  groups.clear();
}

}  // namespace drivers
