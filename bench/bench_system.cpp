#include "bench_system.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <thread>

struct BusyCores {
  pid_t pid;
};

void RunBusyCores() {
  std::atomic<unsigned long> sink{0};
  auto spin = [&sink] {
    for (;;) sink.fetch_add(1, std::memory_order_relaxed);
  };
  std::thread a(spin), b(spin);
  a.join();
  _exit(0);
}

BusyCores* StartBusyCores() {
  pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives the benchmark
    RunBusyCores();
  }
  return new BusyCores{pid};
}

void StopBusyCores(BusyCores* load) {
  kill(load->pid, SIGKILL);
  waitpid(load->pid, nullptr, 0);
  delete load;
}

uint64_t ProcessCpuUs() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<uint64_t>(t.tv_sec) * 1000000 + static_cast<uint64_t>(t.tv_nsec) / 1000;
}
