// Version information of a module: the binary version block that the build
// lays out and embeds in the program, read the way the old platform's
// version functions read a program file's version resource.
#pragma once

namespace formats {

// A module as seen by the version functions: its embedded version block.
struct TModule {
  const unsigned char* versionBlock;  // null: the module has none
  unsigned versionSize;
};

// The size of the module's version information (the block and room for
// its texts in Windows-1252); 0 when it has none or it is malformed.
unsigned GetFileVersionInfoSize(const TModule& module);
// Copies the version information into `data` of `size` bytes.
bool GetFileVersionInfo(const TModule& module, unsigned size, void* data);
// The value at `subBlock` ("\", "\VarFileInfo\Translation",
// "\StringFileInfo\040904e4\ProductName"; names compare without regard to
// case). A text value comes as a Windows-1252 string inside `data`, its
// length in characters with the terminator; other values as bytes.
bool VerQueryValue(void* data, const char* subBlock, void** value, unsigned* length);

}  // namespace formats
