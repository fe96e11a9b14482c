#include "core/command_table.h"

#include "core/command_rows.h"

namespace {

struct Action {
  TCommandFn operation;
  TEnabledFn enabled;
};

constexpr int kCommandCount = 0
#define PAVSDI_COMMAND(...) +1
#include "core/command_rows.def"
#undef PAVSDI_COMMAND
    ;

// One for each row, in the rows' order.
Action actions[kCommandCount];

unsigned started = 0;

const Action* Find(int id) {
  const TCommandRow* row = FindCommandRow(id);
  if (!row) return nullptr;
  const Action& action = actions[row - CommandRows().data()];
  return action.operation ? &action : nullptr;
}

}  // namespace

void RegisterCommand(TCommandId id, TCommandFn operation, TEnabledFn enabled) {
  const TCommandRow* row = FindCommandRow(id);
  if (row) actions[row - CommandRows().data()] = {operation, enabled};
}

TCommandFn FindCommand(int id) {
  const Action* action = Find(id);
  return action ? action->operation : nullptr;
}

bool HasEnableCheck(int id) {
  const Action* action = Find(id);
  return action && action->enabled;
}

bool CommandEnabled(int id) {
  const Action* action = Find(id);
  return action && (!action->enabled || action->enabled());
}

bool RunCommand(int id, const char* argument) {
  TCommandFn operation = FindCommand(id);
  if (!operation) return false;
  ++started;
  operation(argument);
  return true;
}

unsigned CommandsStarted() { return started; }

void ClearCommands() {
  for (Action& action : actions) action = {};
}
