#include "app/score_commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/document_window.h"
#include "core/command_table.h"
#include "core/data_files.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "formats/document_text.h"
#include "formats/encoding.h"
#include "formats/file_bytes.h"
#include "formats/score_files.h"
#include "harmony/questions.h"
#include "midi/defaults.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "tablature/score_tablature.h"

namespace {

const char kImportCaption[] = "importer une partition";
const char kExportCaption[] = "exporter en MusicXML";
const char kAllVoices[] = "toutes les voix, en accords";

// The score file at `hostPath`, read and understood; false with the reason.
bool LoadScore(const std::string& hostPath, formats::TScore* score, std::string* error) {
  std::string bytes;
  if (!formats::ReadFileBytes(hostPath, &bytes, formats::kScoreFileLimit)) {
    *error = errno == EFBIG ? "le fichier dépasse " + std::to_string(formats::kScoreFileLimit >> 20) + " Mo"
                            : "impossible de lire le fichier";
    return false;
  }
  return formats::ReadScoreBytes(bytes, score, error);
}

// The tablature's name for a score: its file name without the folders.
std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// ---- The command line ----

const char* OptionValue(int argc, char** argv, const char* option) {
  for (int i = 3; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], option) == 0) return argv[i + 1];
  return nullptr;
}

// `message` in Windows-1252, said in UTF-8.
bool Refuse(const std::string& message) {
  std::fputs(formats::Cp1252ToUtf8((message + "\n").c_str()).c_str(), stderr);
  return false;
}

// Writes the result (UTF-8) to `out`, or to standard output without it.
bool Deliver(const std::string& bytes, const char* outUtf8) {
  if (!outUtf8) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
    return true;
  }
  std::string out = formats::Utf8ToCp1252(outUtf8);
  if (!formats::WriteFileBytes(platform::MapPath(out.c_str()), bytes))
    return Refuse("impossible d'écrire " + out + " : " + std::strerror(errno));
  return true;
}

bool ImportFromCommandLine(int argc, char** argv) {
  std::string path = formats::Utf8ToCp1252(argv[2]);
  formats::TScore score;
  std::string error;
  if (!LoadScore(platform::MapPath(path.c_str()), &score, &error))
    return Refuse("importer " + path + " : " + error);
  size_t partIndex = 0;
  if (const char* chosen = OptionValue(argc, argv, "--partie")) {
    long n = std::strtol(chosen, nullptr, 10);
    if (n < 1 || static_cast<size_t>(n) > score.parts.size())
      return Refuse("--partie " + std::string(chosen) + " : la partition a " + std::to_string(score.parts.size()) +
                    " partie(s)");
    partIndex = static_cast<size_t>(n - 1);
  } else if (score.parts.size() > 1) {
    std::string list = "la partition a " + std::to_string(score.parts.size()) +
                       " parties : choisissez-en une avec --partie N\n";
    for (size_t i = 0; i < score.parts.size(); ++i) list += "  " + std::to_string(i + 1) + " " + formats::Utf8ToCp1252(score.parts[i].name) + "\n";
    list.pop_back();
    return Refuse(list);
  }
  const formats::TScorePart& part = score.parts[partIndex];
  std::string voice;
  if (const char* chosen = OptionValue(argc, argv, "--voix"); chosen && std::strcmp(chosen, "toutes") != 0) {
    std::vector<std::string> voices = PartVoices(part);
    bool known = false;
    for (const std::string& v : voices) known = known || v == chosen;
    if (!known) {
      std::string list;
      for (const std::string& v : voices) list += " " + v;
      return Refuse("--voix " + formats::Utf8ToCp1252(chosen) + " : les voix de cette partie sont" + list + " (ou toutes)");
    }
    voice = chosen;
  }
  std::vector<std::string> report;
  std::string text = ScoreToTablature(part, voice, &report);
  std::string utf8 = formats::Cp1252ToUtf8(text.c_str(), text.size());
  if (utf8.size() > formats::kReadLimit)
    return Refuse("la tablature obtenue dépasse " + std::to_string(formats::kReadLimit >> 20) +
                  " Mo, la taille que l'éditeur ouvre : rien n'est écrit");
  if (!Deliver(utf8, OptionValue(argc, argv, "-o"))) return false;
  std::string said = formats::Cp1252ToUtf8(Joined(report).c_str());
  std::fputs(said.c_str(), stderr);
  return true;
}

bool ExportFromCommandLine(int argc, char** argv) {
  std::string path = formats::Utf8ToCp1252(argv[2]);
  std::string bytes;
  if (!formats::ReadFileBytes(platform::MapPath(path.c_str()), &bytes))
    return Refuse("exporter " + path + " : " +
                  (errno == EFBIG ? "le fichier dépasse 1 Mo" : "impossible de lire le fichier"));
  formats::TFileFormat format;
  std::string text = formats::Utf8ToCp1252(formats::DecodeFileText(bytes, &format));
  // The state in which a tablature named on the command line is played.
  ApplyDefaults();
  formats::TScorePart part = TablatureToScore(text.c_str(), formats::Cp1252ToUtf8(BaseName(path).c_str()));
  return Deliver(formats::WriteMusicXml(part), OptionValue(argc, argv, "-o"));
}

// ---- The menu commands ----

// The part and voice to import, asked one after the other; false when the
// user cancelled.
bool ChoosePart(const formats::TScore& score, size_t* partIndex, std::string* voice) {
  *partIndex = 0;
  if (score.parts.size() > 1) {
    std::vector<std::string> names;
    for (const formats::TScorePart& p : score.parts) names.push_back(formats::Utf8ToCp1252(p.name));
    std::vector<TChoice> choices;
    for (const std::string& n : names) choices.push_back({n.c_str(), nullptr});
    TChoiceAnswer answer = OfferChoices(choices.data(), static_cast<int>(choices.size()), kChoiceLegend);
    if (!answer.Taken()) return false;
    *partIndex = static_cast<size_t>(answer.index);
  }
  std::vector<std::string> voices = PartVoices(score.parts[*partIndex]);
  voice->clear();
  if (voices.size() <= 1) return true;
  std::vector<std::string> captions{kAllVoices};
  for (const std::string& v : voices) captions.push_back("voix " + v);
  std::vector<TChoice> choices;
  for (const std::string& c : captions) choices.push_back({c.c_str(), nullptr});
  TChoiceAnswer answer = OfferChoices(choices.data(), static_cast<int>(choices.size()), kChoiceLegend);
  if (!answer.Taken()) return false;
  if (answer.index > 0) *voice = voices[static_cast<size_t>(answer.index - 1)];
  return true;
}

// The file named by the console's argument, or chosen in the window's dialog.
bool ChooseFile(const char* argument, bool save, const char* title, const char* filter, std::string* name) {
  if (argument && argument[0]) {
    *name = argument;
    return true;
  }
  return platform::Get().files->ChooseFile(save, title, filter, name);
}

void ImportCommand(const char* argument) {
  std::string name;
  if (!ChooseFile(argument, false, "Importer", "Partitions (*.musicxml;*.xml;*.mxl;*.mid)|*.musicxml;*.xml;*.mxl;*.mid|",
                  &name))
    return;
  formats::TScore score;
  std::string error;
  if (!LoadScore(platform::MapPath(name.c_str()), &score, &error)) {
    ShowInfo((name + " : " + error).c_str(), kImportCaption);
    return;
  }
  size_t partIndex;
  std::string voice;
  if (!ChoosePart(score, &partIndex, &voice)) return;
  std::vector<std::string> report;
  std::string text = ScoreToTablature(score.parts[partIndex], voice, &report);
  if (text.size() > formats::kReadLimit) {
    ShowInfo("la tablature obtenue dépasse 1 Mo, la taille que l'éditeur ouvre : rien n'est importé", kImportCaption);
    return;
  }
  // The imported text becomes the current tablature, kept in the working
  // copy, so that it plays at once; the window shows it as a new document.
  if (!DocumentWindow().ShowNewText(text.c_str())) return;
  if (WriteTextFile(text.c_str(), kWorkingCopy) != 0) return;
  CopyText(WorkingState.TabFile, kWorkingCopy);
  WorkingState.TabText = text;
  size_t measures = 0;
  for (char c : text) measures += c == '\n';
  std::string said = std::to_string(measures) + " mesures importées de " + name;
  if (!report.empty()) said += "\nà l'approximation près :\n" + Joined(report);
  ShowInfo(said.c_str(), formats::Utf8ToCp1252(score.parts[partIndex].name).c_str());
  PlayCue(kEditionCue);
}

void ExportCommand(const char* argument) {
  std::string name;
  if (!ChooseFile(argument, true, "Exporter en MusicXML", "MusicXML (*.musicxml)|*.musicxml|", &name)) return;
  formats::TScorePart part =
      TablatureToScore(WorkingState.TabText.c_str(), formats::Cp1252ToUtf8(BaseName(WorkingState.TabFile).c_str()));
  if (!formats::WriteFileBytes(platform::MapPath(name.c_str()), formats::WriteMusicXml(part))) {
    ShowWriteFailure(name.c_str(), errno);
    return;
  }
  ShowInfo(("partition écrite : " + name).c_str(), kExportCaption);
  PlayCue(kEditionCue);
}

}  // namespace

bool WantsScoreConversion(int argc, char** argv) {
  return argc >= 2 && (std::strcmp(argv[1], "--importer") == 0 || std::strcmp(argv[1], "--exporter") == 0);
}

int ConvertFromCommandLine(int argc, char** argv) {
  bool import = std::strcmp(argv[1], "--importer") == 0;
  if (argc < 3 || argc % 2 == 0) {
    std::fputs(import ? "usage : pavsdi --importer FICHIER [--partie N] [--voix V|toutes] [-o SORTIE.tab]\n"
                      : "usage : pavsdi --exporter FICHIER.tab [-o SORTIE.musicxml]\n",
               stderr);
    return 2;
  }
  return (import ? ImportFromCommandLine(argc, argv) : ExportFromCommandLine(argc, argv)) ? 0 : 2;
}

void RegisterScoreCommands() {
  RegisterCommand(kImportCommand, ImportCommand);
  RegisterCommand(kExportCommand, ExportCommand);
}
