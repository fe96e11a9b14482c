#include "core/tablature_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "core/prompts.h"
#include "formats/encoding.h"
#include "formats/file_bytes.h"
#include "formats/host_path.h"
#include "platform/paths.h"

namespace {

// Tab, line feed, form feed and carriage return are the controls of text.
bool IsTextControl(unsigned char c) { return c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

bool IsText(const std::string& bytes) {
  for (unsigned char c : bytes)
    if ((c < 0x20 && !IsTextControl(c)) || c == 0x7F) return false;
  return true;
}

// Windows-1252 with line feeds, from the file's own encoding and line ends.
std::string Decode(const std::string& bytes) {
  bool utf8 = formats::IsMultiByteUtf8(bytes.data(), bytes.size(), false);
  std::string text = utf8 ? formats::Utf8ToCp1252(bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes)
                          : bytes;
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n') out += text[i];
  return out;
}

}  // namespace

int LoadTablatureFile(const char* path, std::string* text) {
  std::string host = platform::MapPath(path);
  // A name that is not there, or not to be read, is told by the reading.
  std::error_code error;
  std::filesystem::file_type type = std::filesystem::status(formats::HostPath(host), error).type();
  if (type == std::filesystem::file_type::directory) return EISDIR;
  if (!error && type != std::filesystem::file_type::regular) return EINVAL;
  std::string bytes;
  if (!formats::ReadFileBytes(host, &bytes)) return errno;
  if (!IsText(bytes)) return kNotText;
  *text = Decode(bytes);
  return 0;
}

const char* ReadFailureReason(int reason) {
  switch (reason) {
    case kNotText: return "ce n'est pas un fichier texte : il contient des octets nuls ou de contrôle";
    case ENOENT: return "le fichier n'existe pas";
    case ENOTDIR: return "un élément du chemin n'est pas un répertoire";
    case EISDIR: return "c'est un répertoire";
    case EACCES:
    case EPERM: return "accès refusé";
    case EINVAL: return "ce n'est pas un fichier ordinaire";
    case EFBIG: return "le fichier dépasse 1 Mo";
    case ENAMETOOLONG: return "le nom est trop long";
    default: return "erreur de lecture";
  }
}

void ShowReadFailure(const char* path, int reason) {
  std::string text = std::string(path) + "\n" + ReadFailureReason(reason);
  ShowInfo(text.c_str(), "impossible d'ouvrir en lecture");
}

bool ReadTablatureFile(const char* path, std::string* text) {
  int reason = LoadTablatureFile(path, text);
  if (reason == 0) return true;
  ShowReadFailure(path, reason);
  return false;
}
