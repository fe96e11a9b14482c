#include "midi/voice_player.h"

#include "core/prompts.h"
#include "core/working_state.h"
#include "midi/midi_port.h"

namespace {

bool IsStop(int answer) { return answer == kNo || answer == kCancel; }
bool IsOpening(char mark) { return mark == '(' || mark == '[' || mark == '{'; }
bool IsClosing(char mark) { return mark == ')' || mark == ']' || mark == '}'; }

class Voice {
 public:
  Voice(int8_t base, const TNoteList& notes, const TLengthList& lengths, const TModeList& modes,
        const TTempoList& tempos)
      : base_(base), notes_(notes), lengths_(lengths), modes_(modes), tempos_(tempos),
        tempo_(WorkingState.Tempo) {}
  ~Voice() { WorkingState.Tempo = tempo_; }
  Voice(const Voice&) = delete;
  Voice& operator=(const Voice&) = delete;

  void OpenGroup(int k) {
    if (groupFirst_ == 0) groupFirst_ = k;
  }

  void Play(int k) {
    uint32_t length = lengths_[k];
    TempoOf(k);
    if (notes_[k] == 0) {
      WaitNoteLength(length);
      return;
    }
    // Tenu notes sound for their full length like normal ones.
    int32_t p = Pitch(k);
    SendNoteOn(p);
    if (groupFirst_ != 0) return;  // held until the group closes
    if (modes_[k] == kStaccato) {
      WaitNoteLength(length * 8 / 7);
      SendNoteOff(p);
      WaitNoteLength(length * 8);
    } else {
      WaitNoteLength(length);
      SendNoteOff(p);
    }
  }

  // The group sounds as a chord for the length of its first note.
  void CloseGroup(int k) {
    if (groupFirst_ == 0) return;
    uint32_t length = lengths_[groupFirst_];
    TempoOf(groupFirst_);
    bool staccato = modes_[groupFirst_] == kStaccato;
    WaitNoteLength(staccato ? length * 8 / 7 : length);
    for (int j = groupFirst_; j <= k; ++j) SendNoteOff(Pitch(j));
    if (staccato) WaitNoteLength(length * 8);
    groupFirst_ = 0;
  }

  // On a stop, the notes held by an open group go off at once.
  void Silence(int lastPlayed) {
    if (groupFirst_ == 0) return;
    for (int j = groupFirst_; j <= lastPlayed; ++j)
      if (notes_[j] != 0) SendNoteOff(Pitch(j));
    groupFirst_ = 0;
  }

 private:
  int32_t Pitch(int k) const { return NormalizePitch(static_cast<uint8_t>(notes_[k] + base_)); }

  // The waits of note k run at its own tempo.
  void TempoOf(int k) const { WorkingState.Tempo = tempos_[k] != 0 ? tempos_[k] : tempo_; }

  int8_t base_;
  const TNoteList& notes_;
  const TLengthList& lengths_;
  const TModeList& modes_;
  const TTempoList& tempos_;
  uint32_t tempo_;  // of the notes written before any tempo
  int groupFirst_ = 0;
};

// The announcements before note k; true when the user stopped there.
bool Announce(int k, const TNoteList& notes, const TLengthList& lengths, const TModeList& modes,
              const TMarkList& marks, int& answer) {
  uint8_t mode = modes[k];
  if (mode != 0 && (k == 1 || mode != modes[k - 1])) answer = AnnounceMode(mode);
  // Checked even without a mode announcement: a "fin" answered No stops here.
  if (IsStop(answer)) return true;
  if (!IsClosing(marks[k])) {
    answer = AnnounceMark(marks[k]);
    if (IsStop(answer)) return true;
  }
  if (notes[k] != 0 && (k == 1 || lengths[k] != lengths[k - 1])) {
    answer = AnnounceValue(lengths[k]);
    if (IsStop(answer)) return true;
  }
  // The entry is still played after a stop answer at its name.
  answer = AnnounceNote(notes[k], lengths[k]);
  return false;
}

}  // namespace

int PlayVoice(int8_t base, const char* announce, const TNoteList& notes, const TLengthList& lengths,
              const TModeList& modes, const TMarkList& marks, const TTempoList& tempos) {
  bool announcing = announce != nullptr && announce[0] != 0;
  int count = notes.Count;
  Voice voice(base, notes, lengths, modes, tempos);
  int answer = 0;
  for (int k = 1; k <= count; ++k) {
    if (StopIfRequested()) return kCancel;
    if (announcing && Announce(k, notes, lengths, modes, marks, answer)) {
      voice.Silence(k - 1);
      return answer;
    }
    if (IsOpening(marks[k])) voice.OpenGroup(k);
    voice.Play(k);
    if (IsClosing(marks[k])) voice.CloseGroup(k);
    if (IsStop(answer)) {
      voice.Silence(k);
      return answer;
    }
    if (IsClosing(marks[k]) && announcing) answer = AnnounceMark(marks[k]);
  }
  // A group left open at the end of the measure closes with its last note.
  voice.CloseGroup(count);
  return answer;
}
