// Date picker (DATETIMEPICK_CLASS) showing a short date, without a time.
#pragma once
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "forms/Control.h"

namespace forms {

class DateTimePicker : public Control {
 public:
  bool Create(HWND parent, int x, int y, int width, int height, int id) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    return Control::Create(parent, DATETIMEPICK_CLASSA, "", WS_VISIBLE | WS_TABSTOP | DTS_SHORTDATEFORMAT, x, y,
                           width, height, id);
  }
  // The day shown as "yyyymmdd".
  std::string Date() const {
    SYSTEMTIME st{};
    Send(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    char text[16];
    std::snprintf(text, sizeof text, "%04u%02u%02u", st.wYear, st.wMonth, st.wDay);
    return text;
  }
  bool SetDate(int year, int month, int day) const {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    return Send(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)) != FALSE;
  }
};

}  // namespace forms
