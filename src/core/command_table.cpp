#include "core/command_table.h"

namespace {

struct Entry {
  int id;
  TCommandFn operation;
};

constexpr int kMaxCommands = 128;
Entry table[kMaxCommands];
int used = 0;

}  // namespace

void RegisterCommand(int id, TCommandFn operation) {
  for (int i = 0; i < used; ++i) {
    if (table[i].id == id) {
      table[i].operation = operation;
      return;
    }
  }
  if (used < kMaxCommands) table[used++] = {id, operation};
}

TCommandFn FindCommand(int id) {
  for (int i = 0; i < used; ++i)
    if (table[i].id == id) return table[i].operation;
  return nullptr;
}

bool RunCommand(int id, const char* argument) {
  TCommandFn operation = FindCommand(id);
  if (!operation) return false;
  operation(argument);
  return true;
}

void ClearCommands() { used = 0; }
