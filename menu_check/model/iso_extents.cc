// DirectoryBeyondTheImage: the volume descriptors, then each directory's records, breadth first.
#include "menu_check/model/iso_extents.h"

#include <deque>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tolvar {
namespace {

constexpr uint64_t kSector = 2048;

uint32_t Little32(std::string_view bytes, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

struct Extent {
  uint64_t sector;
  uint64_t size;
  size_t tree = 0;  // which volume descriptor's directories it belongs to
};

// The extent a directory record (at least 34 bytes) names.
Extent RecordExtent(std::string_view record, size_t tree) {
  return {Little32(record, 2), Little32(record, 10), tree};
}

// No medium's directory comes near this: 32,766 entries take about 2 MB of records.
constexpr uint64_t kLargestDirectory = uint64_t{64} << 20;

bool Inside(const Extent& extent, uint64_t image_size) {
  return extent.sector <= image_size / kSector &&
         extent.size <= image_size - extent.sector * kSector;
}

}  // namespace

std::string DirectoryBeyondTheImage(uint64_t image_size, ImageReader read, void* context,
                                    size_t most_directories, size_t most_entries) {
  std::deque<Extent> pending;
  std::vector<size_t> entries;  // per tree
  std::string sector;
  // Descriptors start at sector 16 and end with the terminator (type 255).
  for (uint64_t at = 16; at < 16 + 32; ++at) {
    if (!read(context, at * kSector, kSector, &sector) || sector.compare(1, 5, "CD001") != 0) {
      return "";
    }
    const auto type = static_cast<unsigned char>(sector[0]);
    if (type == 255) break;
    if (type == 1 || type == 2) {
      pending.push_back(RecordExtent(std::string_view(sector).substr(156), entries.size()));
      entries.push_back(0);
    }
  }
  std::unordered_set<uint64_t> seen;
  std::string directory;
  while (!pending.empty() && seen.size() < most_directories) {
    const Extent extent = pending.front();
    pending.pop_front();
    if (!Inside(extent, image_size)) {
      return "a directory in it says it is " + std::to_string(extent.size) +
             " bytes long, past the image's end";
    }
    if (extent.size > kLargestDirectory) {
      return "a directory in it says it is " + std::to_string(extent.size) +
             " bytes long, more than any medium's directory";
    }
    if (!seen.insert(extent.sector).second) continue;  // libarchive refuses a loop itself
    if (!read(context, extent.sector * kSector, static_cast<size_t>(extent.size), &directory)) {
      return "";
    }
    for (size_t at = 0; at < directory.size();) {
      const auto length = static_cast<unsigned char>(directory[at]);
      if (length == 0) {  // records do not cross a sector: the rest of this one is padding
        at = (at / kSector + 1) * kSector;
        continue;
      }
      if (length < 34 || at + length > directory.size()) break;
      const std::string_view record = std::string_view(directory).substr(at, length);
      const auto name_length = static_cast<unsigned char>(record[32]);
      const bool self_or_parent = name_length == 1 && (record[33] == '\0' || record[33] == '\1');
      // libarchive keeps every entry of a tree until the tree is read to its end: counted here,
      // an image over the limit costs no more than one directory's records.
      if (!self_or_parent && ++entries[extent.tree] > most_entries) {
        return "it holds more than " + std::to_string(most_entries) + " entries";
      }
      if ((static_cast<unsigned char>(record[25]) & 0x02) != 0 && !self_or_parent) {
        pending.push_back(RecordExtent(record, extent.tree));
      }
      at += length;
    }
  }
  return "";
}

}  // namespace tolvar
