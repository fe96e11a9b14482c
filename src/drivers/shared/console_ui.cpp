#include "drivers/console_ui.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <unistd.h>

#include "drivers/audio_cues.h"
#include "drivers/launcher.h"
#include "formats/encoding.h"
#include "platform/interrupt.h"
#include "platform/messages.h"

namespace drivers {
namespace {

void PrintLine(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// Standard input read in blocks of our own rather than through stdio, so
// that every wait for it also watches for a signal.
class InputBytes {
 public:
  int Next() {
    while (at_ == end_) {
      if (platform::WaitReadable(STDIN_FILENO) != 1) return EOF;
      ssize_t n = read(STDIN_FILENO, block_, sizeof block_);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return EOF;
      at_ = 0;
      end_ = static_cast<size_t>(n);
    }
    return static_cast<unsigned char>(block_[at_++]);
  }

 private:
  char block_[4096];
  size_t at_ = 0;
  size_t end_ = 0;
};

InputBytes standardInput;

// A line is refused past what the caller's buffer holds: its bytes are
// then skipped up to the line end, never kept.
class ConsoleInput : public platform::LineInput {
 public:
  bool ReadLine(char* buffer, int size) override {
    if (size <= 0) return false;
    buffer[0] = 0;
    // A character is at most 4 bytes of UTF-8.
    size_t longest = static_cast<size_t>(size - 1) * 4;
    std::string line;
    bool tooLong = false;
    for (;;) {
      int c = standardInput.Next();
      if (c == EOF) {
        if (line.empty() && !tooLong) return false;
        break;
      }
      if (c == '\n') break;
      if (line.size() < longest) {
        line += static_cast<char>(c);
      } else {
        tooLong = true;
      }
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string text = formats::Utf8ToCp1252(line);
    if (tooLong || text.size() > static_cast<size_t>(size - 1)) {
      char message[96];
      std::snprintf(message, sizeof message, "Ligne refusée : elle dépasse %d caractères.", size - 1);
      platform::PrintForPerson(message);
      return true;
    }
    std::snprintf(buffer, static_cast<size_t>(size), "%s", text.c_str());
    return true;
  }
};

class ConsoleDialogs : public platform::Dialogs {
 public:
  explicit ConsoleDialogs(platform::LineInput& input) : input_(input) {}
  int MessageBox(const char* text, const char* caption, unsigned type) override {
    bool question = type == 3;
    PrintLine(std::string(question ? "ASK\t" : "INFO\t") + EscapeField(caption) + "\t" +
              EscapeField(text));
    if (!question) return 1;
    char line[256];
    if (!input_.ReadLine(line, sizeof line)) return 2;
    return AnswerFromLine(line);
  }

 private:
  platform::LineInput& input_;
};

class ConsoleCues : public platform::Sound {
 public:
  void PlayCue(const char* path) override {
    PrintCueLine(path);
    AudioCues().PlayCue(path);
  }
};

class ConsolePrograms : public platform::Programs {
 public:
  void Exec(const char* commandLine, int showMode) override {
    PrintLine("RUN\t" + EscapeField(commandLine) + "\t" + std::to_string(showMode));
    StartProgram(commandLine);
  }
  // A script's box is answered at once, not waited on: the companion plays
  // on, and ends with the program.
  void End(const char*) override {}
};

ConsoleInput consoleInput;
ConsoleDialogs consoleDialogs(consoleInput);
ConsoleCues consoleCues;
ConsolePrograms consolePrograms;

}  // namespace

std::string EscapeField(const char* cp1252) {
  std::string escaped;
  for (const char* p = cp1252; *p; ++p) {
    switch (*p) {
      case '\\': escaped += "\\\\"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\t': escaped += "\\t"; break;
      default: escaped += *p;
    }
  }
  return formats::Cp1252ToUtf8(escaped.c_str());
}

int AnswerFromLine(const char* line) {
  while (*line == ' ' || *line == '\t') ++line;
  size_t n = std::strlen(line);
  while (n > 0 && (line[n - 1] == ' ' || line[n - 1] == '\t')) --n;
  std::string word(line, n);
  for (const char* yes : {"o", "oui", "y", "yes"})
    if (strcasecmp(word.c_str(), yes) == 0) return 6;
  for (const char* no : {"n", "non", "no"})
    if (strcasecmp(word.c_str(), no) == 0) return 7;
  return 2;
}

bool ConsoleWanted() {
  const char* ui = std::getenv("PAVSDI_UI");
  if (ui && (std::strcmp(ui, "console") == 0 || std::strcmp(ui, "terminal") == 0)) return true;
  return !DisplayThere();
}

bool DisplayThere() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

void PrintCueLine(const char* path) { PrintLine("CUE\t" + EscapeField(path)); }

void InstallConsole(platform::Sound* cueSound, platform::Programs* programs) {
  platform::Services s = platform::Get();
  s.dialogs = &consoleDialogs;
  s.sound = cueSound ? cueSound : &consoleCues;
  s.programs = programs ? programs : &consolePrograms;
  s.input = &consoleInput;
  platform::Install(s);
  // A companion's boxes are lines like ours: they go out with them.
  if (!programs) SendCompanionOutputTo(1);
}

}  // namespace drivers
