#include "app/command_loop.h"

#include <cstdio>

#include "core/command_table.h"
#include "platform/messages.h"
#include "platform/platform.h"

bool ParseCommandLine(const char* line, int* id, const char** argument) {
  const char* p = line;
  while (*p == ' ' || *p == '\t') ++p;
  if (*p < '0' || *p > '9') return false;
  long value = 0;
  while (*p >= '0' && *p <= '9') {
    if (value < 1000000) value = value * 10 + (*p - '0');
    ++p;
  }
  if (*p != 0 && *p != ' ' && *p != '\t') return false;
  while (*p == ' ' || *p == '\t') ++p;
  *id = static_cast<int>(value);
  *argument = p;
  return true;
}

int RunCommandLoop() {
  char line[2048];
  platform::PrintForPerson("Commandes : le numéro d'une commande du menu par ligne (24310 pour quitter).");
  while (platform::Get().input->ReadLine(line, sizeof line)) {
    int id;
    const char* argument;
    if (!ParseCommandLine(line, &id, &argument)) {
      if (line[0] != 0) {
        char message[2200];
        std::snprintf(message, sizeof message, "Ligne ignorée, ce n'est pas un numéro de commande : %s", line);
        platform::PrintForPerson(message);
      }
      continue;
    }
    if (id == kExitCommand) break;
    if (!RunCommand(id, argument)) {
      char message[64];
      std::snprintf(message, sizeof message, "Commande inconnue : %d", id);
      platform::PrintForPerson(message);
    }
  }
  return 0;
}
