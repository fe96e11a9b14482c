// What the timing bench asks of the system: a second process keeping both
// cores busy, and the CPU time this process took.
#pragma once
#include <cstdint>

// The program started with this argument spins on both cores until killed.
inline constexpr char kBusyCoresArgument[] = "--busy-cores";
[[noreturn]] void RunBusyCores();

struct BusyCores;
BusyCores* StartBusyCores();
void StopBusyCores(BusyCores* load);

uint64_t ProcessCpuUs();
