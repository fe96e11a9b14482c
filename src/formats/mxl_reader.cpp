#include <zip.h>

#include <memory>

#include "formats/score_files.h"

namespace formats {

namespace {

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

// The entry's bytes, read to at most kScoreFileLimit whatever its header
// claims: an archive that unpacks past that is refused, never unpacked.
bool ReadEntry(zip_t* archive, const char* name, std::string* bytes, std::string* error) {
  zip_file_t* file = zip_fopen(archive, name, 0);
  if (!file) {
    *error = std::string("archive .mxl : « ") + name + " » illisible";
    return false;
  }
  bytes->clear();
  char buffer[65536];
  for (;;) {
    zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
    if (got < 0) {
      zip_fclose(file);
      *error = "archive .mxl abîmée";
      return false;
    }
    if (got == 0) break;
    if (bytes->size() + static_cast<size_t>(got) > kScoreFileLimit) {
      zip_fclose(file);
      *error = "archive .mxl : la partition décompressée dépasse " + std::to_string(kScoreFileLimit >> 20) + " Mo";
      return false;
    }
    bytes->append(buffer, static_cast<size_t>(got));
  }
  zip_fclose(file);
  return true;
}

}  // namespace

bool ReadCompressedMusicXml(const std::string& bytes, TScore* score, std::string* error) {
  zip_error_t zipError;
  zip_error_init(&zipError);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &zipError);
  Archive archive(source ? zip_open_from_source(source, ZIP_RDONLY, &zipError) : nullptr);
  zip_error_fini(&zipError);
  if (!archive) {
    if (source) zip_source_free(source);
    *error = "archive .mxl abîmée";
    return false;
  }
  // The container names the score; without it, the first MusicXML file.
  std::string rootFile;
  std::string container;
  if (zip_name_locate(archive.get(), "META-INF/container.xml", 0) >= 0) {
    if (!ReadEntry(archive.get(), "META-INF/container.xml", &container, error)) return false;
    size_t at = container.find("full-path=\"");
    if (at != std::string::npos) {
      at += 11;
      size_t end = container.find('"', at);
      if (end != std::string::npos) rootFile = container.substr(at, end - at);
    }
  }
  if (rootFile.empty()) {
    zip_int64_t entries = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < entries && rootFile.empty(); ++i) {
      std::string name = zip_get_name(archive.get(), static_cast<zip_uint64_t>(i), 0);
      if (name.rfind("META-INF/", 0) == 0) continue;
      if (name.size() > 4 && (name.ends_with(".xml") || name.ends_with(".musicxml"))) rootFile = name;
    }
  }
  if (rootFile.empty()) {
    *error = "archive .mxl sans partition";
    return false;
  }
  std::string xml;
  if (!ReadEntry(archive.get(), rootFile.c_str(), &xml, error)) return false;
  return ReadMusicXml(xml, score, error);
}

bool ReadScoreBytes(const std::string& bytes, TScore* score, std::string* error) {
  if (bytes.size() > kScoreFileLimit) {
    *error = "le fichier dépasse " + std::to_string(kScoreFileLimit >> 20) + " Mo";
    return false;
  }
  if (bytes.rfind("PK\x03\x04", 0) == 0) return ReadCompressedMusicXml(bytes, score, error);
  if (bytes.rfind("MThd", 0) == 0) return ReadStandardMidi(bytes, score, error);
  return ReadMusicXml(bytes, score, error);
}

}  // namespace formats
