#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <string>

#include "core/numbers.h"
#include "core/working_state.h"
#include "formats/encoding.h"
#include "midi/voice_player.h"
#include "tablature/score_tablature.h"
#include "tablature/tablature_elements.h"
#include "tablature/tablature_interpreter.h"

namespace {

using formats::TScoreMark;
using formats::TScoreNote;
using formats::TScorePart;
constexpr int64_t T = formats::kTicksPerQuarter;

// The exact length of a list entry: a note value x 1000, times 2/3 or
// 4/7 (truncated) with its dots.
int64_t Ticks(uint32_t length) {
  if (length == 0) return 4 * T;
  if (length % 1000 == 0) return 4 * T * 1000 / length;
  uint32_t v = (length * 3 + 1000) / 2000;
  if (v > 0 && v * 1000 * 2 / 3 == length) return 6 * T / v;
  v = (length * 7 + 2000) / 4000;
  if (v > 0 && v * 1000 * 4 / 7 == length) return 7 * T / v;
  return 4 * T * 1000 / length;
}

bool Opening(char mark) { return mark == '(' || mark == '[' || mark == '{'; }
bool Closing(char mark) { return mark == ')' || mark == ']' || mark == '}'; }

// An indication met before note `before` (1-based over the text).
struct TIndication {
  int before;
  char letter;
  std::string argument;  // UTF-8
};

// One sound of the timeline: the notes struck together and how long.
struct TEvent {
  int64_t start;
  std::vector<int64_t> pieces;  // its length, in tied pieces
  std::vector<int> pitches;     // empty: a rest
  bool staccato;
  int firstNote;                // index of its first entry
};

std::string Utf8(const std::string& cp1252) { return formats::Cp1252ToUtf8(cp1252.c_str()); }

int Fifths(const std::string& pairs) {
  int sharps = 0, flats = 0;
  for (char c : pairs) {
    if (c == '+') ++sharps;
    if (c == '-') ++flats;
  }
  return sharps > 0 ? std::min(sharps, 7) : -std::min(flats, 7);
}

}  // namespace

TScorePart TablatureToScore(const char* text, const std::string& name) {
  // The reading as PlayCurrentMeasure makes it, working state put back.
  static TWorkingState saved;
  saved = WorkingState;
  static TReadingLists lists;
  ReadTablature(text, "", 1, INT32_MAX, lists);
  int count = lists.pitches.Count;
  // Notes written before any tempo play at the one the text leaves.
  uint32_t leftTempo = WorkingState.Tempo;
  int program = WorkingState.Instrument;
  WorkingState = saved;

  // The measures and indications, from the same elements the reader takes.
  std::string work = text;
  for (char& c : work)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  std::vector<int> measureOf(static_cast<size_t>(count) + 2, 0);
  std::vector<TIndication> indications;
  int notes = 0, measure = 0;
  bool programGiven = false;
  for (size_t i = 0; i < work.size();) {
    TabElement e = ReadTabElement(work.c_str(), i, work.size());
    if (e.kind == TabElementKind::kIndication) {
      std::string argument = Utf8(work.substr(e.argumentAt, e.argumentEnd - e.argumentAt));
      indications.push_back({notes + 1, e.letter, argument});
      if (e.letter == 'i') programGiven = true;
    } else if (e.kind == TabElementKind::kEndOfMeasure) {
      ++measure;
    } else if ((e.kind == TabElementKind::kNote || e.kind == TabElementKind::kRest) && notes < count) {
      measureOf[static_cast<size_t>(++notes)] = measure;
    }
    i = e.after;
  }

  // The timeline as the voice player sounds it: a group sounds from its
  // first note for that note's length plus the rests inside it.
  std::vector<TEvent> events;
  int64_t time = 0;
  for (int k = 1; k <= count;) {
    bool staccato = lists.modes[k] == kStaccato;
    if (Opening(lists.marks[k]) && lists.pitches[k] != 0) {
      TEvent chord{time, {Ticks(lists.lengths[k])}, {}, staccato, k};
      int j = k;
      for (;; ++j) {
        if (lists.pitches[j] != 0) {
          chord.pitches.push_back(lists.pitches[j]);
        } else {
          chord.pieces.push_back(Ticks(lists.lengths[j]));
        }
        if (Closing(lists.marks[j]) || j == count) break;
      }
      for (int64_t piece : chord.pieces) time += piece;
      events.push_back(chord);
      k = j + 1;
      continue;
    }
    TEvent single{time, {Ticks(lists.lengths[k])}, {}, staccato, k};
    if (lists.pitches[k] != 0) single.pitches.push_back(lists.pitches[k]);
    time += single.pieces.front();
    events.push_back(single);
    ++k;
  }

  TScorePart part;
  part.name = name;
  part.program = programGiven ? std::clamp(program, 0, 127) : -1;
  std::map<int, std::pair<std::string, std::string>> onNote;  // fingering, lyric
  std::vector<std::pair<int, TScoreMark>> marks;
  for (const TIndication& ind : indications) {
    TScoreMark k;
    switch (ind.letter) {
      case 'a': marks.push_back({ind.before, {0, 'a', Fifths(ind.argument), 0, ""}}); break;
      case 'm': {
        int beats = ReadNumber(ind.argument.c_str());
        size_t slash = ind.argument.find('/');
        int type = slash == std::string::npos ? 0 : ReadNumber(ind.argument.c_str() + slash + 1);
        marks.push_back({ind.before, {0, 'm', beats ? beats : 4, type ? type : 4, ""}});
        break;
      }
      case 'n': {
        std::string sign = ind.argument;
        sign.erase(0, sign.find_first_not_of(' '));
        if (sign == ">") sign = "cresc.";
        if (sign == "<") sign = "dim.";
        marks.push_back({ind.before, {0, 'n', 0, 0, sign}});
        break;
      }
      case 'c':
      case 'h': marks.push_back({ind.before, {0, ind.letter, 0, 0, ind.argument}}); break;
      case 'r': marks.push_back({ind.before, {0, 'c', 0, 0, "reprise " + ind.argument}}); break;
      case 'd': onNote[ind.before].first = ind.argument; break;
      case 'p': onNote[ind.before].second = ind.argument; break;
    }
  }

  // Measures hold the events that start in them; empty ones are left out.
  int lastMeasure = -1;
  for (const TEvent& e : events) {
    int m = measureOf[static_cast<size_t>(e.firstNote)];
    if (m != lastMeasure) {
      part.measures.push_back({std::to_string(part.measures.size() + 1), e.start, 0, {}});
      lastMeasure = m;
    }
    int64_t at = e.start;
    for (size_t p = 0; p < e.pieces.size(); ++p) {
      if (e.pitches.empty()) {
        part.notes.push_back({at, e.pieces[p], -1});
      }
      for (int pitch : e.pitches) {
        TScoreNote n;
        n.start = at;
        n.duration = e.pieces[p];
        n.pitch = pitch;
        n.tieStop = p > 0;
        n.tieStart = p + 1 < e.pieces.size();
        n.staccato = e.staccato && p == 0;
        part.notes.push_back(n);
      }
      at += e.pieces[p];
    }
    part.measures.back().length = at - part.measures.back().start;
  }
  // Fingerings and lyrics go to the first note struck after them.
  for (auto& [before, texts] : onNote) {
    for (const TEvent& e : events) {
      if (e.firstNote < before || e.pitches.empty()) continue;
      for (TScoreNote& n : part.notes)
        if (n.start == e.start && n.pitch >= 0) {
          if (!texts.first.empty()) n.fingering = texts.first;
          if (!texts.second.empty()) n.lyric = texts.second;
          break;
        }
      break;
    }
  }
  uint32_t tempo = 0;
  for (const TEvent& e : events) {
    uint32_t played = lists.tempos[e.firstNote] != 0 ? lists.tempos[e.firstNote] : leftTempo;
    if (played != tempo) part.marks.push_back({e.start, 't', static_cast<int>(played), 0, ""});
    tempo = played;
  }
  if (tempo == 0) part.marks.push_back({0, 't', static_cast<int>(leftTempo), 0, ""});
  for (auto& [before, k] : marks) {
    k.at = time;
    for (const TEvent& e : events)
      if (e.firstNote >= before) {
        k.at = e.start;
        break;
      }
    part.marks.push_back(k);
  }
  std::stable_sort(part.marks.begin(), part.marks.end(), [](const TScoreMark& a, const TScoreMark& b) { return a.at < b.at; });
  return part;
}
