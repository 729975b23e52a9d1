#include "client/CaptureState.h"

#include "client/Global.h"
#include "client/RegistrationHandoff.h"

CaptureQueue gCaptureQueue;
std::string gCurrentCapture;
std::string gCaptureDate;
std::string gCaptureTime;
std::string gSubmitDisplayDate;
std::string gOccurDisplayDate;
std::string gCaptureTitle;
std::vector<std::string> gCaptureDetails;
std::vector<std::string> gCaptureOperations;
std::vector<std::string> gProjectList{""};
bool gProjectListFetched = false;

std::string CurrentCapturePath() { return gDataDir + kestro::kTempFolder + gCurrentCapture; }
RegistrationHandoff* gRegistration = nullptr;
