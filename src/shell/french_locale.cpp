#include "shell/french_locale.h"

#include <clocale>

#include <wx/intl.h>
#include <wx/log.h>

void UseFrenchLocale() {
  static wxLocale locale;
  int language = wxLocale::GetSystemLanguage();
  const wxLanguageInfo* info = wxLocale::GetLanguageInfo(language);
  if (!info || !info->CanonicalName.StartsWith("fr")) language = wxLANGUAGE_FRENCH;
  if (!wxLocale::IsAvailable(language)) return;
  // A missing catalogue is no reason for a box.
  wxLogNull quiet;
  locale.Init(language);
  // Numbers are written and read with a point whatever the language.
  std::setlocale(LC_NUMERIC, "C");
}
