#include "core/command_table.h"

namespace {

struct Entry {
  int id;
  TCommandFn operation;
  TEnabledFn enabled;
};

constexpr int kMaxCommands = 128;
Entry table[kMaxCommands];
int used = 0;
unsigned started = 0;

const Entry* Find(int id) {
  for (int i = 0; i < used; ++i)
    if (table[i].id == id) return &table[i];
  return nullptr;
}

}  // namespace

void RegisterCommand(TCommandId id, TCommandFn operation, TEnabledFn enabled) {
  for (int i = 0; i < used; ++i) {
    if (table[i].id == id) {
      table[i] = {id, operation, enabled};
      return;
    }
  }
  if (used < kMaxCommands) table[used++] = {id, operation, enabled};
}

TCommandFn FindCommand(int id) {
  const Entry* entry = Find(id);
  return entry ? entry->operation : nullptr;
}

bool HasEnableCheck(int id) {
  const Entry* entry = Find(id);
  return entry && entry->enabled;
}

bool CommandEnabled(int id) {
  const Entry* entry = Find(id);
  return entry && (!entry->enabled || entry->enabled());
}

bool RunCommand(int id, const char* argument) {
  TCommandFn operation = FindCommand(id);
  if (!operation) return false;
  ++started;
  operation(argument);
  return true;
}

unsigned CommandsStarted() { return started; }

int RegisteredCommands(int* ids, int size) {
  int n = 0;
  for (int i = 0; i < used && n < size; ++i) ids[n++] = table[i].id;
  return n;
}

void ClearCommands() { used = 0; }
