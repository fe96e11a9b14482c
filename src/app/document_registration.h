// The document type of the program in the system's registry: written at
// every start of the window, taken back with the option "unregister".
#pragma once

// True for an option token ("-unreg", "/UNREGISTER") whose text, without
// its switch character, is a beginning of "unregister" in any case.
bool IsUnregisterOption(const char* token);

// Walks the command line's tokens (argv[1] on): unregisters at the first
// "unregister" option, otherwise registers.
void RegisterOrUnregister(int argc, const char* const* argv);

// The application's and the document type's icons, the document type as
// the default of ".tab" and as an offer for ".txt" (not its default); then
// the edition cue. Errors are silent.
void RegisterDocumentType();
// Removes what the registration wrote; no cue.
void UnregisterDocumentType();
