#include "app/first_run.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "core/data_files.h"
#include "core/prompts.h"
#include "formats/encoding.h"
#include "formats/file_bytes.h"
#include "formats/host_path.h"
#include "platform/midi_out.h"
#include "platform/paths.h"

namespace {

namespace fs = std::filesystem;

const char kCaption[] = "premier lancement";
// Device numbers as devprobe lists them.
const char kSynthesizerDevice[] = "0\r\n";
const char kMidiFileDevice[] = "2\r\n";

void Tell(const std::string& utf8) { ShowInfo(formats::Utf8ToCp1252(utf8).c_str(), kCaption); }

std::string Cp(const char* cp1252) { return formats::Cp1252ToUtf8(cp1252); }

// The data directory is laid beside under another name and renamed whole,
// so that an interrupted copy never leaves a half directory taken for the
// user's own at the next start.
bool Lay(const std::string& templateDir, const std::string& root, bool sound, std::string* failure) {
  std::error_code error;
  const fs::path data = formats::HostPath(platform::DataDirectory());
  const fs::path top = formats::HostPath(root);
  const fs::path staging = top / ".orfeon-en-cours";
  fs::create_directories(top, error);
  fs::remove_all(staging, error);
  fs::copy(formats::HostPath(templateDir) / "orfeon", staging, fs::copy_options::recursive, error);
  if (!error && !formats::WriteFileBytes(formats::HostPathText(staging / "midiinit.dev"),
                                         sound ? kSynthesizerDevice : kMidiFileDevice))
    error = std::make_error_code(std::errc::io_error);
  // The other directories of the template (the annotation cue) beside it;
  // nothing there is replaced.
  for (fs::directory_iterator it(formats::HostPath(templateDir), error), end; !error && it != end; it.increment(error))
    if (it->path().filename() != "orfeon")
      fs::copy(it->path(), top / it->path().filename(),
               fs::copy_options::recursive | fs::copy_options::skip_existing, error);
  if (!error) fs::rename(staging, data, error);
  if (!error) return true;
  *failure = error.message();
  fs::remove_all(staging, error);
  return false;
}

}  // namespace

void LayDataDirectoryOnFirstRun() {
  std::error_code error;
  const std::string data = platform::DataDirectory();
  if (fs::exists(formats::HostPath(data), error) || error) return;
  const std::string templateDir = platform::TemplateDirectory();
  if (templateDir.empty()) return;
  bool sound = platform::MidiOutGetNoteCapacity(0) > 0;
  std::string failure;
  if (!Lay(templateDir, platform::DriveRoot(), sound, &failure)) {
    Tell(Cp("Impossible de créer le répertoire de données ") + data + " : " + failure);
    return;
  }
  std::string text = Cp("Répertoire de données créé : ") + data + "\n";
  if (sound)
    text += Cp("Les tablatures sont jouées sur le synthétiseur intégré (périphérique 0).");
  else
    text += Cp("Pas de sortie son : les tablatures sont enregistrées dans le fichier MIDI ") +
            platform::MapPath(kMidiOutputFile) + Cp(" (périphérique 2).");
  text += Cp("\ndevprobe liste les périphériques ; le numéro choisi va dans ") + platform::MapPath(kDeviceFile) + ".";
  Tell(text);
}
