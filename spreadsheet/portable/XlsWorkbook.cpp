#include "spreadsheet/portable/XlsWorkbook.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "spreadsheet/portable/CompoundFile.h"
#include "spreadsheet/portable/WorkbookFormat.h"

namespace spreadsheet {

namespace {

enum : uint16_t {
  kBof = 0x0809,
  kEof = 0x000A,
  kFilePass = 0x002F,
  kContinue = 0x003C,
  kBoundSheet = 0x0085,
  kSst = 0x00FC,
  kFormat = 0x041E,
  kXf = 0x00E0,
  kLabelSst = 0x00FD,
  kLabel = 0x0204,
  kRString = 0x00D6,
  kNumber = 0x0203,
  kRk = 0x027E,
  kMulRk = 0x00BD,
  kBlank = 0x0201,
  kMulBlank = 0x00BE,
};
constexpr uint16_t kBiff8 = 0x0600, kGlobals = 0x0005, kWorksheet = 0x0010;

uint16_t U16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
uint32_t U32(const std::string& b, size_t at) { return U16(b, at) | static_cast<uint32_t>(U16(b, at + 2)) << 16; }

double F64(const std::string& b, size_t at) {
  uint64_t bits = U32(b, at) | static_cast<uint64_t>(U32(b, at + 4)) << 32;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

double RkValue(uint32_t rk) {
  double value;
  if (rk & 2) {
    value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
  } else {
    uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  return (rk & 1) ? value / 100 : value;
}

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // a lone surrogate
    }
    AppendUtf8(out, c);
  }
  return out;
}

// Format numbers below 164 that need no FORMAT record.
const char* BuiltInFormat(uint16_t index) {
  switch (index) {
    case 0: return "";
    case 1: return "0";
    case 2: return "0.00";
    case 3: return "#,##0";
    case 4: return "#,##0.00";
    case 9: return "0%";
    case 10: return "0.00%";
    case 11: return "0.00E+00";
    case 12: return "# ?/?";
    case 13: return "# ?\?/??";
    case 14: return "yyyy/m/d";
    case 15: return "d-mmm-yy";
    case 16: return "d-mmm";
    case 17: return "mmm-yy";
    case 18: return "h:mm AM/PM";
    case 19: return "h:mm:ss AM/PM";
    case 20: return "h:mm";
    case 21: return "h:mm:ss";
    case 22: return "yyyy/m/d h:mm";
    case 37: return "#,##0 ;(#,##0)";
    case 38: return "#,##0 ;[Red](#,##0)";
    case 39: return "#,##0.00;(#,##0.00)";
    case 40: return "#,##0.00;[Red](#,##0.00)";
    case 45: return "mm:ss";
    case 46: return "[h]:mm:ss";
    case 47: return "mm:ss.0";
    case 48: return "##0.0E+0";
    case 49: return "@";
    default: return "";
  }
}

// The data of one record and of the CONTINUE records after it, read as one
// run. A string's characters that go on in the next record start there with
// a fresh flags byte.
class RecordData {
 public:
  explicit RecordData(std::vector<std::string> parts) : parts_(std::move(parts)) {}

  bool AtEnd() {
    SkipEmpty();
    return part_ >= parts_.size();
  }

  bool Bytes(size_t count, std::string& out) {
    out.clear();
    while (out.size() < count) {
      SkipEmpty();
      if (part_ >= parts_.size()) return false;
      size_t take = std::min(count - out.size(), parts_[part_].size() - offset_);
      out.append(parts_[part_], offset_, take);
      offset_ += take;
    }
    return true;
  }
  bool Skip(uint64_t count) {
    while (count > 0) {
      SkipEmpty();
      if (part_ >= parts_.size()) return false;
      size_t take = static_cast<size_t>(std::min<uint64_t>(count, parts_[part_].size() - offset_));
      offset_ += take;
      count -= take;
    }
    return true;
  }
  bool U8(uint8_t& v) {
    std::string b;
    if (!Bytes(1, b)) return false;
    v = static_cast<unsigned char>(b[0]);
    return true;
  }
  bool U16v(uint16_t& v) {
    std::string b;
    if (!Bytes(2, b)) return false;
    v = U16(b, 0);
    return true;
  }
  bool U32v(uint32_t& v) {
    std::string b;
    if (!Bytes(4, b)) return false;
    v = U32(b, 0);
    return true;
  }

  // A Unicode string: its character count (one or two bytes), flags, the
  // optional counts of formatting runs and phonetic data, the characters,
  // then those runs and data, which are skipped.
  bool String(bool shortCount, std::string& utf8) {
    uint16_t count = 0;
    uint8_t flags = 0, small = 0;
    if (shortCount ? !U8(small) : !U16v(count)) return false;
    if (shortCount) count = small;
    if (!U8(flags)) return false;
    uint16_t runs = 0;
    uint32_t phonetic = 0;
    if ((flags & 0x08) && !U16v(runs)) return false;
    if ((flags & 0x04) && !U32v(phonetic)) return false;
    std::u16string text;
    bool wide = flags & 0x01;
    size_t partBefore = part_;
    while (text.size() < count) {
      SkipEmpty();
      if (part_ >= parts_.size()) return false;
      if (part_ != partBefore) {
        // Characters go on in the next record, behind their own flags byte.
        partBefore = part_;
        uint8_t more;
        if (!U8(more)) return false;
        wide = more & 0x01;
        continue;
      }
      const std::string& p = parts_[part_];
      if (wide) {
        if (offset_ + 2 > p.size()) return false;  // a character split between records
        text += static_cast<char16_t>(U16(p, offset_));
        offset_ += 2;
      } else {
        text += static_cast<char16_t>(static_cast<unsigned char>(p[offset_]));
        offset_ += 1;
      }
    }
    utf8 = Utf16ToUtf8(text);
    return Skip(4ull * runs + phonetic);
  }

 private:
  void SkipEmpty() {
    while (part_ < parts_.size() && offset_ >= parts_[part_].size()) ++part_, offset_ = 0;
  }

  std::vector<std::string> parts_;
  size_t part_ = 0, offset_ = 0;
};

struct Record {
  uint16_t id = 0;
  std::string data;
};

class Parser {
 public:
  Parser(const std::string& stream, WorkbookDocument& book, std::string& error)
      : stream_(stream), book_(book), error_(error) {}

  bool Run() {
    size_t at = 0;
    if (!ReadGlobals(at)) return false;
    for (const SheetEntry& entry : sheets_) {
      book_.sheets.push_back(Sheet());
      book_.sheets.back().name = entry.name;
      if (!ReadSheet(entry.offset, book_.sheets.back())) return false;
    }
    return true;
  }

 private:
  struct SheetEntry {
    uint32_t offset;
    std::string name;
  };

  bool Fail(const std::string& why) {
    error_ = why;
    return false;
  }

  bool Next(size_t& at, Record& record) {
    if (at + 4 > stream_.size()) return Fail("records end without an end-of-file record");
    record.id = U16(stream_, at);
    uint16_t length = U16(stream_, at + 2);
    if (at + 4 + length > stream_.size()) return Fail("a record runs past the end of the stream");
    record.data.assign(stream_, at + 4, length);
    at += 4 + length;
    return true;
  }

  // The record's data and that of the CONTINUE records that follow it.
  bool Continued(size_t& at, const Record& first, std::vector<std::string>& parts) {
    parts = {first.data};
    while (at + 4 <= stream_.size() && U16(stream_, at) == kContinue) {
      Record more;
      if (!Next(at, more)) return false;
      parts.push_back(more.data);
    }
    return true;
  }

  bool Bof(size_t& at, uint16_t kind) {
    Record bof;
    if (at + 4 > stream_.size() || U16(stream_, at) != kBof || !Next(at, bof) || bof.data.size() < 4 ||
        U16(bof.data, 0) != kBiff8)
      return Fail("not an Excel 97-2003 workbook (no BIFF8 start record)");
    if (U16(bof.data, 2) != kind) return Fail("unexpected kind of record block");
    return true;
  }

  bool ReadGlobals(size_t& at) {
    if (!Bof(at, kGlobals)) return false;
    for (;;) {
      Record r;
      if (!Next(at, r)) return false;
      const std::string& d = r.data;
      switch (r.id) {
        case kEof:
          return true;
        case kFilePass:
          return Fail("the workbook is encrypted");
        case kBoundSheet: {
          if (d.size() < 8) return Fail("short sheet record");
          std::vector<std::string> parts{d.substr(6)};
          RecordData name(parts);
          SheetEntry entry{U32(d, 0), ""};
          if (!name.String(true, entry.name)) return Fail("bad sheet name");
          if (static_cast<unsigned char>(d[5]) == 0) sheets_.push_back(entry);  // worksheets only
          break;
        }
        case kSst: {
          std::vector<std::string> parts;
          if (!Continued(at, r, parts)) return false;
          RecordData data(parts);
          uint32_t total, unique;
          if (!data.U32v(total) || !data.U32v(unique)) return Fail("short string table");
          while (strings_.size() < unique && !data.AtEnd()) {
            std::string text;
            if (!data.String(false, text)) return Fail("string table cut inside a string");
            strings_.push_back(text);
          }
          break;
        }
        case kFormat: {
          if (d.size() < 2) return Fail("short number format record");
          RecordData data({d.substr(2)});
          std::string text;
          if (!data.String(false, text)) return Fail("bad number format record");
          formats_[U16(d, 0)] = text == "General" ? "" : text;
          break;
        }
        case kXf:
          if (d.size() < 4) return Fail("short cell format record");
          xfFormats_.push_back(U16(d, 2));
          break;
        default:
          break;
      }
    }
  }

  bool FormatOf(uint16_t xf, std::string& format) {
    if (xf >= xfFormats_.size()) return Fail("a cell names a cell format that does not exist");
    auto found = formats_.find(xfFormats_[xf]);
    format = found != formats_.end() ? found->second : BuiltInFormat(xfFormats_[xf]);
    return true;
  }

  bool Put(Sheet& sheet, uint16_t row, uint16_t column, uint16_t xf, bool isNumber, double number,
           const std::string& text) {
    Cell cell;
    if (!FormatOf(xf, cell.format)) return false;
    cell.isNumber = isNumber;
    if (isNumber) {
      if (!std::isfinite(number)) return Fail("a number cell holds no finite number");
      cell.value = FormatNumber(number);
    } else {
      cell.value = text;
    }
    sheet.cells[CellAddress{column + 1, row + 1}] = cell;
    return true;
  }

  bool ReadSheet(uint32_t offset, Sheet& sheet) {
    size_t at = offset;
    if (at >= stream_.size()) return Fail("a sheet starts outside the stream");
    if (!Bof(at, kWorksheet)) return false;
    int depth = 0;  // blocks nested in the sheet (embedded charts)
    for (;;) {
      Record r;
      if (!Next(at, r)) return false;
      const std::string& d = r.data;
      if (r.id == kBof) {
        ++depth;
        continue;
      }
      if (r.id == kEof) {
        if (depth-- == 0) return true;
        continue;
      }
      if (depth > 0) continue;
      bool ok = true;
      switch (r.id) {
        case kLabelSst:
          if (d.size() < 10) return Fail("short text cell");
          if (U32(d, 6) >= strings_.size()) return Fail("a text cell names a string that does not exist");
          ok = Put(sheet, U16(d, 0), U16(d, 2), U16(d, 4), false, 0, strings_[U32(d, 6)]);
          break;
        case kLabel:
        case kRString: {
          if (d.size() < 6) return Fail("short text cell");
          RecordData data({d.substr(6)});
          std::string text;
          if (!data.String(false, text)) return Fail("bad text cell");
          ok = Put(sheet, U16(d, 0), U16(d, 2), U16(d, 4), false, 0, text);
          break;
        }
        case kNumber:
          if (d.size() < 14) return Fail("short number cell");
          ok = Put(sheet, U16(d, 0), U16(d, 2), U16(d, 4), true, F64(d, 6), "");
          break;
        case kRk:
          if (d.size() < 10) return Fail("short number cell");
          ok = Put(sheet, U16(d, 0), U16(d, 2), U16(d, 4), true, RkValue(U32(d, 6)), "");
          break;
        case kBlank:
          if (d.size() < 6) return Fail("short empty cell");
          ok = Put(sheet, U16(d, 0), U16(d, 2), U16(d, 4), false, 0, "");
          break;
        case kMulRk:
        case kMulBlank: {
          size_t each = r.id == kMulRk ? 6 : 2;
          if (d.size() < 6 || (d.size() - 6) % each) return Fail("bad run of cells");
          size_t count = (d.size() - 6) / each;
          uint16_t first = U16(d, 2);
          if (U16(d, d.size() - 2) != first + count - 1) return Fail("bad run of cells");
          for (size_t i = 0; i < count && ok; ++i) {
            size_t cell = 4 + i * each;
            uint16_t column = static_cast<uint16_t>(first + i);
            ok = r.id == kMulRk ? Put(sheet, U16(d, 0), column, U16(d, cell), true, RkValue(U32(d, cell + 2)), "")
                                : Put(sheet, U16(d, 0), column, U16(d, cell), false, 0, "");
          }
          break;
        }
        default:
          break;
      }
      if (!ok) return false;
    }
  }

  const std::string& stream_;
  WorkbookDocument& book_;
  std::string& error_;
  std::vector<SheetEntry> sheets_;
  std::vector<std::string> strings_;
  std::map<uint16_t, std::string> formats_;
  std::vector<uint16_t> xfFormats_;
};

}  // namespace

bool ReadXlsWorkbook(const std::string& bytes, WorkbookDocument& book, std::string& error) {
  book = WorkbookDocument();
  std::string stream, ignored;
  if (!ReadCompoundStream(bytes, "Workbook", stream, error)) {
    if (ReadCompoundStream(bytes, "Book", stream, ignored)) error = "an Excel 5.0/95 workbook, too old to read";
    return false;
  }
  Parser parser(stream, book, error);
  if (!parser.Run()) {
    book = WorkbookDocument();
    return false;
  }
  return ValidateWorkbook(book, error);
}

bool ReadWorkbookFile(const std::string& bytes, WorkbookDocument& book, std::string& error) {
  if (IsCompoundFile(bytes)) return ReadXlsWorkbook(bytes, book, error);
  size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  if (bytes.compare(start, 18, "XLSTANDIN-WORKBOOK") != 0) {
    book = WorkbookDocument();
    error = "not a workbook: neither an Excel 97-2003 workbook nor a stand-in workbook file";
    return false;
  }
  return ReadWorkbook(bytes, book, error);
}

}  // namespace spreadsheet
