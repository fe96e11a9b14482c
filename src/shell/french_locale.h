// The window talks French, and so should the toolkit's own texts (file and
// search dialogs): the environment's French locale, or fr_FR when the system
// has it. Without one those texts stay in the toolkit's language.
#pragma once

void UseFrenchLocale();
