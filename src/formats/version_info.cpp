#include "formats/version_info.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "formats/encoding.h"

namespace formats {
namespace {

constexpr unsigned kHeader = 6;  // length, value length, type

unsigned Align(unsigned offset) { return (offset + 3) & ~3u; }

unsigned Word(const unsigned char* block, unsigned at) { return block[at] | (block[at + 1] << 8); }

// One node of the block, every offset from the block's start.
struct TNode {
  unsigned end;       // past its last byte
  unsigned key;       // its UTF-16 name
  unsigned keyUnits;  // without the terminator
  unsigned value;
  unsigned valueBytes;
  bool text;
  unsigned children;
};

bool ReadNode(const unsigned char* block, unsigned at, unsigned limit, TNode* node) {
  if (at + kHeader > limit) return false;
  unsigned length = Word(block, at);
  if (length < kHeader || length > limit - at) return false;
  node->end = at + length;
  node->text = Word(block, at + 4) == 1;
  node->key = at + kHeader;
  unsigned p = node->key;
  while (p + 2 <= node->end && Word(block, p) != 0) p += 2;
  if (p + 2 > node->end) return false;
  node->keyUnits = (p - node->key) / 2;
  node->value = Align(p + 2);
  unsigned valueLength = Word(block, at + 2);
  node->valueBytes = node->text ? valueLength * 2 : valueLength;
  if (node->value > node->end || node->valueBytes > node->end - node->value) {
    // Some writers count the value of a string table in bytes: keep what fits.
    node->valueBytes = node->value > node->end ? 0 : node->end - node->value;
  }
  node->children = Align(node->value + node->valueBytes);
  return true;
}

// UTF-16 units up to a terminator or `units`, in Windows-1252: one byte a
// character (a lone surrogate too), so a text never outgrows its units.
std::string Narrow(const unsigned char* block, unsigned at, unsigned units) {
  std::string text;
  for (unsigned i = 0; i < units; ++i) {
    uint32_t c = Word(block, at + 2 * i);
    if (c == 0) break;
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
      uint32_t low = Word(block, at + 2 * (i + 1));
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    text += static_cast<char>(CodePointToCp1252(c));
  }
  return text;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

unsigned GetFileVersionInfoSize(const TModule& module) {
  if (!module.versionBlock || module.versionSize < kHeader) return 0;
  unsigned length = Word(module.versionBlock, 0);
  if (length < kHeader || length > module.versionSize) return 0;
  // The second half holds the texts as queries convert them.
  return 2 * Align(length);
}

bool GetFileVersionInfo(const TModule& module, unsigned size, void* data) {
  unsigned needed = GetFileVersionInfoSize(module);
  if (needed == 0 || size < needed) return false;
  std::memset(data, 0, size);
  std::memcpy(data, module.versionBlock, Word(module.versionBlock, 0));
  return true;
}

bool VerQueryValue(void* data, const char* subBlock, void** value, unsigned* length) {
  auto* block = static_cast<unsigned char*>(data);
  TNode node;
  if (!ReadNode(block, 0, Word(block, 0), &node)) return false;
  const char* p = subBlock;
  while (*p) {
    while (*p == '\\') ++p;
    if (!*p) break;
    const char* end = std::strchr(p, '\\');
    std::string wanted(p, end ? static_cast<size_t>(end - p) : std::strlen(p));
    p += wanted.size();
    bool found = false;
    for (unsigned at = node.children; at < node.end; ) {
      TNode child;
      if (!ReadNode(block, at, node.end, &child)) return false;
      if (SameName(Narrow(block, child.key, child.keyUnits), wanted)) {
        node = child;
        found = true;
        break;
      }
      at = Align(child.end);
    }
    if (!found) return false;
  }
  if (!node.text) {
    *value = block + node.value;
    *length = node.valueBytes;
    return true;
  }
  // Each text lands at half its own offset in the spare half, so texts of
  // different nodes never overlap.
  std::string text = Narrow(block, node.value, node.valueBytes / 2);
  unsigned half = Align(Word(block, 0));
  unsigned room = half - node.value / 2;
  if (text.size() + 1 > room) text.resize(room - 1);
  char* spare = reinterpret_cast<char*>(block) + half + node.value / 2;
  std::memcpy(spare, text.c_str(), text.size() + 1);
  *value = spare;
  *length = static_cast<unsigned>(text.size() + 1);
  return true;
}

}  // namespace formats
