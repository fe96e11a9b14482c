#include <algorithm>
#include <deque>
#include <map>

#include "formats/score_files.h"

namespace formats {

namespace {

// The bytes of one chunk or track, read with every length checked.
class Reader {
 public:
  Reader(const std::string& bytes, size_t at, size_t end) : bytes_(bytes), at_(at), end_(end) {}
  bool AtEnd() const { return at_ >= end_; }
  size_t Left() const { return end_ - at_; }
  bool Byte(uint8_t* b) {
    if (at_ >= end_) return false;
    *b = static_cast<uint8_t>(bytes_[at_++]);
    return true;
  }
  bool Skip(uint64_t n) {
    if (n > Left()) return false;
    at_ += n;
    return true;
  }
  // A variable-length quantity: at most four bytes.
  bool Quantity(uint32_t* value) {
    *value = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t b;
      if (!Byte(&b)) return false;
      *value = (*value << 7) | (b & 0x7F);
      if (!(b & 0x80)) return true;
    }
    return false;
  }
  std::string Text(uint32_t n) {
    std::string s = bytes_.substr(at_, n);
    at_ += n;
    return s;
  }

 private:
  const std::string& bytes_;
  size_t at_;
  size_t end_;
};

uint32_t BigEndian(const std::string& bytes, size_t at, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
  return v;
}

struct TTrack {
  std::string name;
  // Notes of each channel; format 0 parts them by channel.
  std::map<int, std::vector<TScoreNote>> notes;
  std::map<int, int> programs;
};

struct TFirst {
  int tempo = 0;  // quarters per minute
  int beats = 0, beatType = 0;
  bool hasKey = false;
  int fifths = 0;
};

const char kDamaged[] = "fichier MIDI abîmé : ";

bool ReadTrack(Reader r, uint16_t division, TTrack* track, TFirst* first, std::vector<TScoreMark>* tempos,
               size_t* noteCount, std::string* error) {
  uint64_t tick = 0;
  uint8_t status = 0;
  // Notes sounding, by channel and pitch: their start ticks in order.
  std::map<int, std::deque<uint64_t>> open;
  auto toTicks = [division](uint64_t t) { return static_cast<int64_t>(t * kTicksPerQuarter / division); };
  auto close = [&](int channel, int pitch, uint64_t at) {
    auto found = open.find(channel * 128 + pitch);
    if (found == open.end() || found->second.empty()) return;
    uint64_t start = found->second.front();
    found->second.pop_front();
    TScoreNote n;
    n.start = toTicks(start);
    n.duration = toTicks(at) - n.start;
    n.pitch = pitch;
    track->notes[channel].push_back(n);
    ++*noteCount;
  };
  while (!r.AtEnd()) {
    uint32_t delta;
    if (!r.Quantity(&delta)) {
      *error = std::string(kDamaged) + "durée d'événement illisible";
      return false;
    }
    tick += delta;
    if (tick > (uint64_t{1} << 40)) {
      *error = std::string(kDamaged) + "morceau d'une longueur démesurée";
      return false;
    }
    uint8_t b;
    if (!r.Byte(&b)) break;
    if (b < 0x80) {
      if (status == 0) {
        *error = std::string(kDamaged) + "donnée sans statut";
        return false;
      }
    }
    if (b == 0xFF) {
      uint8_t type;
      uint32_t length;
      if (!r.Byte(&type) || !r.Quantity(&length) || length > r.Left()) {
        *error = std::string(kDamaged) + "méta-événement plus long que sa piste";
        return false;
      }
      std::string data = r.Text(length);
      if (type == 0x2F) break;
      if (type == 0x03 && track->name.empty()) track->name = data;
      if (type == 0x51 && length == 3) {
        uint32_t us = BigEndian(data, 0, 3);
        if (us > 0) {
          int bpm = static_cast<int>((60000000.0 / us) + 0.5);
          if (first->tempo == 0) first->tempo = bpm;
          tempos->push_back({toTicks(tick), 't', bpm, 0, ""});
        }
      }
      if (type == 0x58 && length >= 2 && first->beats == 0) {
        first->beats = static_cast<uint8_t>(data[0]);
        first->beatType = 1 << std::min<int>(static_cast<uint8_t>(data[1]), 6);
      }
      if (type == 0x59 && length >= 1 && !first->hasKey) {
        first->hasKey = true;
        first->fifths = static_cast<int8_t>(data[0]);
      }
      continue;
    }
    if (b == 0xF0 || b == 0xF7) {
      uint32_t length;
      if (!r.Quantity(&length) || !r.Skip(length)) {
        *error = std::string(kDamaged) + "message système plus long que sa piste";
        return false;
      }
      continue;
    }
    if (b > 0xF0) {
      *error = std::string(kDamaged) + "statut inconnu dans une piste";
      return false;
    }
    uint8_t data1;
    if (b >= 0x80) {
      status = b;
      if (!r.Byte(&data1)) break;
    } else {
      data1 = b;
    }
    int kind = status & 0xF0;
    int channel = status & 0x0F;
    uint8_t data2 = 0;
    if (kind != 0xC0 && kind != 0xD0 && !r.Byte(&data2)) break;
    if (data1 > 0x7F || data2 > 0x7F) {
      *error = std::string(kDamaged) + "octet de donnée hors limites";
      return false;
    }
    if (kind == 0x90 && data2 > 0) {
      open[channel * 128 + data1].push_back(tick);
    } else if (kind == 0x80 || kind == 0x90) {
      close(channel, data1, tick);
    } else if (kind == 0xC0 && !track->programs.count(channel)) {
      track->programs[channel] = data1;
    }
    if (*noteCount > kScoreNoteLimit) {
      *error = "le fichier MIDI a trop de notes (plus de " + std::to_string(kScoreNoteLimit) + ")";
      return false;
    }
  }
  // Notes never switched off end with the track.
  for (auto& [key, starts] : open)
    while (!starts.empty()) close(key / 128, key % 128, tick);
  return true;
}

}  // namespace

bool ReadStandardMidi(const std::string& bytes, TScore* score, std::string* error) {
  if (bytes.size() < 14 || bytes.compare(0, 4, "MThd") != 0) {
    *error = "ce fichier n'est pas un fichier MIDI";
    return false;
  }
  uint32_t headerLength = BigEndian(bytes, 4, 4);
  if (headerLength < 6 || headerLength > bytes.size() - 8) {
    *error = std::string(kDamaged) + "en-tête de longueur fausse";
    return false;
  }
  uint16_t format = static_cast<uint16_t>(BigEndian(bytes, 8, 2));
  uint16_t division = static_cast<uint16_t>(BigEndian(bytes, 12, 2));
  if (format > 1) {
    *error = "fichier MIDI de format " + std::to_string(format) + " : seuls les formats 0 et 1 sont lus";
    return false;
  }
  if (division == 0 || (division & 0x8000)) {
    *error = "fichier MIDI en temps SMPTE : seule la division en noires est lue";
    return false;
  }
  std::vector<TTrack> tracks;
  std::vector<TScoreMark> tempos;
  TFirst first;
  size_t noteCount = 0;
  for (size_t at = 8 + headerLength; at < bytes.size();) {
    if (bytes.size() - at < 8) {
      *error = std::string(kDamaged) + "bloc tronqué à la fin du fichier";
      return false;
    }
    uint32_t length = BigEndian(bytes, at + 4, 4);
    if (length > bytes.size() - at - 8) {
      *error = std::string(kDamaged) + "un bloc annonce " + std::to_string(length) + " octets, plus que le fichier n'en a";
      return false;
    }
    if (bytes.compare(at, 4, "MTrk") == 0) {
      TTrack track;
      if (!ReadTrack(Reader(bytes, at + 8, at + 8 + length), division, &track, &first, &tempos, &noteCount, error))
        return false;
      tracks.push_back(std::move(track));
    }
    at += 8 + length;
  }
  if (first.beats == 0) {
    first.beats = 4;
    first.beatType = 4;
  }
  int64_t end = 0;
  for (TTrack& track : tracks) {
    // Format 0 holds every channel in its one track: each is a part.
    bool byChannel = format == 0 && track.notes.size() > 1;
    std::vector<std::pair<int, std::vector<TScoreNote>>> groups;
    if (byChannel) {
      for (auto& [channel, notes] : track.notes) groups.push_back({channel, std::move(notes)});
    } else {
      std::vector<TScoreNote> all;
      for (auto& [channel, notes] : track.notes) all.insert(all.end(), notes.begin(), notes.end());
      if (!all.empty()) groups.push_back({track.notes.begin()->first, std::move(all)});
    }
    for (auto& [channel, notes] : groups) {
      TScorePart part;
      part.name = !track.name.empty() && !byChannel ? track.name
                                                   : (byChannel ? "canal " + std::to_string(channel + 1)
                                                                : "piste " + std::to_string(score->parts.size() + 1));
      auto program = track.programs.find(channel);
      part.program = program != track.programs.end() ? program->second : -1;
      part.quantize = true;
      std::stable_sort(notes.begin(), notes.end(),
                       [](const TScoreNote& a, const TScoreNote& b) { return a.start < b.start; });
      for (const TScoreNote& n : notes) end = std::max(end, n.start + n.duration);
      part.notes = std::move(notes);
      score->parts.push_back(std::move(part));
    }
  }
  if (score->parts.empty()) {
    *error = "le fichier MIDI n'a aucune note";
    return false;
  }
  // Measures from the first time signature.
  int64_t measureLength = int64_t{first.beats} * 4 * kTicksPerQuarter / first.beatType;
  std::vector<TScoreMeasure> measures;
  for (int64_t t = 0; t < end || measures.empty(); t += measureLength) {
    if (measures.size() >= kPlayedMeasureLimit) {
      *error = "le fichier MIDI dépasse " + std::to_string(kPlayedMeasureLimit) + " mesures";
      return false;
    }
    measures.push_back({std::to_string(measures.size() + 1), t, measureLength, {}});
  }
  for (TScorePart& part : score->parts) {
    part.measures = measures;
    if (first.hasKey) part.marks.push_back({0, 'a', first.fifths, 0, ""});
    part.marks.push_back({0, 'm', first.beats, first.beatType, ""});
    for (const TScoreMark& tempo : tempos) part.marks.push_back(tempo);
    std::stable_sort(part.marks.begin(), part.marks.end(),
                     [](const TScoreMark& a, const TScoreMark& b) { return a.at < b.at; });
  }
  return true;
}

}  // namespace formats
