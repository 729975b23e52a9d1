// Real .xls workbooks: the generated templates, hand-made record streams in a
// compound file, and cut or garbled files that must be refused cleanly.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>

#include "spreadsheet/portable/CompoundFile.h"
#include "spreadsheet/portable/XlsWorkbook.h"

using namespace spreadsheet;

namespace {

std::string ReadFile(const std::string& name) {
  std::ifstream in(std::string(KESTRO_TEMPLATE_DIR) + "/" + name, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

const Cell* Find(const Sheet& sheet, const char* name) {
  CellAddress at;
  if (!ParseCellAddress(name, at)) return nullptr;
  auto found = sheet.cells.find(at);
  return found == sheet.cells.end() ? nullptr : &found->second;
}

std::string Text(const Sheet& sheet, const char* name) {
  const Cell* cell = Find(sheet, name);
  return cell ? cell->value : "<none>";
}

void Le(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

std::string Rec(uint16_t id, const std::string& data) {
  std::string out;
  Le(out, id, 2);
  Le(out, data.size(), 2);
  return out + data;
}

std::string Bof(uint16_t kind) {
  std::string d;
  Le(d, 0x0600, 2);
  Le(d, kind, 2);
  return Rec(0x0809, d + std::string(12, '\0'));
}

std::string Cell3(uint16_t row, uint16_t column, uint16_t xf) {
  std::string d;
  Le(d, row, 2);
  Le(d, column, 2);
  Le(d, xf, 2);
  return d;
}

// A version 3 compound file holding one stream; a stream under 4096 bytes
// goes into the mini stream, as writers do.
std::string Compound(const std::string& name, const std::string& stream) {
  const uint32_t end = 0xFFFFFFFE, free = 0xFFFFFFFF;
  bool mini = stream.size() < 4096;
  auto sectors = [](size_t bytes, size_t unit) { return static_cast<uint32_t>((bytes + unit - 1) / unit); };
  // Sector 0: FAT, 1: directory, 2: mini FAT (if mini), then the data.
  uint32_t dataStart = mini ? 3 : 2;
  uint32_t dataSectors = sectors(stream.size(), 512);
  std::vector<uint32_t> fat(128, free);
  fat[0] = 0xFFFFFFFD;
  fat[1] = end;
  if (mini) fat[2] = end;
  for (uint32_t i = 0; i < dataSectors; ++i) fat[dataStart + i] = i + 1 == dataSectors ? end : dataStart + i + 1;
  std::string header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  header += std::string(16, '\0');
  Le(header, 0x3E, 2);
  Le(header, 3, 2);
  Le(header, 0xFFFE, 2);
  Le(header, 9, 2);
  Le(header, 6, 2);
  header += std::string(6, '\0');
  Le(header, 0, 4);  // directory sectors (version 3: 0)
  Le(header, 1, 4);  // FAT sectors
  Le(header, 1, 4);  // first directory sector
  Le(header, 0, 4);
  Le(header, 4096, 4);
  Le(header, mini ? 2 : end, 4);
  Le(header, mini ? 1 : 0, 4);
  Le(header, end, 4);
  Le(header, 0, 4);
  Le(header, 0, 4);  // the FAT is sector 0
  while (header.size() < 512) Le(header, free, 4);
  std::string fatSector;
  for (uint32_t v : fat) Le(fatSector, v, 4);
  auto entry = [](const std::string& entryName, int type, uint32_t child, uint32_t start, uint32_t size) {
    std::string e;
    for (char c : entryName) Le(e, static_cast<unsigned char>(c), 2);
    Le(e, 0, 2);
    e.resize(64, '\0');
    Le(e, 2 * (entryName.size() + 1), 2);
    e += static_cast<char>(type);
    e += '\1';
    Le(e, 0xFFFFFFFF, 4);
    Le(e, 0xFFFFFFFF, 4);
    Le(e, child, 4);
    e.resize(0x74, '\0');
    Le(e, start, 4);
    Le(e, size, 4);
    Le(e, 0, 4);
    return e;
  };
  uint32_t miniSectors = sectors(stream.size(), 64);
  std::string directory = entry("Root Entry", 5, 1, mini ? dataStart : end, mini ? miniSectors * 64 : 0) +
                          entry(name, 2, 0xFFFFFFFF, mini ? 0 : dataStart, static_cast<uint32_t>(stream.size()));
  directory.resize(512, '\0');
  std::string file = header + fatSector + directory;
  if (mini) {
    std::string miniFat;
    for (uint32_t i = 0; i < 128; ++i) Le(miniFat, i + 1 < miniSectors ? i + 1 : (i + 1 == miniSectors ? end : free), 4);
    file += miniFat;
  }
  std::string data = stream;
  data.resize(dataSectors * 512, '\0');
  return file + data;
}

// Globals with three cell formats (General, text, a format of its own), a
// worksheet, a chart sheet that is passed over and a second worksheet; a
// string table whose second string goes on in a CONTINUE record in wide
// characters.
std::string SampleStream() {
  std::string globals = Bof(0x0005);
  auto xf = [](uint16_t format) {
    std::string d;
    Le(d, 0, 2);
    Le(d, format, 2);
    return Rec(0x00E0, d + std::string(16, '\0'));
  };
  globals += xf(0) + xf(49) + xf(170);
  std::string format;
  Le(format, 170, 2);
  Le(format, 5, 2);
  format += '\0';
  format += "0.000";
  globals += Rec(0x041E, format);
  std::string sst;
  Le(sst, 2, 4);
  Le(sst, 2, 4);
  Le(sst, 2, 2);
  sst += '\0';
  sst += "ok";
  Le(sst, 4, 2);
  sst += '\0';
  sst += "ab";  // then "件名" in the next record
  std::string more("\x01", 1);
  Le(more, 0x4EF6, 2);
  Le(more, 0x540D, 2);
  globals += Rec(0x00FC, sst) + Rec(0x003C, more);
  auto boundSheet = [](uint32_t offset, int type, const std::u16string& name) {
    std::string d;
    Le(d, offset, 4);
    d += '\0';
    d += static_cast<char>(type);
    d += static_cast<char>(name.size());
    d += '\1';
    for (char16_t c : name) Le(d, c, 2);
    return Rec(0x0085, d);
  };
  // Offsets are patched in once the globals' length is known.
  auto build = [&](uint32_t first, uint32_t chart, uint32_t second) {
    return globals + boundSheet(first, 0, u"報告書") + boundSheet(chart, 2, u"グラフ") + boundSheet(second, 0, u"原紙") +
           Rec(0x000A, "");
  };
  std::string sheet1 = Bof(0x0010);
  std::string d = Cell3(1, 19, 1);
  Le(d, 1, 4);
  sheet1 += Rec(0x00FD, d);                                   // T2: "ab件名"
  d = Cell3(0, 0, 0);
  Le(d, 4, 2);
  d += '\1';
  for (char16_t c : std::u16string(u"画面報告")) Le(d, c, 2);
  sheet1 += Rec(0x0204, d);                                   // A1: a wide LABEL
  d = Cell3(2, 1, 2);
  double number = 437.5;
  uint64_t bits;
  std::memcpy(&bits, &number, 8);
  Le(d, bits, 8);
  sheet1 += Rec(0x0203, d);                                   // B3: 437.5 in 0.000
  d = Cell3(3, 1, 0);
  Le(d, (static_cast<uint32_t>(-12) << 2) | 2, 4);
  sheet1 += Rec(0x027E, d);                                   // B4: -12
  d.clear();
  Le(d, 4, 2);
  Le(d, 2, 2);
  Le(d, 0, 2);
  Le(d, (1234u << 2) | 3, 4);                                 // C5: 12.34
  Le(d, 1, 2);
  Le(d, 0x3FF00000u, 4);                                      // D5: 1.0
  Le(d, 3, 2);
  sheet1 += Rec(0x00BD, d);
  d.clear();
  Le(d, 6, 2);
  Le(d, 4, 2);
  Le(d, 1, 2);
  Le(d, 1, 2);
  Le(d, 5, 2);
  sheet1 += Rec(0x00BE, d);                                   // E7, F7: empty, text format
  sheet1 += Bof(0x0020) + Rec(0x0204, Cell3(0, 0, 0) + std::string("\x01\x00\x00x", 4)) + Rec(0x000A, "");
  sheet1 += Rec(0x000A, "");
  std::string chart = Bof(0x0020) + Rec(0x000A, "");
  std::string sheet2 = Bof(0x0010) + Rec(0x0201, Cell3(0, 0, 1)) + Rec(0x000A, "");
  uint32_t start = static_cast<uint32_t>(build(0, 0, 0).size());
  return build(start, start + sheet1.size(), start + sheet1.size() + chart.size()) + sheet1 + chart + sheet2;
}

}  // namespace

TEST(XlsWorkbook, ReadsTextNumbersFormatsAndSheetsOfARecordStream) {
  for (size_t pad : {0, 5000}) {  // in the mini stream, and in sectors of its own
    std::string stream = SampleStream() + std::string(pad, '\0');
    WorkbookDocument book;
    std::string error;
    ASSERT_TRUE(ReadWorkbookFile(Compound("Workbook", stream), book, error)) << error;
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[0].name, u8"報告書");
    EXPECT_EQ(book.sheets[1].name, u8"原紙");
    const Sheet& s = book.sheets[0];
    EXPECT_EQ(Text(s, "T2"), u8"ab件名");
    EXPECT_EQ(Find(s, "T2")->format, "@");
    EXPECT_EQ(Text(s, "A1"), u8"画面報告");
    EXPECT_EQ(Find(s, "A1")->format, "");
    EXPECT_EQ(Text(s, "B3"), "437.5");
    EXPECT_TRUE(Find(s, "B3")->isNumber);
    EXPECT_EQ(Find(s, "B3")->format, "0.000");
    EXPECT_EQ(Text(s, "B4"), "-12");
    EXPECT_EQ(Text(s, "C5"), "12.34");
    EXPECT_EQ(Text(s, "D5"), "1");
    EXPECT_EQ(Text(s, "E7"), "");
    EXPECT_EQ(Find(s, "F7")->format, "@");
    EXPECT_EQ(s.cells.size(), 8u);  // the embedded chart's cell is not the sheet's
    EXPECT_EQ(Find(book.sheets[1], "A1")->format, "@");
  }
}

TEST(XlsWorkbook, TheGeneratedTemplatesHoldTheirSheetsAndCells) {
  WorkbookDocument book;
  std::string error;
  ASSERT_TRUE(ReadWorkbookFile(ReadFile("template.xls"), book, error)) << error;
  for (const char* name : {"T2", "E3", "E4", "E5", "I7", "I8", "I9", "E11"}) {
    ASSERT_NE(Find(book.sheets[0], name), nullptr) << name;
    EXPECT_EQ(Find(book.sheets[0], name)->format, "@") << name;
  }
  EXPECT_EQ(Text(book.sheets[0], "G8"), u8"件名");
  ASSERT_TRUE(ReadWorkbookFile(ReadFile("list.xls"), book, error)) << error;
  EXPECT_EQ(Text(book.sheets[0], "I6"), u8"名称（コメント）");
  for (const char* name : {"imageList.xls", "template/TAN-01.xls", "template/TAN-02.xls", "template/TAN-03.xls"}) {
    ASSERT_TRUE(ReadWorkbookFile(ReadFile(name), book, error)) << name << ": " << error;
    ASSERT_EQ(book.sheets.size(), 2u) << name;
    EXPECT_EQ(book.sheets[0].name + book.sheets[1].name, u8"画像一覧原紙") << name;
  }
}

TEST(XlsWorkbook, RefusesCutGarbledAndForeignFilesWithoutCrashing) {
  const std::string real = ReadFile("template.xls");
  ASSERT_GT(real.size(), 4096u);
  WorkbookDocument book;
  std::string error;
  for (size_t length = 0; length < real.size(); length += length < 600 ? 1 : 97) {
    EXPECT_FALSE(ReadWorkbookFile(real.substr(0, length), book, error)) << length;
    EXPECT_FALSE(error.empty());
  }
  // Garbled bytes anywhere: refused or read, never a crash or an invalid book.
  uint32_t seed = 12345;
  for (int round = 0; round < 3000; ++round) {
    std::string bad = real;
    for (int flips = 0; flips < 1 + round % 4; ++flips) {
      seed = seed * 1103515245 + 12345;
      size_t at = round < 1000 ? (seed >> 8) % 512 : (seed >> 8) % bad.size();
      bad[at] = static_cast<char>(seed >> 24);
    }
    if (ReadWorkbookFile(bad, book, error)) {
      EXPECT_FALSE(book.sheets.empty());
    }
  }
  // Records cut or pointing astray in a sound container.
  std::string stream = SampleStream();
  for (size_t length = 0; length < stream.size(); ++length)
    EXPECT_FALSE(ReadWorkbookFile(Compound("Workbook", stream.substr(0, length)), book, error)) << length;

  struct Case {
    std::string file;
    const char* why;
  } cases[] = {
      {"", "not a workbook"},
      {"PK\x03\x04 a zip file", "not a workbook"},
      {Compound("Book", stream), "too old"},
      {Compound("Other", stream), "no stream 'Workbook'"},
      {Compound("Workbook", Bof(0x0005) + Rec(0x002F, std::string(6, '\0')) + Rec(0x000A, "")), "encrypted"},
      {Compound("Workbook", Bof(0x0005) + Rec(0x000A, "")), "at least one sheet"},
      {Compound("Workbook", std::string(100, 'x')), "BIFF8"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(ReadWorkbookFile(c.file, book, error)) << c.why;
    EXPECT_NE(error.find(c.why), std::string::npos) << error;
  }
  // A sector chain that loops back on itself.
  std::string looped = Compound("Workbook", stream + std::string(5000, '\0'));
  looped[512 + 4 * 3] = 2;  // sector 3 leads back to sector 2
  looped[512 + 4 * 3 + 1] = looped[512 + 4 * 3 + 2] = looped[512 + 4 * 3 + 3] = 0;
  EXPECT_FALSE(ReadWorkbookFile(looped, book, error));
  EXPECT_NE(error.find("chain"), std::string::npos) << error;
}
