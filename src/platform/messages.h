// Help and messages for a person, outside the boxes: on standard error in
// UTF-8, so that they never mix with what a front end writes on standard
// output. On a terminal they are cut between words to its width.
#pragma once
#include <cstddef>
#include <string>

namespace platform {

void PrintForPerson(const char* cp1252);
void PrintUtf8ForPerson(const std::string& utf8);

// The width of the terminal on `fd` (its window size, else COLUMNS); 0 when
// it is not known.
size_t TerminalColumns(int fd);

}  // namespace platform
