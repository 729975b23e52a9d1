#include "client/portable/ReportNaming.h"

#include <cstdio>

#include "client/portable/FileNameText.h"
#include "common/portable/NameCharacters.h"

void AdvanceProcessingDay(const std::string& captureDate, std::string& day, int& counter) {
  if (day < captureDate) {
    day = captureDate;
    counter = kFirstDailyCounter;
  }
}

int NextDailyCounter(int counter) { return counter < kLastDailyCounter ? counter + 1 : kFirstDailyCounter; }

std::string ReportBaseName(const std::string& terminal, const std::string& captureDate,
                           const std::string& captureTime, int counter) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%.3d", counter);
  return WithoutNameCharacters(terminal) + captureDate + captureTime + digits;
}

std::string ReportFileName(const std::string& project, const std::string& baseName) {
  const std::string cleaned = WithoutNameCharacters(project);
  return cleaned.empty() ? baseName : cleaned + "_" + baseName;
}

std::string CaptureExtension(const std::string& captureName) {
  return captureName.size() <= 4 ? captureName : captureName.substr(captureName.size() - 4);
}

std::string ReportDayFolder(const std::string& localDir, const std::string& day) { return localDir + day + "\\"; }

std::string ReportTagFolder(const std::string& localDir, const std::string& day) {
  return localDir + day + "tag\\";
}

std::string TagFileName(const std::string& reportName, const std::string& title) {
  std::string cleaned;
  fncCleanFileName(title, cleaned);
  return reportName + "_" + cleaned + ".tag";
}

bool PathFits(const std::string& path) { return path.size() <= kMaxPathBytes; }
