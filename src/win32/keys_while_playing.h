// The keyboard while music plays. The music plays on the window's one
// thread, so the keys typed meanwhile wait in its queue: the stop poll takes
// them out, an Escape among them stops the music, however short its press,
// and none of them answers the next box unheard.
#pragma once

// The stop poll: true when Escape was pressed since the last look.
bool EscapePressedWhilePlaying();

// A command begins or ends, a box opens: when music played since the last
// time, the keys typed after the poll's last look are dropped too.
void BetweenPlayings();
