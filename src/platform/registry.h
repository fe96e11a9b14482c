// The system's registry of document types, as the program writes it: keys
// such as "PavSdi.Application\DefaultIcon" or ".txt" holding one default
// value each. On freedesktop systems the keys become desktop entries, icons
// and the MIME defaults of mimeapps.list in the user's own directories.
#pragma once

namespace platform {

class Registry {
 public:
  virtual ~Registry() = default;
  // Sets the default value of `key`, creating the key. A class key's
  // "DefaultIcon" takes "file[,icon index]"; an extension key takes the
  // class that opens its files, its "OpenWithProgids" a class offered for
  // them beside their default. False when it could not be written.
  virtual bool SetValue(const char* key, const char* value) = 0;
  // Deletes `key` with what it holds.
  virtual bool DeleteKey(const char* key) = 0;
  // Takes back `value` from `key` when it is still there, putting back what
  // it replaced; a value set since by someone else stays.
  virtual bool RemoveValue(const char* key, const char* value) = 0;
};

// The full path of the program file (Windows-1252); false when it does not
// fit in `size` characters.
bool ProgramFilePath(char* path, int size);

}  // namespace platform
