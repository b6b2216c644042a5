// Value.ini as the kernel32 profile functions leave it after one apply of the settings dialog
// followed by one advertisement date: GBK key names, CR LF line ends. Both platforms' backends
// must write exactly these bytes and read them back alike.
#pragma once

#include <string>

namespace horalia::testing {

inline const std::string kAppliedValueIni =
    "[Horalia]\r\n"
    "\xB1\xA8\xCA\xB1\xC9\xE8\xD6\xC3"  // 报时设置
    "=1\r\n"
    "\xB8\xF1\xCA\xBD\xC9\xE8\xD6\xC3"  // 格式设置
    "=2\r\n"
    "\xB9\xE3\xB8\xE6\xC9\xE8\xD6\xC3"  // 广告设置
    "=1\r\n"
    "\xB9\xD8\xB1\xD5\xB1\xA8\xCA\xB1"  // 关闭报时
    "=0\r\n"
    "\xD7\xD4\xB6\xAF\xD0\xA3\xCA\xB1"  // 自动校时
    "=1\r\n"
    "\xB9\xE3\xB8\xE6\xC8\xD5\xC6\xDA"  // 广告日期
    "=2026|12|06\r\n";

}  // namespace horalia::testing
