// The MIDI output services the playback engine stands on: enumerate the
// devices with their note capacity, open one by index, send a packed short
// message, wait, close.
#pragma once
#include <cstdint>

#include "platform/midi_device.h"

namespace platform {

struct MidiOutPort;  // an open port
using TMidiOut = MidiOutPort*;

uint32_t MidiOutGetNumDevs();
// The note capacity of a device (the one field of its capabilities that the
// program reads); 0 for an index out of range.
uint16_t MidiOutGetNoteCapacity(uint32_t device);
// Null when the index names no device or the device refuses to open.
TMidiOut MidiOutOpen(uint32_t device);
// Status in bits 0-7, data bytes in bits 8-15 and 16-23. A message that is
// not a channel message with data bytes 0..127 is refused: a device never
// receives bytes that would corrupt its stream. Sent to a null port, nothing.
void MidiOutShortMsg(TMidiOut port, uint32_t message);
// Switches off every note the port still sounds, then releases it.
void MidiOutClose(TMidiOut port);
// Lets `ms` milliseconds pass on the port's device; with no port, sleeps.
void MidiOutWait(TMidiOut port, uint32_t ms);

// The devices, in their fixed order. Built on first use by the installed
// Services::devices unless a list was installed here (tests install fakes).
MidiDeviceList& MidiDevices();
void InstallMidiDevices(MidiDeviceList devices);

// Closes every open port (notes off first); runs when the program ends.
void CloseAllMidiPorts();

}  // namespace platform
