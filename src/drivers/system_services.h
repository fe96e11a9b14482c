// The machine's own back ends in the services record: the MIDI devices of
// the device table, the clipboard the environment gives, the desktop's
// registry of document types. Every program installs them at its start;
// front ends then install their boxes, cues and input over them.
#pragma once

namespace drivers {

void InstallSystemServices();

}  // namespace drivers
