// Checks a tablature without playing it: what the reader skips or ignores,
// measures whose length differs from the time signature, groups left open,
// notes out of reach.
#pragma once

// Writes the report into `report` (`size` characters with the NUL), one
// line per problem, measure by measure, or "aucune erreur"; an anacrusis is
// named but is no problem. Returns the number of problems. The working
// state is left as it was and nothing is sent to the device.
int CheckTablature(const char* text, char* report, int size);

// The command Vérifier: checks the current tablature and shows the report.
void CheckCurrentTablature(const char* argument);
