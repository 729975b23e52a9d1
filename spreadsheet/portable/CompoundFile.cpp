#include "spreadsheet/portable/CompoundFile.h"

#include <cstdint>
#include <vector>

namespace spreadsheet {

namespace {

const char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr size_t kHeaderSize = 512;
constexpr size_t kEntrySize = 128;
constexpr uint32_t kMiniSectorSize = 64;
constexpr int kStorage = 1, kStream = 2, kRoot = 5;

uint16_t U16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
uint32_t U32(const std::string& b, size_t at) { return U16(b, at) | static_cast<uint32_t>(U16(b, at + 2)) << 16; }

struct Entry {
  std::u16string name;
  int type = 0;
  uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
  uint32_t start = 0;
  uint64_t size = 0;
};

class Reader {
 public:
  Reader(const std::string& file, std::string& error) : file_(file), error_(error) {}

  bool Open() {
    if (!IsCompoundFile(file_) || file_.size() < kHeaderSize) return Fail("not a compound file");
    uint16_t major = U16(file_, 0x1A), shift = U16(file_, 0x1E);
    if (U16(file_, 0x1C) != 0xFFFE || !((major == 3 && shift == 9) || (major == 4 && shift == 12)) ||
        U16(file_, 0x20) != 6)
      return Fail("unknown compound file version");
    major_ = major;
    sectorSize_ = 1u << shift;
    miniCutoff_ = U32(file_, 0x38);
    return ReadFat() && ReadDirectory() && ReadMiniStream();
  }

  bool Stream(const std::string& wanted, std::string& out) {
    if (entries_.empty() || entries_[0].type != kRoot) return Fail("the compound file has no root storage");
    // Walk the root's children (a binary tree), guarding against loops.
    std::vector<bool> seen(entries_.size(), false);
    std::vector<uint32_t> pending{entries_[0].child};
    while (!pending.empty()) {
      uint32_t id = pending.back();
      pending.pop_back();
      if (id == kNoStream) continue;
      if (id >= entries_.size() || seen[id]) return Fail("broken directory tree");
      seen[id] = true;
      const Entry& e = entries_[id];
      pending.push_back(e.left);
      pending.push_back(e.right);
      if (e.type == kStream && SameName(e.name, wanted)) return Contents(e, out);
    }
    return Fail("no stream '" + wanted + "'");
  }

 private:
  bool Fail(const std::string& why) {
    error_ = why;
    return false;
  }

  static bool SameName(const std::u16string& name, const std::string& ascii) {
    if (name.size() != ascii.size()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
      char16_t a = name[i], b = static_cast<unsigned char>(ascii[i]);
      if (a >= 'a' && a <= 'z') a = static_cast<char16_t>(a - 32);
      if (b >= 'a' && b <= 'z') b = static_cast<char16_t>(b - 32);
      if (a != b) return false;
    }
    return true;
  }

  // Sectors count from 0 after the header sector.
  bool SectorAt(uint32_t sector, size_t& offset) const {
    uint64_t at = (static_cast<uint64_t>(sector) + 1) * sectorSize_;
    if (at + sectorSize_ > file_.size()) return false;
    offset = static_cast<size_t>(at);
    return true;
  }

  bool ReadFat() {
    uint32_t fatSectors = U32(file_, 0x2C);
    std::vector<uint32_t> fatList;
    for (uint32_t i = 0; i < 109 && i < fatSectors; ++i) fatList.push_back(U32(file_, 0x4C + 4 * i));
    // Further FAT sector numbers stand in the DIFAT chain.
    uint32_t difat = U32(file_, 0x44), perDifat = sectorSize_ / 4 - 1;
    size_t maxSectors = file_.size() / sectorSize_;
    if (fatSectors > maxSectors) return Fail("more sector tables than sectors");
    for (size_t hops = 0; fatList.size() < fatSectors; ++hops) {
      size_t at;
      if (hops > maxSectors || difat >= kEndOfChain || !SectorAt(difat, at)) return Fail("broken sector table list");
      for (uint32_t i = 0; i < perDifat && fatList.size() < fatSectors; ++i) fatList.push_back(U32(file_, at + 4 * i));
      difat = U32(file_, at + 4 * perDifat);
    }
    for (uint32_t sector : fatList) {
      size_t at;
      if (!SectorAt(sector, at)) return Fail("sector table outside the file");
      for (uint32_t i = 0; i < sectorSize_ / 4; ++i) fat_.push_back(U32(file_, at + 4 * i));
    }
    return true;
  }

  // The sectors of a chain, joined. A loop or a sector outside the file or
  // the table is an error.
  bool Chain(const std::vector<uint32_t>& table, uint32_t start, uint32_t unit, bool mini, std::string& out,
             uint64_t limit) {
    out.clear();
    uint32_t sector = start;
    std::vector<bool> seen(table.size(), false);
    while (sector != kEndOfChain && out.size() < limit) {
      if (sector >= table.size() || seen[sector]) return Fail("broken sector chain");
      seen[sector] = true;
      if (mini) {
        uint64_t at = static_cast<uint64_t>(sector) * unit;
        if (at + unit > miniStream_.size()) return Fail("mini sector outside the mini stream");
        out.append(miniStream_, static_cast<size_t>(at), unit);
      } else {
        size_t at;
        if (!SectorAt(sector, at)) return Fail("sector outside the file");
        out.append(file_, at, unit);
      }
      sector = table[sector];
    }
    return true;
  }

  bool ReadDirectory() {
    std::string directory;
    if (!Chain(fat_, U32(file_, 0x30), sectorSize_, false, directory, file_.size())) return false;
    for (size_t at = 0; at + kEntrySize <= directory.size(); at += kEntrySize) {
      Entry e;
      e.type = static_cast<unsigned char>(directory[at + 0x42]);
      uint16_t nameBytes = U16(directory, at + 0x40);
      if (nameBytes > 64 || nameBytes % 2) nameBytes = 0;
      for (size_t i = 0; i + 1 < nameBytes; i += 2) {
        char16_t c = U16(directory, at + i);
        if (c == 0) break;
        e.name += c;
      }
      e.left = U32(directory, at + 0x44);
      e.right = U32(directory, at + 0x48);
      e.child = U32(directory, at + 0x4C);
      e.start = U32(directory, at + 0x74);
      e.size = U32(directory, at + 0x78);
      if (major_ == 4) e.size |= static_cast<uint64_t>(U32(directory, at + 0x7C)) << 32;
      if (e.type != kStorage && e.type != kStream && e.type != kRoot) e.type = 0;
      entries_.push_back(e);
    }
    return true;
  }

  bool ReadMiniStream() {
    if (entries_.empty() || entries_[0].type != kRoot) return Fail("the compound file has no root storage");
    const Entry& root = entries_[0];
    if (root.size == 0) return true;
    if (root.size > file_.size()) return Fail("mini stream larger than the file");
    if (!Chain(fat_, root.start, sectorSize_, false, miniStream_, root.size)) return false;
    if (miniStream_.size() < root.size) return Fail("mini stream cut short");
    miniStream_.resize(static_cast<size_t>(root.size));
    std::string table;
    uint64_t tableBytes = static_cast<uint64_t>(U32(file_, 0x40)) * sectorSize_;
    if (tableBytes > file_.size()) return Fail("mini sector table larger than the file");
    if (tableBytes && !Chain(fat_, U32(file_, 0x3C), sectorSize_, false, table, tableBytes)) return false;
    for (size_t at = 0; at + 4 <= table.size(); at += 4) miniFat_.push_back(U32(table, at));
    return true;
  }

  bool Contents(const Entry& e, std::string& out) {
    if (e.size > file_.size()) return Fail("stream larger than the file");
    bool mini = e.size < miniCutoff_;
    if (!Chain(mini ? miniFat_ : fat_, e.start, mini ? kMiniSectorSize : sectorSize_, mini, out, e.size))
      return false;
    if (out.size() < e.size) return Fail("stream cut short");
    out.resize(static_cast<size_t>(e.size));
    return true;
  }

  const std::string& file_;
  std::string& error_;
  uint16_t major_ = 3;
  uint32_t sectorSize_ = 512, miniCutoff_ = 4096;
  std::vector<uint32_t> fat_, miniFat_;
  std::vector<Entry> entries_;
  std::string miniStream_;
};

}  // namespace

bool IsCompoundFile(const std::string& bytes) { return bytes.compare(0, 8, kSignature, 8) == 0; }

bool ReadCompoundStream(const std::string& file, const std::string& name, std::string& stream, std::string& error) {
  stream.clear();
  Reader reader(file, error);
  return reader.Open() && reader.Stream(name, stream);
}

}  // namespace spreadsheet
