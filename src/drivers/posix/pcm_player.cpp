#include <alsa/asoundlib.h>
#include <pulse/simple.h>

#include "drivers/sound_module.h"
#include "drivers/sound_output.h"

namespace drivers {
namespace {

bool PlayOnPulseAudio(const PcmSound& sound) {
  pa_sample_spec spec = {PA_SAMPLE_S16NE, static_cast<uint32_t>(sound.rate),
                         static_cast<uint8_t>(sound.channels)};
  // A short buffer (the server's default holds two seconds): a cue starts
  // at once and its end is its end.
  pa_buffer_attr buffer = {static_cast<uint32_t>(-1), static_cast<uint32_t>(pa_usec_to_bytes(50000, &spec)),
                           static_cast<uint32_t>(-1), static_cast<uint32_t>(-1), static_cast<uint32_t>(-1)};
  int error = 0;
  pa_simple* stream = pa_simple_new(nullptr, "PavSdi", PA_STREAM_PLAYBACK, nullptr, "signal", &spec,
                                    nullptr, &buffer, &error);
  if (!stream) return false;
  bool played = pa_simple_write(stream, sound.samples.data(), sound.samples.size() * sizeof(int16_t),
                                &error) == 0 &&
                pa_simple_drain(stream, &error) == 0;
  pa_simple_free(stream);
  return played;
}

bool PlayOnAlsa(const PcmSound& sound) {
  QuietAlsa();
  snd_pcm_t* pcm = nullptr;
  // Opened without blocking so that a device held by another program fails
  // at once instead of waiting for it.
  if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return false;
  snd_pcm_nonblock(pcm, 0);
  bool played = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                                   static_cast<unsigned>(sound.channels), static_cast<unsigned>(sound.rate),
                                   1, 100000) == 0;
  const int16_t* at = sound.samples.data();
  snd_pcm_uframes_t left = sound.samples.size() / static_cast<size_t>(sound.channels);
  while (played && left > 0) {
    snd_pcm_sframes_t n = snd_pcm_writei(pcm, at, left);
    if (n < 0) n = snd_pcm_recover(pcm, static_cast<int>(n), 1);
    if (n < 0) {
      played = false;
      break;
    }
    at += n * sound.channels;
    left -= static_cast<snd_pcm_uframes_t>(n);
  }
  if (played) snd_pcm_drain(pcm);
  snd_pcm_close(pcm);
  return played;
}

}  // namespace

bool sound_module::PlayPcm(const PcmSound& sound) {
  if (sound.channels <= 0 || sound.rate <= 0 || sound.samples.empty()) return false;
  for (SoundOutput output : SoundOutputs()) {
    bool played = output == SoundOutput::kPulseAudio ? PlayOnPulseAudio(sound) : PlayOnAlsa(sound);
    if (played) return true;
  }
  return false;
}

}  // namespace drivers
