#include "tablature/tablature_check.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/data_files.h"
#include "core/numbers.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "midi/play_string.h"
#include "midi/voice_player.h"
#include "tablature/tablature_elements.h"
#include "tablature/tablature_interpreter.h"

namespace {


struct Problem {
  int64_t measure;
  size_t at;  // in the text; after every position for a whole measure
  TCheckProblem shown;
};

struct MeasureLength {
  int64_t measure;
  double beats;
  int32_t numerator;
  int line, column;  // where the measure begins
};

// A problem at a place: what, then where, the key words first.
TCheckProblem AtPlace(const std::string& what, int64_t measure, int line, int column) {
  char where[96];
  std::snprintf(where, sizeof where, " — mesure %lld, ligne %d, colonne %d", static_cast<long long>(measure), line,
                column);
  return {what + where, line, column, true};
}

// A problem of a whole measure: its length.
TCheckProblem OfMeasure(const MeasureLength& m, const std::string& what, bool counts) {
  return {"mesure " + std::to_string(m.measure) + " : " + what, m.line, m.column, counts};
}

bool IsOpening(char mark) { return mark == '(' || mark == '[' || mark == '{'; }
bool IsClosing(char mark) { return mark == ')' || mark == ']' || mark == '}'; }

// Whole notes that entries `from` to `to` last, as the voice player waits
// them: a chord group for the length of its first entry, rests always.
double WholeNotes(const TNoteList& pitches, const TLengthList& lengths, const TMarkList& marks, int from,
                  int to) {
  double sum = 0;
  auto add = [&](int k) {
    if (lengths[k] != 0) sum += 1000.0 / lengths[k];
  };
  int groupFirst = 0;
  for (int k = from; k <= to; ++k) {
    if (IsOpening(marks[k]) && groupFirst == 0) groupFirst = k;
    if (pitches[k] == 0 || groupFirst == 0) add(k);
    if (IsClosing(marks[k]) && groupFirst != 0) {
      add(groupFirst);
      groupFirst = 0;
    }
  }
  if (groupFirst != 0) add(groupFirst);
  return sum;
}

std::string Beats(double beats) {
  char text[32];
  if (std::fabs(beats - std::round(beats)) < 0.01) {
    std::snprintf(text, sizeof text, "%d", static_cast<int>(std::round(beats)));
  } else {
    std::snprintf(text, sizeof text, "%.2f", beats);
    size_t end = std::strlen(text);
    if (text[end - 1] == '0') text[end - 1] = 0;
    if (char* point = std::strchr(text, '.')) *point = ',';
  }
  return text;
}

class Checker {
 public:
  explicit Checker(const char* work) : work_(work), length_(std::strlen(work)) {}

  void Run(const TNoteList& pitches, const TLengthList& lengths, const TMarkList& marks, int notes) {
    TabElementKind previous = TabElementKind::kOther;
    int measureFirst = 1;
    for (size_t i = 0; i < length_;) {
      TabElement e = ReadTabElement(work_, i, length_);
      if (e.kind != TabElementKind::kOther) FlushSkipped();
      switch (e.kind) {
        case TabElementKind::kOther: Other(e, previous); break;
        case TabElementKind::kIndication: Indication(e); break;
        case TabElementKind::kMode: Mode(e); break;
        case TabElementKind::kTempo:
          if (e.value < 31 || e.value > 239) At(e, "tempo « " + Piece(e) + " » ignoré (de t31 à t239)");
          break;
        case TabElementKind::kOctave:
          if (e.value > 8) At(e, "octave « " + Piece(e) + " » ignorée (de o0 à o8)");
          if (e.after == e.at + 1 || work_[e.at + 1] < '0' || work_[e.at + 1] > '9')
            At(e, "« " + Piece(e) + " » lu comme octave o0");
          break;
        case TabElementKind::kGroupStart:
          if (groupAt_ != SIZE_MAX) At(e, "groupe déjà ouvert");
          groupAt_ = e.at;
          break;
        case TabElementKind::kGroupEnd:
          if (groupAt_ == SIZE_MAX) At(e, "« " + Piece(e) + " » ferme un groupe non ouvert");
          groupAt_ = SIZE_MAX;
          break;
        case TabElementKind::kNote:
        case TabElementKind::kRest:
          ++note_;
          if (e.kind == TabElementKind::kNote && note_ <= notes && (pitches[note_] == 0 || pitches[note_] > 127))
            At(e, "note « " + Piece(e) + " » hors de portée");
          break;
        case TabElementKind::kEndOfMeasure:
          EndMeasure(pitches, lengths, marks, measureFirst);
          measureFirst = note_ + 1;
          break;
        default: break;
      }
      previous = e.kind;
      if (e.kind == TabElementKind::kEndOfMeasure && work_[i] == '\n') {
        ++line_;
        lineStart_ = i + 1;
      }
      if (e.kind == TabElementKind::kEndOfMeasure) {
        measureLine_ = line_;
        measureColumn_ = static_cast<int>(e.after - lineStart_ + 1);
      }
      i = e.after;
    }
    FlushSkipped();
    EndMeasure(pitches, lengths, marks, measureFirst);
    JudgeLengths();
  }

  std::vector<Problem> problems;

 private:
  void At(const TabElement& e, const std::string& text) { AtPosition(e.at, text); }
  // What is wrong first, then where: "« zz » ignoré — mesure 2, ligne 1,
  // colonne 19", so that a short line says the matter.
  void AtPosition(size_t at, const std::string& text) {
    problems.push_back({measure_, at, AtPlace(text, measure_, line_, static_cast<int>(at - lineStart_ + 1))});
  }

  std::string Piece(const TabElement& e) const { return Shown(e.at, e.after); }

  // Characters of the text as a line of the report shows them: a line end
  // that an element swallowed, and what follows it, are left out.
  std::string Shown(size_t from, size_t to) const {
    std::string shown;
    for (size_t i = from; i < to && shown.size() < 12 && static_cast<unsigned char>(work_[i]) >= ' '; ++i)
      shown += work_[i];
    return shown;
  }

  // Blanks air the text; a "0" right after a note is its natural.
  void Other(const TabElement& e, TabElementKind previous) {
    char c = work_[e.at];
    bool meant = c == ' ' || c == '\t' || (c == '0' && previous == TabElementKind::kNote);
    if (meant) {
      FlushSkipped();
      return;
    }
    if (skipped_.empty()) skippedAt_ = e.at;
    skipped_ += c;
  }

  void FlushSkipped() {
    if (skipped_.empty()) return;
    AtPosition(skippedAt_, "« " + skipped_ + " » ignoré");
    skipped_.clear();
  }

  void Indication(const TabElement& e) {
    static const char kKnown[] = "acdhimnoprtv";
    std::string argument = Shown(e.argumentAt, e.argumentEnd);
    if (e.after == e.argumentEnd) {
      At(e, "indication sans « : » final, elle prend tout le reste du texte");
      return;
    }
    if (e.letter == 0 || !std::strchr(kKnown, e.letter)) {
      At(e, std::string("indication « i") + (e.letter ? e.letter : ' ') + " » inconnue");
    } else if (e.letter == 'o') {
      std::string whole(work_ + e.argumentAt, work_ + e.argumentEnd);
      int8_t octave = static_cast<int8_t>(ReadNumber(whole.c_str()));
      if (octave < 0 || octave > 8) At(e, "octave « io" + argument + ": » remplacée par 3 (de 0 à 8)");
    } else if (e.letter == 'm') {
      char copy[kLongText];
      CopyText(copy, kLongText, std::string(work_ + e.argumentAt, work_ + e.argumentEnd).c_str());
      char word[kShortText];
      RunIndication("m", copy, word);
      numerator_ = WorkingState.TimeNumerator;
      denominator_ = WorkingState.TimeDenominator;
      if (numerator_ < 1 || numerator_ > 64 || denominator_ < 1 || denominator_ > 64) {
        At(e, "chiffrage « " + argument + " » incompris, 4/4 gardé");
        numerator_ = 4;
        denominator_ = 4;
      }
    }
  }

  void Mode(const TabElement& e) {
    static const char kKnown[] = "nlstacdemprv";
    if (e.letter != 0 && !std::strchr(kKnown, e.letter)) At(e, "marque « " + Piece(e) + " » inconnue");
  }

  void EndMeasure(const TNoteList& pitches, const TLengthList& lengths, const TMarkList& marks, int first) {
    if (groupAt_ != SIZE_MAX) {
      AtPosition(groupAt_, "groupe « " + std::string(1, work_[groupAt_]) + " » non fermé dans sa mesure");
      groupAt_ = SIZE_MAX;
    }
    if (note_ >= first)
      lengths_.push_back({measure_, WholeNotes(pitches, lengths, marks, first, note_) * denominator_, numerator_,
                          measureLine_, measureColumn_});
    ++measure_;
  }

  // A first measure that falls short is an anacrusis; a last one that
  // completes it is no fault either.
  void JudgeLengths() {
    if (lengths_.empty()) return;
    size_t from = 0;
    size_t to = lengths_.size();
    const MeasureLength& first = lengths_.front();
    if (first.beats < first.numerator - 0.02) {
      problems.push_back({first.measure, SIZE_MAX, OfMeasure(first, "anacrouse de " + Beats(first.beats) + " temps", false)});
      from = 1;
      const MeasureLength& final = lengths_.back();
      if (to > 1 && std::fabs(final.beats + first.beats - final.numerator) < 0.02) --to;
    }
    for (size_t i = from; i < to; ++i) {
      const MeasureLength& m = lengths_[i];
      if (std::fabs(m.beats - m.numerator) < 0.02) continue;
      problems.push_back(
          {m.measure, SIZE_MAX, OfMeasure(m, Beats(m.beats) + " temps au lieu de " + std::to_string(m.numerator), true)});
    }
  }

  const char* work_;
  size_t length_;
  int64_t measure_ = 1;
  int line_ = 1;
  size_t lineStart_ = 0;
  int measureLine_ = 1;
  int measureColumn_ = 1;
  int note_ = 0;
  size_t groupAt_ = SIZE_MAX;
  int32_t numerator_ = 4;
  int32_t denominator_ = 4;
  std::string skipped_;
  size_t skippedAt_ = 0;
  std::vector<MeasureLength> lengths_;
};

int CountedProblems(const std::vector<TCheckProblem>& problems) {
  int counted = 0;
  for (const TCheckProblem& p : problems) counted += p.counts ? 1 : 0;
  return counted;
}

}  // namespace

std::vector<TCheckProblem> CheckProblems(const char* text) {
  static TWorkingState saved;
  static TReadingLists lists;
  saved = WorkingState;
  // The reading sends nothing while it has no port.
  WorkingState.MidiOut = nullptr;
  ReadTablature(text, "", 1, INT32_MAX, lists);
  std::string work = text;
  for (char& c : work)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  Checker checker(work.c_str());
  checker.Run(lists.pitches, lists.lengths, lists.marks, lists.pitches.Count);
  WorkingState = saved;

  std::vector<Problem>& found = checker.problems;
  std::stable_sort(found.begin(), found.end(), [](const Problem& a, const Problem& b) {
    return a.measure != b.measure ? a.measure < b.measure : a.at < b.at;
  });
  std::vector<TCheckProblem> problems;
  for (const Problem& p : found) problems.push_back(p.shown);
  return problems;
}

std::string CheckSummary(const std::vector<TCheckProblem>& problems) {
  int counted = CountedProblems(problems);
  return counted == 0 ? "aucune erreur" : std::to_string(counted) + (counted == 1 ? " problème" : " problèmes");
}

int CheckTablature(const char* text, char* report, int size) {
  std::vector<TCheckProblem> problems = CheckProblems(text);
  std::string written = CheckSummary(problems);
  for (const TCheckProblem& p : problems) {
    if (written.size() + p.text.size() + 1 >= static_cast<size_t>(size) - 32) {
      written += "\net d'autres";
      break;
    }
    written += "\n" + p.text;
  }
  CopyText(report, size, written.c_str());
  return CountedProblems(problems);
}

void CheckCurrentTablature(const char*) {
  static char report[kLongText];
  CheckTablature(WorkingState.TabText.c_str(), report, kLongText);
  ShowInfo(report, kCheckCaption);
  PlayCue(kEditionCue);
}
