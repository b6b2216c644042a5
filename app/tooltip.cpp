#include "app/tooltip.h"

#include "calendar/chinese_calendar.h"
#include "common/identity.h"

namespace horalia {

std::string TrayToolTipText(const Moment& now, const LocaleText& locale, int lunarMode) {
    std::string text = kMainWindowTitle;
    text += "\r\n鼠标右键单击：菜单";
    text += "\r\n鼠标左键单击：报时";
    text += "\r\n" + locale.ShortDate(now);
    const bool midnight = now.hour == 0 && now.minute == 0 && now.second == 0;
    if (!midnight) {
        text += " " + locale.LongTime(now);
    }
    if (const std::string lunar = LunarDateLine(now.year, now.month, now.day, lunarMode);
        !lunar.empty()) {
        text += "\r\n" + lunar;
    }
    return text;
}

}  // namespace horalia
