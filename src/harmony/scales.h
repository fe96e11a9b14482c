// The scale drills: choosing a scale on the current key, and playing the
// mode of the current degree up or down.
#pragma once

// The Gamme command: asks for a scale kind, makes its row for `Key` the
// current scale and plays it. Returns 2 when the user cancelled, 6 once the
// scale has been played.
int ChooseScale();

// The Jouer Gamme command.
void PlayScaleDrill();
