// The few POSIX calls the shared test fixture makes, for the Windows build
// of the tests (forced into it by windows_tests.cmake).
#pragma once
#include <cstdlib>

char* mkdtemp(char* pattern);
int setenv(const char* name, const char* value, int overwrite);
int unsetenv(const char* name);
