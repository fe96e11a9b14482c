#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "formats/encoding.h"
#include "tablature/score_tablature.h"

namespace {

using formats::TScoreMark;
using formats::TScoreNote;
using formats::TScorePart;
constexpr int64_t T = formats::kTicksPerQuarter;

// One written length: the note value v (1/v of a whole) and its dots.
struct TPiece {
  int64_t ticks;
  int value;
  int dots;
  int cost;  // simpler values first: binary ones, then fewer dots
};

// The lengths a tablature can write at a tempo: values 1 to 99 with up to
// two dots, none longer than the 4000 ms a wait lasts at most.
class Lengths {
 public:
  explicit Lengths(int tempo) {
    for (int v = 1; v <= 99; ++v) {
      for (int dots = 0; dots <= 2; ++dots) {
        int64_t whole = 4 * T * (dots == 0 ? 4 : dots == 1 ? 6 : 7);
        if (whole % (4 * v) != 0) continue;
        int64_t ticks = whole / (4 * v);
        if (static_cast<double>(ticks) * 60000.0 / (static_cast<double>(T) * tempo) > 4000.0) continue;
        bool binary = (v & (v - 1)) == 0;
        TPiece piece{ticks, v, dots, (binary ? 0 : 4) + dots};
        auto found = byTicks_.find(ticks);
        if (found == byTicks_.end() || found->second.cost > piece.cost) byTicks_[ticks] = piece;
      }
    }
    for (auto& [ticks, piece] : byTicks_) descending_.push_back(piece);
    std::reverse(descending_.begin(), descending_.end());
  }

  // The one written length nearest to `d`.
  int64_t Nearest(int64_t d) const {
    auto above = byTicks_.lower_bound(d);
    if (above == byTicks_.end()) return byTicks_.rbegin()->first;
    if (above == byTicks_.begin()) return above->first;
    auto below = std::prev(above);
    return above->first - d < d - below->first ? above->first : below->first;
  }

  int64_t Shortest() const { return byTicks_.begin()->first; }

  // `d` as written lengths, longest first; false when they only come near.
  bool Split(int64_t d, std::vector<TPiece>* pieces) {
    pieces->clear();
    while (d > descending_.front().ticks) {
      pieces->push_back(descending_.front());
      d -= descending_.front().ticks;
    }
    if (d <= 0) return true;
    auto memo = memo_.find(d);
    if (memo != memo_.end()) {
      pieces->insert(pieces->end(), memo->second.first.begin(), memo->second.first.end());
      return memo->second.second;
    }
    std::vector<TPiece> found;
    bool exact = Exact(d, &found);
    if (!exact) Nearest(d, &found);
    memo_[d] = {found, exact};
    pieces->insert(pieces->end(), found.begin(), found.end());
    return exact;
  }

 private:
  bool Exact(int64_t d, std::vector<TPiece>* out) {
    if (auto one = byTicks_.find(d); one != byTicks_.end()) {
      *out = {one->second};
      return true;
    }
    int best = INT32_MAX;
    for (const TPiece& a : descending_) {
      if (a.ticks >= d) continue;
      auto b = byTicks_.find(d - a.ticks);
      if (b != byTicks_.end() && b->second.ticks <= a.ticks && a.cost + b->second.cost < best) {
        best = a.cost + b->second.cost;
        *out = {a, b->second};
      }
    }
    if (best != INT32_MAX) return true;
    for (const TPiece& a : descending_) {
      if (a.ticks >= d) continue;
      for (const TPiece& b : descending_) {
        if (b.ticks > a.ticks || a.ticks + b.ticks >= d) continue;
        auto c = byTicks_.find(d - a.ticks - b.ticks);
        if (c != byTicks_.end() && c->second.ticks <= b.ticks && a.cost + b.cost + c->second.cost < best) {
          best = a.cost + b.cost + c->second.cost;
          *out = {a, b, c->second};
        }
      }
    }
    return best != INT32_MAX;
  }

  // The longest lengths that fit, then the shortest one when what is left
  // is nearer to it than to nothing.
  void Nearest(int64_t d, std::vector<TPiece>* out) {
    out->clear();
    for (const TPiece& p : descending_) {
      while (p.ticks <= d) {
        out->push_back(p);
        d -= p.ticks;
      }
    }
    if (out->empty() || 2 * d >= descending_.back().ticks) out->push_back(descending_.back());
  }

  std::map<int64_t, TPiece> byTicks_;
  std::vector<TPiece> descending_;
  std::map<int64_t, std::pair<std::vector<TPiece>, bool>> memo_;
};

// Sharps and flats of a key in their order.
std::map<char, char> KeyAccidentals(int fifths) {
  std::map<char, char> key;
  const char* sharps = "fcgdaeb";
  const char* flats = "beadgcf";
  for (int i = 0; i < fifths && i < 7; ++i) key[sharps[i]] = '+';
  for (int i = 0; i < -fifths && i < 7; ++i) key[flats[i]] = '-';
  return key;
}

// An annotation's text as an indication's argument: in Windows-1252,
// without the characters that would end it or a measure.
std::string Argument(const std::string& utf8) {
  std::string text = formats::Utf8ToCp1252(utf8);
  for (char& c : text)
    if (c == ':' || c == '\n' || c == '\r' || c == '|') c = ' ';
  return text;
}

// The tempo a tablature can write for a score's.
int TabTempo(int tempo) { return std::clamp(tempo, 31, 239); }

struct TOnset {
  int64_t start;
  std::vector<const TScoreNote*> notes;
};

class Importer {
 public:
  explicit Importer(const TScorePart& part) : part_(part) {
    // The notation plays at 120 until a tempo is given.
    int tempo = 120;
    for (const TScoreMark& k : part.marks) {
      if (k.kind != 't') continue;
      if (k.at == 0) start_ = TabTempo(k.value);
      if (k.at > 0 && TabTempo(k.value) != tempo) changes_.push_back(k.at);
      tempo = TabTempo(k.value);
    }
  }

  std::map<size_t, std::vector<std::string>> remarks;

  // Notes of the voice (or all), quantized when played, ties joined.
  std::vector<TScoreNote> Notes(const std::string& voice) {
    std::vector<TScoreNote> notes;
    for (const TScoreNote& n : part_.notes) {
      // Played times have no grace notes: a note without length is none.
      if (n.pitch < 0 || n.duration < 0 || (n.duration == 0 && part_.quantize)) continue;
      if (!voice.empty() && n.voice != voice) continue;
      notes.push_back(n);
      if (part_.quantize) Quantize(notes.back());
    }
    std::stable_sort(notes.begin(), notes.end(),
                     [](const TScoreNote& a, const TScoreNote& b) { return a.start < b.start; });
    std::vector<TScoreNote> joined;
    std::map<int, size_t> open;  // pitch -> the note its tie goes on from
    for (const TScoreNote& n : notes) {
      auto tied = open.find(n.pitch);
      // A glissando from the end of a tie sounds its note again.
      if (n.duration > 0 && n.tieStop && !n.glideStart && tied != open.end()) {
        TScoreNote& before = joined[tied->second];
        if (std::llabs(before.start + before.duration - n.start) <= T / 64) {
          before.duration = n.start + n.duration - before.start;
          if (!n.tieStart) open.erase(tied);
          continue;
        }
      }
      joined.push_back(n);
      if (n.duration > 0 && n.tieStart) open[n.pitch] = joined.size() - 1;
    }
    Graces(joined);
    Glides(joined);
    std::stable_sort(joined.begin(), joined.end(),
                     [](const TScoreNote& a, const TScoreNote& b) { return a.start < b.start; });
    return joined;
  }

  std::string Write(const std::vector<TScoreNote>& notes) {
    end_ = part_.measures.empty() ? 0 : part_.measures.back().start + part_.measures.back().length;
    for (const TScoreNote& n : notes) end_ = std::max(end_, n.start + n.duration);
    for (size_t m = 0; m < part_.measures.size(); ++m)
      for (const std::string& r : part_.measures[m].remarks) remarks[m].push_back(r);
    out_.clear();
    Tempo(start_);
    if (part_.program >= 0) out_ += "ii" + std::to_string(part_.program) + ": ";
    // Every piece states its key, so that a key kept from an earlier reading
    // never colours it.
    bool keyGiven = false;
    for (const TScoreMark& k : part_.marks)
      if (k.kind == 'a' && k.at == 0) keyGiven = true;
    if (!keyGiven) out_ += "ia: ";
    std::vector<TOnset> onsets;
    for (const TScoreNote& n : notes) {
      if (onsets.empty() || onsets.back().start != n.start) onsets.push_back({n.start, {}});
      onsets.back().notes.push_back(&n);
    }
    int64_t time = 0;
    for (size_t i = 0; i < onsets.size(); ++i) {
      const TOnset& onset = onsets[i];
      int64_t next = i + 1 < onsets.size() ? onsets[i + 1].start : end_;
      int64_t longest = 0, shortest = INT64_MAX;
      for (const TScoreNote* n : onset.notes) {
        longest = std::max(longest, n->duration);
        shortest = std::min(shortest, n->duration);
      }
      int64_t sounding = std::min(longest, next - onset.start);
      Rests(time, onset.start);
      if (longest > next - onset.start) Remark("note tenue coupée par la note suivante");
      else if (shortest != longest) Remark("notes d'un accord de durées différentes jouées ensemble");
      Chord(onset, sounding);
      time = onset.start + sounding;
    }
    Rests(time, end_);
    Sync(end_);
    if (out_.back() != '\n') out_ += "\n";
    return out_;
  }

 private:
  void Quantize(TScoreNote& n) {
    auto nearest = [](int64_t t) {
      int64_t a = (t + T / 8) / (T / 4) * (T / 4);
      int64_t b = (t + T / 6) / (T / 3) * (T / 3);
      return std::llabs(a - t) <= std::llabs(b - t) ? a : b;
    };
    int64_t start = nearest(n.start);
    int64_t end = nearest(n.start + n.duration);
    if (end <= start) end = start + T / 4;
    if (std::llabs(start - n.start) * 10 > n.duration || std::llabs(end - start - n.duration) * 10 > n.duration)
      Remark("note déplacée de plus d'un dixième de sa valeur", MeasureAt(n.start));
    n.start = start;
    n.duration = end - start;
  }

  Lengths& LengthsAt(int tempo) { return lengthsAt_.try_emplace(tempo, tempo).first->second; }

  int TempoAt(int64_t t) const {
    int tempo = 120;
    for (const TScoreMark& k : part_.marks) {
      if (k.at > t) break;
      if (k.kind == 't') tempo = TabTempo(k.value);
    }
    return tempo;
  }

  // Grace notes take their time from the start of the notes they come
  // before, as the notation programs play them: 65 ms each, at most half
  // of the note.
  void Graces(std::vector<TScoreNote>& notes) {
    for (size_t i = 0; i < notes.size();) {
      if (notes[i].duration != 0) {
        ++i;
        continue;
      }
      const int64_t start = notes[i].start;
      const std::string voice = notes[i].voice;
      size_t end = i;
      while (end < notes.size() && notes[end].start == start) ++end;
      std::vector<size_t> graces, main;
      for (size_t k = i; k < end; ++k) {
        if (notes[k].voice != voice) continue;
        (notes[k].duration == 0 ? graces : main).push_back(k);
      }
      if (main.empty()) {
        Remark("note d'agrément sans note après elle omise", MeasureAt(start));
        for (size_t k : graces) notes[k].pitch = -1;
        i = end;
        continue;
      }
      int64_t shortest = INT64_MAX;
      for (size_t k : main) shortest = std::min(shortest, notes[k].duration);
      int tempo = TempoAt(start);
      int64_t count = static_cast<int64_t>(graces.size());
      int64_t each = std::min(65 * T * tempo / 60000, shortest / 2 / count);
      each = LengthsAt(tempo).Nearest(each);
      if (each * count >= shortest) {
        each = 0;
        Remark("note d'agrément trop brève pour s'écrire, omise", MeasureAt(start));
      }
      for (size_t g = 0; g < graces.size(); ++g) {
        notes[graces[g]].start = start + static_cast<int64_t>(g) * each;
        notes[graces[g]].duration = each;
        if (each == 0) notes[graces[g]].pitch = -1;
      }
      for (size_t k : main) {
        notes[k].start += each * count;
        notes[k].duration -= each * count;
      }
      i = end;
    }
    std::erase_if(notes, [](const TScoreNote& n) { return n.pitch < 0; });
  }

  // A glissando plays the half tones from its note towards the note that
  // ends it, in the time of its note, at most a quarter each, the last one
  // held; as many as the shortest written length allows.
  void Glides(std::vector<TScoreNote>& notes) {
    std::vector<TScoreNote> added;
    for (size_t i = 0; i < notes.size(); ++i) {
      TScoreNote& n = notes[i];
      if (!n.glideStart || n.duration <= 0) continue;
      size_t e = i + 1;
      while (e < notes.size() && !(notes[e].glideStop && notes[e].voice == n.voice && notes[e].start > n.start)) ++e;
      if (e == notes.size()) {
        Remark("glissando sans note d'arrivée, joué comme sa note", MeasureAt(n.start));
        continue;
      }
      int distance = std::abs(notes[e].pitch - n.pitch);
      int direction = notes[e].pitch > n.pitch ? 1 : -1;
      int64_t shortest = LengthsAt(TempoAt(n.start)).Shortest();
      int64_t steps = std::min<int64_t>(distance, n.duration / shortest);
      if (steps < 2) continue;
      Remark("glissando joué en demi-tons", MeasureAt(n.start));
      int64_t each = std::min(T, n.duration / steps);
      int64_t end = n.start + n.duration;
      n.duration = each;
      for (int64_t k = 1; k < steps; ++k) {
        TScoreNote step;
        step.voice = n.voice;
        step.staccato = n.staccato;
        step.pitch = n.pitch + direction * static_cast<int>(k * distance / steps);
        step.start = n.start + k * each;
        step.duration = k + 1 == steps ? end - step.start : each;
        added.push_back(step);
      }
    }
    notes.insert(notes.end(), added.begin(), added.end());
  }

  size_t MeasureAt(int64_t t) const {
    size_t m = 0;
    while (m + 1 < part_.measures.size() && part_.measures[m + 1].start <= t) ++m;
    return m;
  }

  void Remark(const std::string& text, size_t m) { remarks[m].push_back(text); }
  void Remark(const std::string& text) { Remark(text, measure_); }

  int64_t MeasureEnd() const {
    if (measure_ >= part_.measures.size()) return INT64_MAX;
    return part_.measures[measure_].start + part_.measures[measure_].length;
  }

  // Where what sounds from `t` must stop being written in one piece: the
  // bar line, or a change of tempo, from which the rest of a note is
  // written as rests of its group at the new tempo.
  int64_t NextCut(int64_t t) const {
    auto change = std::upper_bound(changes_.begin(), changes_.end(), t);
    return std::min(change == changes_.end() ? INT64_MAX : *change, MeasureEnd());
  }

  void Tempo(int tempo) {
    out_ += "t" + std::to_string(tempo) + " ";
    tempo_ = tempo;
    lengths_ = &LengthsAt(tempo);
  }

  // Closes the measures that end by `t`.
  void Sync(int64_t t) {
    while (measure_ < part_.measures.size() && t >= MeasureEnd()) {
      out_ += "\n";
      bar_ = key_;
      ++measure_;
    }
  }

  void Marks(int64_t t) {
    for (; mark_ < part_.marks.size() && part_.marks[mark_].at <= t; ++mark_) {
      const TScoreMark& k = part_.marks[mark_];
      char text[64];
      switch (k.kind) {
        case 'a': {
          key_ = KeyAccidentals(k.value);
          bar_ = key_;
          std::string pairs;
          for (const char* order = k.value >= 0 ? "fcgdaeb" : "beadgcf"; *order; ++order)
            if (key_.count(*order)) pairs += std::string(1, *order) + key_[*order];
          out_ += "ia" + (pairs.empty() ? "" : " " + pairs) + ": ";
          break;
        }
        case 'm':
          std::snprintf(text, sizeof text, "im%d/%d: ", k.value, k.value2);
          out_ += text;
          break;
        case 't':
          if (TabTempo(k.value) != k.value) {
            std::snprintf(text, sizeof text, "tempo %d ramené à %d", k.value, TabTempo(k.value));
            Remark(text);
          }
          if (TabTempo(k.value) != tempo_) Tempo(TabTempo(k.value));
          break;
        case 'n': out_ += "in" + Argument(k.text) + ": "; break;
        case 'h': out_ += "ih" + Argument(k.text) + ": "; break;
        case 'c': out_ += "ic" + Argument(k.text) + ": "; break;
      }
    }
  }

  void Value(const TPiece& piece) {
    if (piece.value != value_) {
      out_ += std::to_string(piece.value);
      value_ = piece.value;
    }
  }

  void Dots(const TPiece& piece) { out_ += std::string(static_cast<size_t>(piece.dots), '.'); }

  // Rests from `from` to `to`, cut at the bar lines.
  void Rests(int64_t from, int64_t to) {
    while (from < to) {
      Sync(from);
      Marks(from);
      int64_t end = std::min(to, NextCut(from));
      std::vector<TPiece> pieces;
      if (!lengths_->Split(end - from, &pieces)) Remark("durée arrondie à la valeur la plus proche");
      for (const TPiece& p : pieces) {
        Value(p);
        out_ += "p";
        Dots(p);
        out_ += " ";
      }
      from = end;
    }
  }

  // The note's octave command when it changes, then `value` (the written
  // length, or "" in a chord), then its letter and accidental.
  void Note(const TScoreNote& n, const TPiece* value) {
    static const char kLetters[] = "cdefgab";
    static const int kSemitones[] = {0, 2, 4, 5, 7, 9, 11};
    int index = n.step ? static_cast<int>(std::string(kLetters).find(n.step)) : -1;
    int alter = n.alter;
    if (index < 0) {
      static const int kSharp[] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
      static const int kFlat[] = {0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6};
      bool flats = !key_.empty() && key_.begin()->second == '-';
      int pc = n.pitch % 12;
      index = flats ? kFlat[pc] : kSharp[pc];
      alter = pc - kSemitones[index];
    }
    int octave = (n.pitch - kSemitones[index] - alter) / 12;
    if (octave < 0 || octave > 8) {
      Remark("note hors de l'étendue de la tablature, ramenée d'une octave");
      octave = std::clamp(octave, 0, 8);
    }
    if (octave != octave_) {
      out_ += "o" + std::to_string(octave) + " ";
      octave_ = octave;
    }
    if (value) Value(*value);
    char letter = kLetters[index];
    char accidental = alter == 1 ? '+' : alter == -1 ? '-' : alter == 2 ? '*' : alter == -2 ? '\xE1' : '0';
    // The key and the bar give a letter its accidental unless one is written.
    auto held = bar_.find(letter);
    std::string written(1, letter);
    if (held != bar_.end() ? held->second != accidental : accidental != '0') {
      written += accidental;
      bar_[letter] = accidental;
    }
    out_ += written;
  }

  void Chord(const TOnset& onset, int64_t sounding) {
    Sync(onset.start);
    Marks(onset.start);
    for (const TScoreNote* n : onset.notes) {
      if (!n->fingering.empty()) out_ += "id" + Argument(n->fingering) + ": ";
      if (!n->lyric.empty()) out_ += "ip" + Argument(n->lyric) + ": ";
    }
    int64_t first = std::min(sounding, NextCut(onset.start) - onset.start);
    std::vector<std::pair<int64_t, const TScoreNote*>> rolled;
    int64_t roll = Roll(onset, first, &rolled);
    std::vector<TPiece> pieces;
    if (!lengths_->Split(first - roll * rolled.back().first, &pieces))
      Remark("durée arrondie à la valeur la plus proche");
    bool group = onset.notes.size() > 1 || pieces.size() > 1 || sounding > first;
    bool staccato = onset.notes.front()->staccato;
    if (staccato != staccato_) {
      out_ += staccato ? "ms " : "mn ";
      staccato_ = staccato;
    }
    if (group) out_ += "(";
    for (size_t i = 0; i < rolled.size(); ++i) {
      if (i > 0) out_ += " ";
      if (i > 0 && rolled[i].first != rolled[i - 1].first) {
        std::vector<TPiece> step;
        lengths_->Split(roll * (rolled[i].first - rolled[i - 1].first), &step);
        for (const TPiece& p : step) {
          Value(p);
          out_ += "p";
          Dots(p);
          out_ += " ";
        }
      }
      Note(*rolled[i].second, i == 0 ? &pieces.front() : nullptr);
      if (i == 0) Dots(pieces.front());
    }
    for (size_t i = 1; i < pieces.size(); ++i) {
      out_ += " ";
      Value(pieces[i]);
      out_ += "p";
      Dots(pieces[i]);
    }
    if (sounding > first) {
      out_ += " ";
      Rests(onset.start + first, onset.start + sounding);
      out_.pop_back();
    }
    out_ += group ? ") " : " ";
  }

  // The notes of the onset in the order they start, each with its step
  // from the start; returns the length of a step. A rolled chord starts
  // its notes one after the other from the lowest (the highest when it
  // rolls downwards), 64/480 of a quarter at tempo 120 apart (about 67 ms
  // at any tempo), closer when the chord is short, as the notation
  // programs play it; each voice rolls its own.
  int64_t Roll(const TOnset& onset, int64_t first, std::vector<std::pair<int64_t, const TScoreNote*>>* order) {
    std::map<std::string, std::vector<const TScoreNote*>> voices;
    for (const TScoreNote* n : onset.notes)
      if (n->arpeggio != 0) voices[n->voice].push_back(n);
    int64_t sixtyFour = 64;
    for (auto& [voice, notes] : voices) {
      int64_t count = static_cast<int64_t>(notes.size());
      int64_t l = 64;
      while (l > 0 && l * count * T > onset.notes.front()->duration * 480) l = 2 * l / 3;
      sixtyFour = std::min(sixtyFour, l);
    }
    int64_t step = voices.empty() || sixtyFour == 0 ? 0 : lengths_->Nearest(sixtyFour * tempo_ * T / 57600);
    order->clear();
    for (const TScoreNote* n : onset.notes) {
      auto rolling = voices.find(n->voice);
      int64_t k = 0;
      if (step > 0 && n->arpeggio != 0 && rolling != voices.end())
        for (const TScoreNote* other : rolling->second)
          if (n->arpeggio > 0 ? other->pitch < n->pitch : other->pitch > n->pitch) ++k;
      order->push_back({k, n});
    }
    std::stable_sort(order->begin(), order->end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    if (step * order->back().first >= first) {
      for (auto& entry : *order) entry.first = 0;
      return 0;
    }
    if (step > 0) Remark("accord arpégé joué note après note");
    return step;
  }

  const TScorePart& part_;
  std::map<int, Lengths> lengthsAt_;  // by tempo
  Lengths* lengths_ = nullptr;
  std::vector<int64_t> changes_;  // times the tempo changes at, after the start
  int start_ = 120;
  std::string out_;
  size_t measure_ = 0;
  size_t mark_ = 0;
  int64_t end_ = 0;
  int tempo_ = 0;
  int value_ = 0;
  int octave_ = -1;
  bool staccato_ = false;
  std::map<char, char> key_, bar_;
};

}  // namespace

std::vector<std::string> PartVoices(const TScorePart& part) {
  std::vector<std::string> voices;
  for (const TScoreNote& n : part.notes)
    if (n.pitch >= 0 && std::find(voices.begin(), voices.end(), n.voice) == voices.end()) voices.push_back(n.voice);
  return voices;
}

std::string ScoreToTablature(const TScorePart& part, const std::string& voice, std::vector<std::string>* report) {
  Importer importer(part);
  std::string text = importer.Write(importer.Notes(voice));
  for (auto& [m, lines] : importer.remarks) {
    std::map<std::string, int> counted;
    std::vector<std::string> order;
    for (const std::string& line : lines)
      if (counted[line]++ == 0) order.push_back(line);
    std::string where = "mesure " + std::to_string(m + 1);
    if (m < part.measures.size() && part.measures[m].number != std::to_string(m + 1))
      where += " (" + formats::Utf8ToCp1252(part.measures[m].number) + " de la partition)";
    for (const std::string& line : order)
      report->push_back(where + " : " + line + (counted[line] > 1 ? " (" + std::to_string(counted[line]) + " fois)" : ""));
  }
  return text;
}
