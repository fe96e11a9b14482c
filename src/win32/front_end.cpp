#include "win32/front_end.h"

#include <string>
#include <vector>

#include "app/application.h"
#include "drivers/audio_cues.h"
#include "drivers/companion_messages.h"
#include "drivers/launcher.h"
#include "drivers/system_services.h"
#include "formats/encoding.h"
#include "platform/platform.h"
#include "win32/file_dialogs.h"
#include "win32/keys_while_playing.h"
#include "win32/main_frame.h"
#include "win32/message_boxes.h"
#include "win32/window_commands.h"

namespace {

class TWindowPrograms : public platform::Programs {
 public:
  void Exec(const char* commandLine, int) override { drivers::StartProgram(commandLine); }
  void End(const char* commandLine) override { drivers::EndProgram(commandLine); }
};

TMessageBoxes boxes;
TFileDialogs fileDialogs;
TWindowPrograms programs;

// The command line in the program's own characters, for the registration.
std::vector<std::string> arguments;
std::vector<const char*> argumentPointers;

int RunWindow() { return RunMainFrame(static_cast<int>(argumentPointers.size()), argumentPointers.data()); }

}  // namespace

void InstallWin32FrontEnd(int argc, char** argv) {
  for (int i = 0; i < argc; ++i) arguments.push_back(formats::Utf8ToCp1252(argv[i]));
  for (const std::string& argument : arguments) argumentPointers.push_back(argument.c_str());
  drivers::InstallSystemServices();
  // A companion's boxes come back through a pipe that the window polls.
  drivers::WatchCompanionMessages();
  platform::Services services = platform::Get();
  services.dialogs = &boxes;
  services.sound = &drivers::AudioCues();
  services.programs = &programs;
  services.files = &fileDialogs;
  services.stopPoll = EscapePressedWhilePlaying;
  platform::Install(services);
  RegisterWindowCommands();
  SetApplicationRunner(RunWindow);
}
