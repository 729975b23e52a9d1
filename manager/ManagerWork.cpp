#include "manager/ManagerWork.h"

#include "manager/ManagerLog.h"

int ManagerWork::depth_ = 0;

ManagerWork::ManagerWork(const std::string& what) {
  if (Running()) {
    fncWriteSysLog(what + "<-処理中のため実行しません");
    return;
  }
  taken_ = true;
  ++depth_;
}

ManagerWork::~ManagerWork() {
  if (taken_) --depth_;
}

bool ManagerWork::RefuseClose() {
  if (!Running()) return false;
  fncWriteSysLog("処理中のため終了しません");
  return true;
}
