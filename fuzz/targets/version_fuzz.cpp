// The version-block reader over any block and any query.
#include <cstring>
#include <memory>
#include <string>

#include "formats/version_info.h"
#include "fuzz_support.h"

namespace {

// A value the reader hands back must lie inside the caller's copy.
void CheckQuery(unsigned char* data, unsigned size, const char* subBlock) {
  void* value = nullptr;
  unsigned length = 0;
  if (!formats::VerQueryValue(data, subBlock, &value, &length)) return;
  auto* begin = static_cast<unsigned char*>(value);
  if (begin < data || begin > data + size) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider input(bytes, size);
  std::string query = input.ConsumeRandomLengthString(64);
  std::string block = input.ConsumeRemainingBytesAsString();
  // The block sits in memory as the program embeds it: aligned to 4 bytes.
  auto aligned = std::make_unique<uint32_t[]>(block.size() / 4 + 1);
  std::memcpy(aligned.get(), block.data(), block.size());
  formats::TModule module{reinterpret_cast<const unsigned char*>(aligned.get()),
                           static_cast<unsigned>(block.size())};
  unsigned infoSize = formats::GetFileVersionInfoSize(module);
  if (infoSize == 0 || infoSize > (1u << 24)) return 0;
  auto data = std::make_unique<unsigned char[]>(infoSize);
  if (!formats::GetFileVersionInfo(module, infoSize, data.get())) return 0;
  for (const char* subBlock : {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904e4\\ProductName",
                               "\\StringFileInfo\\040904e4\\SpecialBuild"})
    CheckQuery(data.get(), infoSize, subBlock);
  CheckQuery(data.get(), infoSize, query.c_str());
  return 0;
}
