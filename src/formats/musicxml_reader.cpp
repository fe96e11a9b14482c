#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "formats/score_files.h"

namespace formats {

namespace {

constexpr int64_t T = kTicksPerQuarter;

// A measure as written, before repeats are unrolled: times from its start.
struct TWrittenMeasure {
  std::string number;
  int64_t length = 0;
  std::vector<TScoreNote> notes;
  std::vector<TScoreMark> marks;
  std::vector<std::string> remarks;
  bool repeatForward = false;
  int repeatTimes = 0;  // a backward repeat: times the passage is played
  std::set<int> endings;
  // Jumps: a segno or coda is where they land; after the first jump back
  // (da capo, dal segno) the piece goes to the coda at "to coda" and stops
  // at "fine"; repeats are then not taken again.
  bool segno = false, coda = false, daCapo = false, dalSegno = false, toCoda = false, fine = false;
};

int StepIndex(char step) {
  static const char kSteps[] = "cdefgab";
  const char* at = step ? std::strchr(kSteps, step) : nullptr;
  return at ? static_cast<int>(at - kSteps) : -1;
}

int StepSemitone(int index) {
  static const int kSemitones[] = {0, 2, 4, 5, 7, 9, 11};
  return kSemitones[index];
}

char Lower(const char* text) {
  char c = text[0];
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Trimmed(const char* text) {
  std::string s = text;
  size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

// The harmony as its usual chord symbol ("Dm7", "G7/B").
std::string ChordSymbol(const pugi::xml_node& harmony) {
  static const std::map<std::string, std::string> kKinds = {
      {"major", ""},          {"minor", "m"},         {"augmented", "aug"},   {"diminished", "dim"},
      {"dominant", "7"},      {"major-seventh", "maj7"}, {"minor-seventh", "m7"},
      {"diminished-seventh", "dim7"}, {"augmented-seventh", "aug7"}, {"half-diminished", "m7b5"},
      {"major-minor", "m(maj7)"}, {"major-sixth", "6"}, {"minor-sixth", "m6"}, {"dominant-ninth", "9"},
      {"major-ninth", "maj9"}, {"minor-ninth", "m9"}, {"dominant-11th", "11"}, {"dominant-13th", "13"},
      {"suspended-second", "sus2"}, {"suspended-fourth", "sus4"}, {"power", "5"}};
  auto alter = [](const pugi::xml_node& n) {
    int a = n.text().as_int();
    return a > 0 ? std::string(a, '#') : std::string(-a, 'b');
  };
  pugi::xml_node root = harmony.child("root");
  std::string text = Trimmed(root.child_value("root-step"));
  if (text.empty()) return "";
  text += alter(root.child("root-alter"));
  pugi::xml_node kind = harmony.child("kind");
  if (pugi::xml_attribute shown = kind.attribute("text")) {
    text += shown.value();
  } else {
    auto found = kKinds.find(Trimmed(kind.child_value()));
    if (found != kKinds.end()) text += found->second;
  }
  pugi::xml_node bass = harmony.child("bass");
  std::string bassStep = Trimmed(bass.child_value("bass-step"));
  if (!bassStep.empty()) text += "/" + bassStep + alter(bass.child("bass-alter"));
  return text;
}

class PartReader {
 public:
  explicit PartReader(TScorePart* part) : part_(part) {}

  bool Read(const pugi::xml_node& partNode, std::string* error) {
    for (pugi::xml_node measure : partNode.children("measure")) {
      ReadMeasure(measure);
      if (noteCount_ > kScoreNoteLimit) {
        *error = "la partition a trop de notes (plus de " + std::to_string(kScoreNoteLimit) + ")";
        return false;
      }
    }
    return true;
  }

  size_t Notes() const { return noteCount_; }

  // Jumps are the whole score's, though written in one part: each part
  // takes those of the others at the same measure.
  void ShareJumps(PartReader& other) {
    for (size_t i = 0; i < written_.size() && i < other.written_.size(); ++i) {
      TWrittenMeasure& a = written_[i];
      TWrittenMeasure& b = other.written_[i];
      a.segno = b.segno = a.segno || b.segno;
      a.coda = b.coda = a.coda || b.coda;
      a.daCapo = b.daCapo = a.daCapo || b.daCapo;
      a.dalSegno = b.dalSegno = a.dalSegno || b.dalSegno;
      a.toCoda = b.toCoda = a.toCoda || b.toCoda;
      a.fine = b.fine = a.fine || b.fine;
    }
  }

  // Lays the measures in the order they are played: repeats taken as many
  // times as written, the endings of each pass, the jumps.
  bool Unroll(std::string* error) { return Lay(error); }

 private:
  int64_t Ticks(double divisionsCount) const {
    return static_cast<int64_t>(std::llround(divisionsCount * static_cast<double>(T) / divisions_));
  }

  void ReadAttributes(const pugi::xml_node& attributes, TWrittenMeasure& m) {
    if (pugi::xml_node d = attributes.child("divisions")) {
      double value = d.text().as_double();
      if (value > 0) divisions_ = value;
    }
    if (pugi::xml_node key = attributes.child("key"); key.child("fifths")) {
      m.marks.push_back({position_, 'a', key.child("fifths").text().as_int(), 0, ""});
    }
    if (pugi::xml_node time = attributes.child("time"); time.child("beats")) {
      // "3+2" counts five beats.
      int beats = 0;
      for (const char* p = time.child_value("beats"); *p;) {
        char* end;
        long v = std::strtol(p, &end, 10);
        if (end == p) { ++p; continue; }
        beats += static_cast<int>(v);
        p = end;
      }
      m.marks.push_back({position_, 'm', beats, time.child("beat-type").text().as_int(4), ""});
    }
    if (pugi::xml_node transpose = attributes.child("transpose")) {
      diatonic_ = transpose.child("diatonic").text().as_int();
      chromatic_ = transpose.child("chromatic").text().as_int() + 12 * transpose.child("octave-change").text().as_int();
    }
  }

  void ReadDirection(const pugi::xml_node& direction, TWrittenMeasure& m) {
    int64_t at = position_;
    if (pugi::xml_node offset = direction.child("offset")) at += Ticks(offset.text().as_double());
    if (at < 0) at = 0;
    for (pugi::xml_node type : direction.children("direction-type")) {
      for (pugi::xml_node dynamics : type.children("dynamics")) {
        for (pugi::xml_node sign : dynamics.children()) {
          std::string text = std::strcmp(sign.name(), "other-dynamics") == 0 ? Trimmed(sign.child_value()) : sign.name();
          if (!text.empty()) m.marks.push_back({at, 'n', 0, 0, text});
        }
      }
      for (pugi::xml_node words : type.children("words")) {
        std::string text = Trimmed(words.child_value());
        if (!text.empty()) m.marks.push_back({at, 'c', 0, 0, text});
      }
      if (pugi::xml_node wedge = type.child("wedge")) {
        // The program's own words: ">" is read "crechendo", "<" "diminuendo".
        std::string kind = wedge.attribute("type").value();
        if (kind == "crescendo") m.marks.push_back({at, 'n', 0, 0, ">"});
        if (kind == "diminuendo") m.marks.push_back({at, 'n', 0, 0, "<"});
      }
    }
    if (pugi::xml_node sound = direction.child("sound")) ReadSound(sound, at, m);
  }

  void ReadSound(const pugi::xml_node& sound, int64_t at, TWrittenMeasure& m) {
    if (pugi::xml_attribute tempo = sound.attribute("tempo")) {
      double bpm = tempo.as_double();
      if (bpm > 0) m.marks.push_back({at, 't', static_cast<int>(std::lround(bpm)), 0, ""});
    }
    m.segno = m.segno || sound.attribute("segno");
    m.coda = m.coda || sound.attribute("coda");
    m.daCapo = m.daCapo || sound.attribute("dacapo");
    m.dalSegno = m.dalSegno || sound.attribute("dalsegno");
    m.toCoda = m.toCoda || sound.attribute("tocoda");
    m.fine = m.fine || sound.attribute("fine");
  }

  void ReadNote(const pugi::xml_node& note, TWrittenMeasure& m) {
    bool chord = note.child("chord");
    // A grace note takes no time of the measure: it is played short, on
    // the time of the note it comes before.
    bool grace = note.child("grace");
    if (grace) m.remarks.push_back("note d'agrément jouée brève, sur le début de la note qui la suit");
    // Small notes sound, as the notation programs play them.
    if (note.child("cue")) m.remarks.push_back("petite note (réplique) jouée");
    TScoreNote n;
    n.start = chord && !grace ? lastStart_ : position_;
    n.duration = grace ? 0 : Ticks(note.child("duration").text().as_double());
    if (n.duration < 0) n.duration = 0;
    std::string voice = Trimmed(note.child_value("voice"));
    n.voice = voice.empty() ? "1" : voice;
    if (pugi::xml_node pitch = note.child("pitch")) {
      int index = StepIndex(Lower(pitch.child_value("step")));
      if (index >= 0) {
        int alter = static_cast<int>(std::lround(pitch.child("alter").text().as_double()));
        int octave = pitch.child("octave").text().as_int(4);
        int written = 12 * (octave + 1) + StepSemitone(index) + alter;
        n.pitch = written + chromatic_;
        // The sounding letter: the written one moved by the transposition's steps.
        int stepIndex = index + diatonic_;
        int octaveShift = stepIndex >= 0 ? stepIndex / 7 : -((6 - stepIndex) / 7);
        stepIndex -= 7 * octaveShift;
        int natural = 12 * (octave + 1 + octaveShift) + StepSemitone(stepIndex);
        n.step = "cdefgab"[stepIndex];
        n.alter = n.pitch - natural;
        if (n.alter < -2 || n.alter > 2) n.step = 0;  // spelled again from the pitch
      }
    } else if (note.child("unpitched")) {
      m.remarks.push_back("note de percussion sans hauteur prise pour un silence");
    }
    for (pugi::xml_node tie : note.children("tie")) {
      std::string type = tie.attribute("type").value();
      if (type == "start") n.tieStart = true;
      if (type == "stop") n.tieStop = true;
    }
    for (pugi::xml_node notations : note.children("notations")) {
      for (pugi::xml_node tied : notations.children("tied")) {
        std::string type = tied.attribute("type").value();
        if (type == "start") n.tieStart = true;
        if (type == "stop") n.tieStop = true;
      }
      pugi::xml_node articulations = notations.child("articulations");
      if (articulations.child("staccato") || articulations.child("staccatissimo")) n.staccato = true;
      for (pugi::xml_node f : notations.child("technical").children("fingering")) {
        std::string text = Trimmed(f.child_value());
        if (!text.empty()) n.fingering += (n.fingering.empty() ? "" : " ") + text;
      }
      if (notations.child("fermata") && n.pitch >= 0) m.remarks.push_back("point d'orgue joué sans prolongation");
      for (const char* slide : {"glissando", "slide"}) {
        for (pugi::xml_node glide : notations.children(slide)) {
          std::string type = glide.attribute("type").value();
          n.glideStart = n.glideStart || type == "start";
          n.glideStop = n.glideStop || type == "stop";
        }
      }
      if (pugi::xml_node arpeggiate = notations.child("arpeggiate"))
        n.arpeggio = std::strcmp(arpeggiate.attribute("direction").value(), "down") == 0 ? -1 : 1;
      if (notations.child("ornaments")) m.remarks.push_back("ornement joué comme la note seule");
    }
    for (pugi::xml_node lyric : note.children("lyric")) {
      std::string text = Trimmed(lyric.child_value("text"));
      std::string syllabic = lyric.child_value("syllabic");
      if (syllabic == "begin" || syllabic == "middle") text += "-";
      if (!text.empty()) {
        n.lyric = text;
        break;  // the first verse
      }
    }
    if (!chord && !grace) {
      lastStart_ = position_;
      position_ += n.duration;
    }
    if (position_ > m.length) m.length = position_;
    m.notes.push_back(std::move(n));
    ++noteCount_;
  }

  void ReadBarline(const pugi::xml_node& barline, TWrittenMeasure& m) {
    if (pugi::xml_node repeat = barline.child("repeat")) {
      std::string direction = repeat.attribute("direction").value();
      if (direction == "forward") m.repeatForward = true;
      if (direction == "backward") m.repeatTimes = repeat.attribute("times").as_int(2);
    }
    if (pugi::xml_node ending = barline.child("ending")) {
      std::string type = ending.attribute("type").value();
      if (type == "start") {
        openEnding_.clear();
        for (const char* p = ending.attribute("number").value(); *p;) {
          char* end;
          long v = std::strtol(p, &end, 10);
          if (end == p) { ++p; continue; }
          openEnding_.insert(static_cast<int>(v));
          p = end;
        }
      }
      m.endings.insert(openEnding_.begin(), openEnding_.end());
      if (type == "stop" || type == "discontinue") endingClosing_ = true;
    }
  }

  void ReadMeasure(const pugi::xml_node& measure) {
    TWrittenMeasure m;
    m.number = measure.attribute("number").value();
    position_ = 0;
    lastStart_ = 0;
    endingClosing_ = false;
    m.endings = openEnding_;
    for (pugi::xml_node child : measure.children()) {
      const char* name = child.name();
      if (std::strcmp(name, "note") == 0) {
        ReadNote(child, m);
      } else if (std::strcmp(name, "backup") == 0) {
        position_ -= Ticks(child.child("duration").text().as_double());
        if (position_ < 0) position_ = 0;
      } else if (std::strcmp(name, "forward") == 0) {
        position_ += Ticks(child.child("duration").text().as_double());
        if (position_ > m.length) m.length = position_;
      } else if (std::strcmp(name, "attributes") == 0) {
        ReadAttributes(child, m);
      } else if (std::strcmp(name, "direction") == 0) {
        ReadDirection(child, m);
      } else if (std::strcmp(name, "sound") == 0) {
        ReadSound(child, position_, m);
      } else if (std::strcmp(name, "harmony") == 0) {
        int64_t at = position_;
        if (pugi::xml_node offset = child.child("offset")) at += Ticks(offset.text().as_double());
        std::string symbol = ChordSymbol(child);
        if (!symbol.empty()) m.marks.push_back({at < 0 ? 0 : at, 'h', 0, 0, symbol});
      } else if (std::strcmp(name, "barline") == 0) {
        ReadBarline(child, m);
      }
    }
    if (endingClosing_) openEnding_.clear();
    written_.push_back(std::move(m));
  }

  bool Lay(std::string* error) {
    int64_t time = 0;
    std::vector<int> timesDone(written_.size(), 0);
    std::vector<bool> said(written_.size(), false);
    size_t start = 0, segno = 0, coda = written_.size();
    int lastEnding = 0;
    for (size_t i = 0; i < written_.size(); ++i) {
      if (written_[i].segno) segno = i;
      if (written_[i].coda && coda == written_.size()) coda = i;
      if (!written_[i].endings.empty()) lastEnding = std::max(lastEnding, *written_[i].endings.rbegin());
    }
    int pass = 1;
    bool jumped = false;
    for (size_t i = 0; i < written_.size();) {
      const TWrittenMeasure& w = written_[i];
      if (w.repeatForward && pass == 1 && !jumped) start = i;
      int ending = jumped ? lastEnding : pass;
      if (!w.endings.empty() && !w.endings.count(ending)) {
        ++i;
        continue;
      }
      if (part_->measures.size() >= kPlayedMeasureLimit) {
        *error = "la partition déroulée dépasse " + std::to_string(kPlayedMeasureLimit) + " mesures";
        return false;
      }
      TScoreMeasure played{w.number, time, w.length, {}};
      if (!said[i]) played.remarks = w.remarks;
      for (const TScoreNote& n : w.notes) {
        part_->notes.push_back(n);
        part_->notes.back().start += time;
      }
      for (const TScoreMark& k : w.marks) {
        part_->marks.push_back(k);
        part_->marks.back().at += time;
      }
      time += w.length;
      bool repeat = !jumped && w.repeatTimes > 0 && timesDone[i] < w.repeatTimes - 1;
      if (repeat && !said[i]) played.remarks.push_back("reprise déroulée");
      if (!jumped && (w.daCapo || w.dalSegno)) played.remarks.push_back("renvoi suivi");
      said[i] = true;
      part_->measures.push_back(std::move(played));
      if (repeat) {
        ++timesDone[i];
        ++pass;
        i = start;
      } else if (!jumped && (w.daCapo || w.dalSegno)) {
        jumped = true;
        i = w.daCapo ? 0 : segno;
      } else if (jumped && w.toCoda && coda < written_.size()) {
        i = coda;
      } else if (jumped && w.fine) {
        break;
      } else {
        if (w.repeatTimes > 0) {
          pass = 1;
          start = i + 1;
        }
        ++i;
      }
    }
    auto byStart = [](const TScoreNote& a, const TScoreNote& b) { return a.start < b.start; };
    std::stable_sort(part_->notes.begin(), part_->notes.end(), byStart);
    std::stable_sort(part_->marks.begin(), part_->marks.end(),
                     [](const TScoreMark& a, const TScoreMark& b) { return a.at < b.at; });
    return true;
  }

  TScorePart* part_;
  std::vector<TWrittenMeasure> written_;
  double divisions_ = 1;
  int diatonic_ = 0;
  int chromatic_ = 0;
  int64_t position_ = 0;
  int64_t lastStart_ = 0;
  std::set<int> openEnding_;
  bool endingClosing_ = false;
  size_t noteCount_ = 0;
};

}  // namespace

bool ReadMusicXml(const std::string& bytes, TScore* score, std::string* error) {
  if (bytes.size() > kScoreFileLimit) {
    *error = "la partition dépasse " + std::to_string(kScoreFileLimit >> 20) + " Mo";
    return false;
  }
  pugi::xml_document document;
  // No entity or DOCTYPE is ever expanded: nothing is fetched, nothing grows.
  pugi::xml_parse_result parsed = document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default);
  if (!parsed) {
    *error = std::string("XML mal formé (") + parsed.description() + ", octet " + std::to_string(parsed.offset) + ")";
    return false;
  }
  pugi::xml_node root = document.child("score-partwise");
  if (!root) {
    *error = document.child("score-timewise") ? "partition MusicXML « timewise » : seule la forme « partwise » est lue"
                                                : "ce fichier n'est pas une partition MusicXML";
    return false;
  }
  std::map<std::string, std::pair<std::string, int>> names;
  for (pugi::xml_node scorePart : root.child("part-list").children("score-part")) {
    std::string name = Trimmed(scorePart.child_value("part-name"));
    if (name.empty()) name = Trimmed(scorePart.child_value("part-abbreviation"));
    int program = scorePart.child("midi-instrument").child("midi-program").text().as_int(0) - 1;
    names[scorePart.attribute("id").value()] = {name, program};
  }
  size_t notes = 0;
  for (pugi::xml_node partNode : root.children("part")) {
    TScorePart part;
    auto found = names.find(partNode.attribute("id").value());
    if (found != names.end()) {
      part.name = found->second.first;
      part.program = found->second.second;
    }
    if (part.name.empty()) part.name = "partie " + std::to_string(score->parts.size() + 1);
    score->parts.push_back(std::move(part));
  }
  std::vector<PartReader> readers;
  size_t index = 0;
  for (pugi::xml_node partNode : root.children("part")) {
    readers.emplace_back(&score->parts[index++]);
    if (!readers.back().Read(partNode, error)) return false;
    notes += readers.back().Notes();
    if (notes > kScoreNoteLimit) {
      *error = "la partition a trop de notes (plus de " + std::to_string(kScoreNoteLimit) + ")";
      return false;
    }
  }
  for (size_t i = 1; i < readers.size(); ++i) readers[0].ShareJumps(readers[i]);
  for (size_t i = 1; i < readers.size(); ++i) readers[0].ShareJumps(readers[i]);
  for (PartReader& reader : readers)
    if (!reader.Unroll(error)) return false;
  if (score->parts.empty()) {
    *error = "la partition n'a aucune partie";
    return false;
  }
  // A tempo is the whole score's, wherever it is written: often in the
  // first part only. Of two at one time, the later holds.
  std::map<int64_t, TScoreMark> tempos;
  for (const TScorePart& part : score->parts)
    for (const TScoreMark& k : part.marks)
      if (k.kind == 't') tempos[k.at] = k;
  for (TScorePart& part : score->parts) {
    std::erase_if(part.marks, [](const TScoreMark& k) { return k.kind == 't'; });
    for (auto& [at, k] : tempos) part.marks.push_back(k);
    std::stable_sort(part.marks.begin(), part.marks.end(),
                     [](const TScoreMark& a, const TScoreMark& b) { return a.at < b.at; });
  }
  return true;
}

}  // namespace formats
