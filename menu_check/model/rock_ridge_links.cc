// RockRidgeLinkTargets: the plain tree's directories, breadth first, with the Rock Ridge names (NM)
// and link targets (SL) of their records, through the continuation areas (CE) they name.
#include "menu_check/model/rock_ridge_links.h"

#include <deque>
#include <string_view>
#include <unordered_set>
#include <utility>

namespace tolvar {
namespace {

constexpr uint64_t kSector = 2048;
// A record's fields continue in at most this many areas, each at most one sector long: far more
// than the longest name or target needs (a few KB), and bounded for a chain that never ends.
constexpr int kMostContinuations = 64;
// All continuation areas together, for an image of a million records that each name some: past
// this, the targets of the links not yet reached are libarchive's.
constexpr uint64_t kMostContinuationBytes = uint64_t{32} << 20;
// No medium's directory comes near this (iso_extents.cc refuses such an image before).
constexpr uint64_t kLargestDirectory = uint64_t{64} << 20;

uint32_t Little32(std::string_view bytes, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

unsigned Byte(std::string_view bytes, size_t at) { return static_cast<unsigned char>(bytes[at]); }

// The fields of one directory record that matter here.
struct Fields {
  std::string name;  // NM's parts, joined
  bool named = false;
  std::string target;  // SL's components, joined
  bool link = false;
  // A '/' goes before the next component: the last one did not continue in the next. This holds
  // across SL entries, which is what libarchive forgets.
  bool separate = false;
};

// Appends the components of one SL entry (after its flags byte) to `fields`'s target, as Linux
// joins them.
void AppendComponents(std::string_view components, Fields* fields) {
  while (components.size() >= 2) {
    const unsigned flags = Byte(components, 0);
    const size_t length = Byte(components, 1);
    if (2 + length > components.size()) return;
    if (fields->separate) fields->target += '/';
    if ((flags & 0x08) != 0) {
      fields->target += '/';  // the root: no '/' after it
    } else if ((flags & 0x04) != 0) {
      fields->target += "..";
    } else if ((flags & 0x02) != 0) {
      fields->target += '.';
    } else {
      fields->target.append(components.substr(2, length));
    }
    fields->separate = (flags & 0x08) == 0 && (flags & 0x01) == 0;
    components.remove_prefix(2 + length);
  }
}

// Reads the System Use entries of `area`, and of the continuation areas they name, into `fields`.
void ReadFields(std::string_view area, uint64_t image_size, ImageReader read, void* context,
                uint64_t* continuation_bytes, Fields* fields) {
  std::string continuation;
  for (int areas = 0; areas <= kMostContinuations; ++areas) {
    uint64_t next = 0;
    uint64_t next_length = 0;
    while (area.size() >= 4) {
      const size_t length = Byte(area, 2);
      if (length < 4 || length > area.size()) break;
      const std::string_view entry = area.substr(0, length);
      const std::string_view signature = entry.substr(0, 2);
      if (signature == "ST") break;
      if (signature == "CE" && length >= 28) {
        next = uint64_t{Little32(entry, 4)} * kSector + Little32(entry, 12);
        next_length = Little32(entry, 20);
      } else if (signature == "NM" && length >= 5) {
        // The current and parent folders' own names are not names of an entry.
        if ((Byte(entry, 4) & 0x06) == 0) fields->name.append(entry.substr(5));
        fields->named = true;
      } else if (signature == "SL" && length >= 5) {
        fields->link = true;
        AppendComponents(entry.substr(5), fields);
      }
      area.remove_prefix(length);
    }
    if (next_length == 0 || next_length > kSector || next > image_size ||
        next_length > image_size - next ||
        *continuation_bytes + next_length > kMostContinuationBytes ||
        !read(context, next, next_length, &continuation)) {
      return;
    }
    *continuation_bytes += next_length;
    area = continuation;
  }
}

struct Folder {
  uint64_t sector;
  uint64_t size;
  std::string path;
};

}  // namespace

std::unordered_map<std::string, std::string> RockRidgeLinkTargets(uint64_t image_size,
                                                                  ImageReader read, void* context,
                                                                  size_t most_directories) {
  std::unordered_map<std::string, std::string> targets;
  std::string sector;
  std::deque<Folder> pending;
  for (uint64_t at = 16; at < 16 + 32 && pending.empty(); ++at) {
    if (!read(context, at * kSector, kSector, &sector) || sector.compare(1, 5, "CD001") != 0 ||
        Byte(sector, 0) == 255) {
      return targets;
    }
    if (Byte(sector, 0) == 1)
      pending.push_back({Little32(sector, 156 + 2), Little32(sector, 156 + 10), ""});
  }
  size_t skip = 0;  // bytes before each record's System Use entries (SP's LEN_SKP)
  bool first = true;
  std::unordered_set<uint64_t> seen;
  std::string directory;
  uint64_t continuation_bytes = 0;
  while (!pending.empty() && seen.size() < most_directories) {
    const Folder folder = std::move(pending.front());
    pending.pop_front();
    if (folder.sector > image_size / kSector || folder.size > kLargestDirectory ||
        folder.size > image_size - folder.sector * kSector || !seen.insert(folder.sector).second ||
        !read(context, folder.sector * kSector, static_cast<size_t>(folder.size), &directory)) {
      continue;
    }
    for (size_t at = 0; at < directory.size();) {
      const size_t length = Byte(directory, at);
      if (length == 0) {  // records do not cross a sector: the rest of this one is padding
        at = (at / kSector + 1) * kSector;
        continue;
      }
      if (length < 34 || at + length > directory.size()) break;
      const std::string_view record = std::string_view(directory).substr(at, length);
      at += length;
      const size_t name_length = Byte(record, 32);
      const size_t fields_start = 33 + name_length + (name_length % 2 == 0 ? 1 : 0);
      const bool self_or_parent = name_length == 1 && (record[33] == '\0' || record[33] == '\1');
      if (self_or_parent) {
        // The root's own record says where the entries begin in every other record.
        if (first && fields_start + 7 <= record.size() && record.substr(fields_start, 2) == "SP" &&
            Byte(record, fields_start + 4) == 0xBE && Byte(record, fields_start + 5) == 0xEF) {
          skip = Byte(record, fields_start + 6);
        }
        first = false;
        continue;
      }
      if (fields_start + skip >= record.size()) continue;
      Fields fields;
      ReadFields(record.substr(fields_start + skip), image_size, read, context, &continuation_bytes,
                 &fields);
      if (!fields.named || fields.name.empty()) continue;  // no Rock Ridge name to find it by
      std::string path = folder.path.empty() ? fields.name : folder.path + "/" + fields.name;
      if ((Byte(record, 25) & 0x02) != 0) {
        pending.push_back({Little32(record, 2), Little32(record, 10), std::move(path)});
      } else if (fields.link) {
        targets[std::move(path)] = std::move(fields.target);
      }
    }
  }
  return targets;
}

}  // namespace tolvar
