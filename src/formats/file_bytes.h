// Whole files as bytes: reading, and the one way the program replaces a file.
#pragma once
#include <cstddef>
#include <string>

namespace formats {

// True when the file opens for reading and is not a directory.
bool FileReadable(const std::string& hostPath);

// Reads the whole file; false when it cannot be read (missing, a directory).
bool ReadFileBytes(const std::string& hostPath, std::string* bytes);

// Writes the bytes to a temporary file beside `path` and renames it over
// `path`, so a reader never sees half a file and a failed write leaves the
// old one untouched. The new file keeps the old one's permissions. False
// when it cannot.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace formats
