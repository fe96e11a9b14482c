#include "bench_system.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

struct BusyCores {
  PROCESS_INFORMATION process;
};

void RunBusyCores() {
  std::atomic<unsigned long> sink{0};
  auto spin = [&sink] {
    for (;;) sink.fetch_add(1, std::memory_order_relaxed);
  };
  std::thread a(spin), b(spin);
  a.join();
  ExitProcess(0);
}

BusyCores* StartBusyCores() {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring line = L"\"" + std::wstring(program) + L"\" --busy-cores";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  auto* load = new BusyCores{};
  if (!CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &load->process)) {
    delete load;
    return nullptr;
  }
  return load;
}

void StopBusyCores(BusyCores* load) {
  if (!load) return;
  TerminateProcess(load->process.hProcess, 0);
  WaitForSingleObject(load->process.hProcess, INFINITE);
  CloseHandle(load->process.hProcess);
  CloseHandle(load->process.hThread);
  delete load;
}

uint64_t ProcessCpuUs() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  auto us = [](FILETIME t) { return ((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 10; };
  return us(kernel) + us(user);
}
