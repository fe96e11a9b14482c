#include <pugixml.hpp>

#include <algorithm>
#include <numeric>
#include <set>
#include <sstream>

#include "formats/score_files.h"

namespace formats {

namespace {

// Divisions of the quarter in the file: the model's ticks come in eights.
constexpr int64_t kDivisions = kTicksPerQuarter / 8;

const char* TypeName(int denominator) {
  switch (denominator) {
    case 1: return "whole";
    case 2: return "half";
    case 4: return "quarter";
    case 8: return "eighth";
    case 16: return "16th";
    case 32: return "32nd";
    default: return "64th";
  }
}

// The written form of a duration: a note value 1/v of the whole with
// 0 to 2 dots; values that are no power of two are tuplets.
struct TWritten {
  int value = 4;
  int dots = 0;
};

TWritten WrittenForm(int64_t ticks) {
  TWritten best;
  int64_t bestError = INT64_MAX;
  for (int dots = 0; dots <= 2; ++dots) {
    for (int v = 1; v <= 99; ++v) {
      // 1/v of a whole, x 3/2 or x 7/4 with the dots.
      int64_t length = 4 * kTicksPerQuarter * (dots == 0 ? 4 : dots == 1 ? 6 : 7) / (4 * v);
      int64_t error = std::llabs(length - ticks);
      if (error < bestError) {
        bestError = error;
        best = {v, dots};
      }
    }
  }
  return best;
}

const std::set<std::string>& DynamicsSigns() {
  static const std::set<std::string> kSigns = {"p",  "pp",  "ppp", "pppp", "f",  "ff",  "fff", "ffff", "mp",
                                                "mf", "sf",  "sfp", "sfpp", "fp", "rf",  "rfz", "sfz",  "sffz",
                                                "fz", "pf",  "sfzp", "n"};
  return kSigns;
}

class Writer {
 public:
  explicit Writer(const TScorePart& part) : part_(part) {}

  std::string Write() {
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    doc.append_child(pugi::node_doctype)
        .set_value("score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
                   "\"http://www.musicxml.org/dtds/partwise.dtd\"");
    pugi::xml_node score = doc.append_child("score-partwise");
    score.append_attribute("version") = "4.0";
    pugi::xml_node identification = score.append_child("identification");
    identification.append_child("encoding").append_child("software").text() = "PavSdi";
    pugi::xml_node scorePart = score.append_child("part-list").append_child("score-part");
    scorePart.append_attribute("id") = "P1";
    scorePart.append_child("part-name").text() = part_.name.c_str();
    if (part_.program >= 0) {
      pugi::xml_node instrument = scorePart.append_child("score-instrument");
      instrument.append_attribute("id") = "P1-I1";
      instrument.append_child("instrument-name").text() = part_.name.c_str();
      pugi::xml_node midi = scorePart.append_child("midi-instrument");
      midi.append_attribute("id") = "P1-I1";
      midi.append_child("midi-channel").text() = 1;
      midi.append_child("midi-program").text() = part_.program + 1;
    }
    pugi::xml_node partNode = score.append_child("part");
    partNode.append_attribute("id") = "P1";
    size_t note = 0;
    size_t mark = 0;
    for (size_t m = 0; m < part_.measures.size(); ++m) {
      const TScoreMeasure& measure = part_.measures[m];
      pugi::xml_node measureNode = partNode.append_child("measure");
      measureNode.append_attribute("number") = measure.number.c_str();
      int64_t end = measure.start + measure.length;
      bool last = m + 1 == part_.measures.size();
      Attributes(measureNode, m == 0, measure.start, &mark);
      for (const TScoreMark& k : pending_) Direction(measureNode, k);
      pending_.clear();
      while (note < part_.notes.size() && (last || part_.notes[note].start < end)) {
        const TScoreNote& first = part_.notes[note];
        for (; mark < part_.marks.size() && (part_.marks[mark].at <= first.start); ++mark)
          Direction(measureNode, part_.marks[mark]);
        Note(measureNode, first, false);
        size_t k = note + 1;
        for (; k < part_.notes.size() && part_.notes[k].start == first.start; ++k) Note(measureNode, part_.notes[k], true);
        note = k;
      }
    }
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
  }

 private:
  // The key and time in force at the start of a measure (the first one
  // always has both, and the divisions and clef).
  void Attributes(pugi::xml_node measure, bool first, int64_t start, size_t* mark) {
    int fifths = INT32_MIN, beats = 0, beatType = 0;
    for (; *mark < part_.marks.size() && part_.marks[*mark].at <= start; ++*mark) {
      const TScoreMark& k = part_.marks[*mark];
      if (k.kind == 'a') {
        fifths = k.value;
      } else if (k.kind == 'm') {
        beats = k.value;
        beatType = k.value2;
      } else {
        pending_.push_back(k);
      }
    }
    if (first) {
      if (fifths == INT32_MIN) fifths = 0;
      if (beats == 0) beats = 4, beatType = 4;
    }
    if (fifths == INT32_MIN && beats == 0) return;
    pugi::xml_node attributes = measure.append_child("attributes");
    if (first) attributes.append_child("divisions").text() = static_cast<long long>(kDivisions);
    if (fifths != INT32_MIN) attributes.append_child("key").append_child("fifths").text() = fifths;
    if (beats > 0) {
      pugi::xml_node time = attributes.append_child("time");
      time.append_child("beats").text() = beats;
      time.append_child("beat-type").text() = beatType;
    }
    if (first) {
      pugi::xml_node clef = attributes.append_child("clef");
      bool low = LowPart();
      clef.append_child("sign").text() = low ? "F" : "G";
      clef.append_child("line").text() = low ? 4 : 2;
    }
  }

  bool LowPart() const {
    std::vector<int> pitches;
    for (const TScoreNote& n : part_.notes)
      if (n.pitch >= 0) pitches.push_back(n.pitch);
    if (pitches.empty()) return false;
    std::nth_element(pitches.begin(), pitches.begin() + pitches.size() / 2, pitches.end());
    return pitches[pitches.size() / 2] < 57;
  }

  void Tempo(pugi::xml_node measure, int tempo) {
    pugi::xml_node direction = measure.append_child("direction");
    direction.append_attribute("placement") = "above";
    pugi::xml_node metronome = direction.append_child("direction-type").append_child("metronome");
    metronome.append_child("beat-unit").text() = "quarter";
    metronome.append_child("per-minute").text() = tempo;
    direction.append_child("sound").append_attribute("tempo") = tempo;
  }

  void Direction(pugi::xml_node measure, const TScoreMark& k) {
    if (k.kind == 't') Tempo(measure, k.value);
    if (k.kind != 'n' && k.kind != 'c' && k.kind != 'h') return;
    pugi::xml_node direction = measure.append_child("direction");
    direction.append_attribute("placement") = k.kind == 'n' ? "below" : "above";
    pugi::xml_node type = direction.append_child("direction-type");
    if (k.kind == 'n' && DynamicsSigns().count(k.text)) {
      type.append_child("dynamics").append_child(k.text.c_str());
    } else {
      type.append_child("words").text() = k.text.c_str();
    }
  }

  void Note(pugi::xml_node measure, const TScoreNote& n, bool chord) {
    pugi::xml_node note = measure.append_child("note");
    if (chord) note.append_child("chord");
    if (n.pitch < 0) {
      note.append_child("rest");
    } else {
      pugi::xml_node pitch = note.append_child("pitch");
      static const char kSteps[] = "CDEFGAB";
      static const int kSemitones[] = {0, 2, 4, 5, 7, 9, 11};
      int index = n.step ? static_cast<int>(std::string("cdefgab").find(n.step)) : -1;
      int alter = n.alter;
      if (index < 0) {
        // Sharps in sharp keys and C major, flats otherwise.
        static const int kSharpIndex[] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
        static const int kFlatIndex[] = {0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6};
        int pc = n.pitch % 12;
        index = flats_ ? kFlatIndex[pc] : kSharpIndex[pc];
        alter = pc - kSemitones[index];
      }
      int octave = (n.pitch - kSemitones[index] - alter) / 12 - 1;
      pitch.append_child("step").text() = std::string(1, kSteps[index]).c_str();
      if (alter != 0) pitch.append_child("alter").text() = alter;
      pitch.append_child("octave").text() = octave;
    }
    note.append_child("duration").text() = static_cast<long long>(std::max<int64_t>(1, n.duration / 8));
    if (n.tieStop) note.append_child("tie").append_attribute("type") = "stop";
    if (n.tieStart) note.append_child("tie").append_attribute("type") = "start";
    note.append_child("voice").text() = "1";
    TWritten written = WrittenForm(n.duration);
    int power = 1;
    while (power * 2 <= written.value && power < 64) power *= 2;
    note.append_child("type").text() = TypeName(power);
    for (int d = 0; d < written.dots; ++d) note.append_child("dot");
    if (power != written.value) {
      int g = std::gcd(written.value, power);
      pugi::xml_node modification = note.append_child("time-modification");
      modification.append_child("actual-notes").text() = written.value / g;
      modification.append_child("normal-notes").text() = power / g;
    }
    if (n.tieStart || n.tieStop || n.staccato || !n.fingering.empty()) {
      pugi::xml_node notations = note.append_child("notations");
      if (n.tieStop) notations.append_child("tied").append_attribute("type") = "stop";
      if (n.tieStart) notations.append_child("tied").append_attribute("type") = "start";
      if (n.staccato) notations.append_child("articulations").append_child("staccato");
      if (!n.fingering.empty()) notations.append_child("technical").append_child("fingering").text() = n.fingering.c_str();
    }
    if (!n.lyric.empty()) {
      pugi::xml_node lyric = note.append_child("lyric");
      lyric.append_child("syllabic").text() = "single";
      lyric.append_child("text").text() = n.lyric.c_str();
    }
  }

 public:
  bool flats_ = false;

 private:
  const TScorePart& part_;
  std::vector<TScoreMark> pending_;
};

}  // namespace

std::string WriteMusicXml(const TScorePart& part) {
  Writer writer(part);
  for (const TScoreMark& k : part.marks)
    if (k.kind == 'a') {
      writer.flats_ = k.value < 0;
      break;
    }
  return writer.Write();
}

}  // namespace formats
