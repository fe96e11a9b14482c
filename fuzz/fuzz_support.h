// What every fuzz target stands on: silent platform services, a clock that
// moves only when slept on, answers taken from the input, and one MIDI
// device that records nothing but stops the run on a malformed message or
// a note left sounding.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

namespace fuzzing {

// Installs the services once and starts every run from a zeroed working
// state with the device open (channel 1, velocity 127, tempo 60).
void BeginRun();

// The answers of the next questions (Yes, No or Cancel), taken from the
// input; once they run out every question is cancelled.
void TakeAnswers(FuzzedDataProvider& input, int count);

// Writes `bytes` into the file the program names `programPath`.
void WriteProgramFile(const char* programPath, const std::string& bytes);

// Copies the file `name` of the data template into the data directory,
// once.
void InstallDataFile(const char* name);

// Stops the run when a note is still sounding on the device.
void ExpectAllNotesOff();

}  // namespace fuzzing
