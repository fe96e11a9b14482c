// TranslateText and LookupWord over any text and any dictionary file.
#include <cstring>
#include <memory>

#include "core/data_files.h"
#include "core/working_state.h"
#include "fuzz_support.h"
#include "tablature/dictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  fuzzing::BeginRun();
  std::string key = input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0, 40));
  std::string text = input.ConsumeRandomLengthString(kLongText - 1);
  fuzzing::WriteProgramFile(kDictionaryFile, input.ConsumeRemainingBytesAsString());
  auto textBuffer = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(textBuffer.get(), text.c_str(), text.size() + 1);
  auto keys = std::make_unique<char[]>(kLongText);
  auto translations = std::make_unique<char[]>(kLongText);
  TranslateText(textBuffer.get(), keys.get(), translations.get(), kDictionaryFile);
  if (!std::memchr(keys.get(), 0, kLongText) || !std::memchr(translations.get(), 0, kLongText)) __builtin_trap();

  auto found = std::make_unique<char[]>(kLongText);
  int length = LookupWord(key.c_str(), found.get(), kDictionaryFile);
  if (length < 0 || length >= kLongText) __builtin_trap();
  return 0;
}
