#include "spreadsheet/portable/WorkbookFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace spreadsheet {

namespace {

const char kHeader[] = "XLSTANDIN-WORKBOOK 1";

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

bool Unescape(const std::string& text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return false;
    }
  }
  return true;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

bool ParseInt(const std::string& text, int& value) {
  double number;
  if (!ParseNumber(text, number) || number != std::floor(number) || std::fabs(number) > 2147483647.0) return false;
  value = static_cast<int>(number);
  return true;
}

bool ValidatePicture(const Picture& p, std::string& error) {
  if (p.source.empty()) {
    error = "picture without a source";
    return false;
  }
  if (!(p.width >= 0 && p.height >= 0 && std::isfinite(p.left) && std::isfinite(p.top) && std::isfinite(p.width) &&
        std::isfinite(p.height))) {
    error = "picture with a negative or invalid size or position";
    return false;
  }
  return true;
}

}  // namespace

std::string FormatNumber(double value) {
  if (value == 0) return "0";
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

bool ParseNumber(const std::string& text, double& value) {
  size_t i = 0, n = text.size();
  if (i < n && (text[i] == '-' || text[i] == '+')) ++i;
  size_t digits = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '-' || text[i] == '+')) ++i;
    size_t exponent = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++exponent;
    if (exponent == 0) return false;
  }
  if (i != n) return false;
  value = std::strtod(text.c_str(), nullptr);
  return std::isfinite(value);
}

std::string WriteWorkbook(const WorkbookDocument& book) {
  std::string out = std::string(kHeader) + "\n";
  if (!book.password.empty()) out += "PASSWORD\t" + Escape(book.password) + "\n";
  for (const Sheet& sheet : book.sheets) {
    out += "SHEET\t" + Escape(sheet.name) + "\n";
    // The page counts are kept only where they count: without a zoom.
    const PageSetup& setup = sheet.pageSetup;
    out += "PAGESETUP\t" + std::to_string(setup.orientation) + "\t" +
           (setup.zoom == 0 ? std::to_string(setup.fitToPagesWide) + "\t" + std::to_string(setup.fitToPagesTall) + "\tFalse"
                            : "\t\t" + std::to_string(setup.zoom)) +
           "\n";
    for (const auto& [address, cell] : sheet.cells)
      out += "CELL\t" + FormatCellAddress(address) + "\t" + Escape(cell.format) + "\t" + (cell.isFormula ? "f" : cell.isNumber ? "n" : "s") +
             "\t" + Escape(cell.value) + "\n";
    for (const Picture& p : sheet.pictures)
      out += "PICTURE\t" + FormatNumber(p.left) + "\t" + FormatNumber(p.top) + "\t" + FormatNumber(p.width) + "\t" +
             FormatNumber(p.height) + "\t" + Escape(p.source) + "\t" + (p.embedded ? "embedded" : "linked") + "\n";
    for (const Hyperlink& h : sheet.hyperlinks)
      out += "LINK\t" + FormatCellAddress(h.anchor) + "\t" + Escape(h.address) + "\t" + Escape(h.subAddress) + "\t" +
             Escape(h.text) + "\n";
  }
  return out;
}

bool ReadWorkbook(const std::string& text, WorkbookDocument& book, std::string& error) {
  book = WorkbookDocument();
  size_t start = 0;
  int lineNumber = 0;
  bool headerSeen = false;
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(lineNumber) + ": " + why;
    return false;
  };
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!headerSeen) {
      if (line.size() >= 3 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
      if (line != kHeader) return fail("not a workbook (expected \"" + std::string(kHeader) + "\")");
      headerSeen = true;
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> raw = SplitTabs(line);
    std::vector<std::string> f(raw.size());
    for (size_t i = 0; i < raw.size(); ++i)
      if (!Unescape(raw[i], f[i])) return fail("bad escape sequence");
    const std::string& kind = f[0];
    auto need = [&](size_t count) { return f.size() == count; };
    if (kind == "PASSWORD") {
      if (!need(2) || !book.sheets.empty()) return fail("PASSWORD takes one field and comes before the sheets");
      book.password = f[1];
    } else if (kind == "SHEET") {
      if (!need(2)) return fail("SHEET takes one field");
      book.sheets.push_back(Sheet());
      book.sheets.back().name = f[1];
    } else if (book.sheets.empty()) {
      return fail(kind + " before the first SHEET");
    } else if (kind == "PAGESETUP") {
      // Older files have no zoom field: their page counts are in force.
      PageSetup& p = book.sheets.back().pageSetup;
      p.zoom = 0;
      const bool zoomed = need(5) && f[4] != "False";
      if ((!need(4) && !need(5)) || !ParseInt(f[1], p.orientation) ||
          (zoomed ? !f[2].empty() || !f[3].empty() || !ParseInt(f[4], p.zoom)
                  : !ParseInt(f[2], p.fitToPagesWide) || !ParseInt(f[3], p.fitToPagesTall)))
        return fail("PAGESETUP takes an orientation, two page counts and False, or two empty fields and a zoom");
    } else if (kind == "CELL") {
      CellAddress address;
      if (!need(5)) return fail("CELL takes four fields");
      if (!ParseCellAddress(f[1], address)) return fail("bad cell address '" + f[1] + "'");
      if (f[3] != "s" && f[3] != "n" && f[3] != "f") return fail("cell kind must be s, n or f");
      Cell cell;
      cell.format = f[2];
      cell.isNumber = f[3] == "n";
      cell.isFormula = f[3] == "f";
      cell.value = f[4];
      if (cell.isFormula && cell.value.compare(0, 1, "=") != 0) return fail("a formula starts with '='");
      double number;
      if (cell.isNumber && !ParseNumber(cell.value, number)) return fail("bad number '" + cell.value + "'");
      if (!book.sheets.back().cells.emplace(address, cell).second) return fail("cell " + f[1] + " given twice");
    } else if (kind == "PICTURE") {
      // Older files have no last field: only pasted pictures were embedded.
      Picture p;
      if ((!need(6) && !need(7)) || !ParseNumber(f[1], p.left) || !ParseNumber(f[2], p.top) ||
          !ParseNumber(f[3], p.width) || !ParseNumber(f[4], p.height) ||
          (need(7) && f[6] != "embedded" && f[6] != "linked"))
        return fail("PICTURE takes left, top, width, height, a source and embedded or linked");
      p.source = f[5];
      p.embedded = need(7) ? f[6] == "embedded" : p.source == "<clipboard>";
      book.sheets.back().pictures.push_back(p);
    } else if (kind == "LINK") {
      Hyperlink h;
      if (!need(5) || !ParseCellAddress(f[1], h.anchor)) return fail("LINK takes a cell, address, sub-address and text");
      h.address = f[2];
      h.subAddress = f[3];
      h.text = f[4];
      book.sheets.back().hyperlinks.push_back(h);
    } else {
      return fail("unknown record '" + kind + "'");
    }
  }
  if (!headerSeen) {
    lineNumber = 1;
    return fail("empty file");
  }
  return ValidateWorkbook(book, error);
}

bool ValidateWorkbook(const WorkbookDocument& book, std::string& error) {
  if (book.sheets.empty()) {
    error = "a workbook needs at least one sheet";
    return false;
  }
  for (size_t i = 0; i < book.sheets.size(); ++i) {
    const Sheet& sheet = book.sheets[i];
    if (!IsValidSheetName(sheet.name, error)) return false;
    for (size_t j = 0; j < i; ++j)
      if (SameSheetName(book.sheets[j].name, sheet.name)) {
        error = "sheet name given twice: '" + sheet.name + "'";
        return false;
      }
    const PageSetup& p = sheet.pageSetup;
    if ((p.orientation != 1 && p.orientation != 2) || p.fitToPagesWide < 0 || p.fitToPagesTall < 0 ||
        p.fitToPagesWide > 32767 || p.fitToPagesTall > 32767 || (p.zoom != 0 && (p.zoom < 10 || p.zoom > 400))) {
      error = "page set-up out of range on sheet '" + sheet.name + "'";
      return false;
    }
    for (const Picture& picture : sheet.pictures)
      if (!ValidatePicture(picture, error)) return false;
    for (const auto& [address, cell] : sheet.cells) {
      double number;
      if (address.column < 1 || address.row < 1 || address.column > kMaxColumn || address.row > kMaxRow ||
          (cell.isNumber && !ParseNumber(cell.value, number))) {
        error = "bad cell " + FormatCellAddress(address) + " on sheet '" + sheet.name + "'";
        return false;
      }
    }
  }
  return true;
}

}  // namespace spreadsheet
