// State of the capture being handled, shared by the main form, the
// registration form and report saving.
#pragma once
#include <string>
#include <vector>

#include "client/portable/CaptureQueue.h"

extern CaptureQueue gCaptureQueue;
extern std::string gCurrentCapture;       // name of the capture being handled
extern std::string gCaptureDate;          // yyyymmdd, local time of the capture file
extern std::string gCaptureTime;          // hhnnss
extern std::string gSubmitDisplayDate;    // "yyyy/mm/dd (曜日)": submission date field
extern std::string gOccurDisplayDate;     // the same: occurrence date field
extern std::string gCaptureTitle;         // per-capture fields of the registration form
extern std::vector<std::string> gCaptureDetails;
extern std::vector<std::string> gCaptureOperations;
extern std::vector<std::string> gProjectList;  // entry 0 is empty
extern bool gProjectListFetched;         // the server's list was fetched in this run

// <data>temp\ + current capture.
std::string CurrentCapturePath();
