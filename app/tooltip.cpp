#include "app/tooltip.h"

#include "common/identity.h"

namespace horalia {

std::string TrayToolTipText(const Moment& now, const LocaleText& locale) {
    std::string text = kMainWindowTitle;
    text += "\r\n鼠标右键单击：菜单";
    text += "\r\n鼠标左键单击：报时";
    text += "\r\n" + locale.ShortDate(now);
    const bool midnight = now.hour == 0 && now.minute == 0 && now.second == 0;
    if (!midnight) {
        text += " " + locale.LongTime(now);
    }
    return text;
}

}  // namespace horalia
