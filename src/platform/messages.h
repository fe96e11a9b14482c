// Help and messages for a person, outside the boxes: on standard error in
// UTF-8, so that they never mix with what a front end writes on standard
// output.
#pragma once

namespace platform {

void PrintForPerson(const char* cp1252);

}  // namespace platform
