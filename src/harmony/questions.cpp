#include "harmony/questions.h"

#include <cstdio>

#include "core/prompts.h"

const char kChoiceLegend[] = "oui=saisie non=suivant annuler=quitter";
const char kChordChoiceLegend[] = "oui=saisie  non=suivant annuler=quitter";
const char kStepperLegend[] = "oui=augmenter non=diminuer escape=saisie";

TChoiceAnswer OfferChoices(const TChoice* choices, int count, const char* legend, bool cycle) {
  for (int i = 0;;) {
    const char* text = choices[i].text ? choices[i].text : legend;
    int answer = AskYesNoCancel(text, choices[i].caption);
    if (answer != kYes && answer != kNo) return {kCancel, i};
    if (answer == kYes || (i == count - 1 && !cycle)) return {answer, i};
    i = (i + 1) % count;
  }
}

void RunStepper(const TStepper& stepper) {
  for (;;) {
    char caption[80];
    std::snprintf(caption, sizeof caption, stepper.captionFormat, static_cast<int>(stepper.value()));
    int answer = AskYesNoCancel(kStepperLegend, caption);
    if (answer == kYes) {
      stepper.step(1);
    } else if (answer == kNo) {
      stepper.step(-1);
    } else {
      return;
    }
  }
}
