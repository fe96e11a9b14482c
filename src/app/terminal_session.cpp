#include "app/terminal_session.h"

#include <cstdlib>
#include <string>

#include "app/application.h"
#include "app/command_words.h"
#include "core/command_table.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "platform/stop_request.h"

namespace {

// "~/piece.tab" as a shell would read it.
std::string HomePath(const std::string& path) {
  const char* home = std::getenv("HOME");
  if (home && *home && path.compare(0, 2, "~/") == 0) return home + path.substr(1);
  return path;
}

}  // namespace

int RunTerminalSession() {
  platform::PrintForPerson("PavSdi — tapez aide pour la liste des commandes");
  StartTerminalApplication();
  char line[2048];
  while (platform::Get().input->ReadLine(line, sizeof line)) {
    TTypedCommand typed = ReadTypedCommand(line);
    switch (typed.kind) {
      case TTypedCommand::kNothing:
        break;
      case TTypedCommand::kRefused:
        platform::PrintForPerson(typed.message.c_str());
        break;
      case TTypedCommand::kHelp:
        for (const std::string& text : typed.menu >= 0 ? MenuHelpLines(typed.menu) : HelpLines(typed.id))
          platform::PrintForPerson(text.c_str());
        break;
      case TTypedCommand::kRun:
        if (typed.id == kExitCommand) return 0;
        platform::ClearStopRequest();
        if (!RunCommand(typed.id, HomePath(typed.argument).c_str()))
          platform::PrintForPerson(("commande inconnue : " + std::to_string(typed.id)).c_str());
        break;
    }
  }
  return 0;
}
