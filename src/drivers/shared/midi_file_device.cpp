#include "drivers/midi_file_device.h"

#include <cerrno>

#include "core/text_files.h"
#include "formats/file_bytes.h"
#include "platform/paths.h"

namespace drivers {

MidiFileDevice::MidiFileDevice(std::string name, const char* programPath)
    : name_(std::move(name)), programPath_(programPath) {}

bool MidiFileDevice::Open() { return true; }

void MidiFileDevice::Send(const uint8_t* bytes, int length) {
  formats::TimedMessage m{nowMs_, {bytes[0], bytes[1], length > 2 ? bytes[2] : uint8_t{0}},
                 static_cast<uint8_t>(length)};
  messages_.push_back(m);
  if (length == 3 && (bytes[0] & 0xF0) == 0x90 && bytes[2] > 0) started_ = true;
  unsaved_ = true;
}

void MidiFileDevice::Wait(uint32_t ms) {
  nowMs_ += ms;
  if (ms > 0) unsaved_ = true;
}

void MidiFileDevice::Close() {
  if (!started_ || !unsaved_) return;
  std::vector<uint8_t> smf = formats::BuildSmf(messages_, nowMs_);
  if (formats::WriteFileAtomically(platform::MapPath(programPath_), smf.data(), smf.size())) {
    unsaved_ = false;
  } else {
    ShowWriteFailure(programPath_, errno);
  }
}

}  // namespace drivers
