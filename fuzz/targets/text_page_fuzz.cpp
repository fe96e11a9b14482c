// ReadTextPage, UTF-8 detection included, over any file and page.
#include <cstring>
#include <memory>

#include "core/text_files.h"
#include "core/working_state.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  fuzzing::BeginRun();
  int page = input.ConsumeIntegralInRange(-1, 4);
  fuzzing::WriteProgramFile("\\orfeon\\page.txt", input.ConsumeRemainingBytesAsString());
  auto destination = std::make_unique<char[]>(kPageSize + 1);
  int taken = ReadTextPage(destination.get(), page, "\\orfeon\\page.txt");
  if (taken < 0 || taken > kPageSize || !std::memchr(destination.get(), 0, kPageSize + 1)) __builtin_trap();
  return 0;
}
