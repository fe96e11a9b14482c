// The two question patterns of the harmony commands: a list of choices
// offered one after the other, and a counter stepped up and down.
#pragma once
#include <cstdint>

#include "core/prompts.h"

// Legends of the questions.
extern const char kChoiceLegend[];        // "oui=saisie non=suivant annuler=quitter"
extern const char kChordChoiceLegend[];   // the same with two blanks after "saisie"
extern const char kStepperLegend[];       // "oui=augmenter non=diminuer escape=saisie"

struct TChoice {
  const char* caption;
  const char* text;  // null: the list's legend
};

struct TChoiceAnswer {
  int answer;  // kYes: the choice at `index` was taken; kNo at the last; kCancel
  int index;   // the choice the answer was given to
  bool Taken() const { return answer == kYes; }
  bool AtLast(int count) const { return index == count - 1; }
};

// Offers the choices in order, each caption with its text; Yes takes one,
// No offers the next one. With `cycle` No at the last choice starts again
// at the first. An answer other than Yes or No counts as Cancel.
TChoiceAnswer OfferChoices(const TChoice* choices, int count, const char* legend, bool cycle = false);

struct TStepper {
  const char* captionFormat;  // one %d: the current value
  int32_t (*value)();
  // Adds +1 (Yes) or -1 (No), applies the bound rule and the per-step action.
  void (*step)(int delta);
};

// Asks again and again until an answer other than Yes or No: the value as
// it stands is then kept.
void RunStepper(const TStepper& stepper);
