// Which names of the report store the catalogue takes in. Names come from
// a server listing or a shared folder and are not trusted.
// Report: [<project>_]<creator><yyyymmdd><hhnnss><NNN>.<ext>
// Tag:    <report name without .<ext>>_<comment>.tag
#pragma once
#include <string>

// The one name rule (IsPlainFileName, common/portable/NameCharacters.h):
// no path part, no device name, no control character.
bool IsSafeStoreName(const std::string& name);

// A safe name of the report pattern: a head that neither begins with a
// blank nor begins or ends with "_", 17 digits (date, time, counter), a
// dot and a three-character extension.
bool IsReportFileName(const std::string& name);

// A safe name ending in ".tag" (any case): "x.tag.tmp" of an upload in
// progress is none.
bool IsTagFileName(const std::string& name);
