// The tray icon's popup menu: its eleven entries in order, their captions and fixed states.
#pragma once

#include <array>
#include <cstdint>

namespace horalia {

enum class TrayMenuEntry : std::uint8_t {
    托盘图标_关闭报时,
    托盘图标_开机启动,
    托盘图标_分隔符0,
    托盘图标_网络校时,
    托盘图标_分隔符1,
    托盘图标_参数设置,
    托盘图标_分隔符2,
    托盘图标_意见反馈,
    托盘图标_关于,
    托盘图标_分隔符3,
    托盘图标_退出程序,
};

struct TrayMenuItem {
    TrayMenuEntry entry;
    const char* caption;  // UTF-8; '&' marks the access key; "-" is a separator
    bool separator;
    bool selectable;  // 关闭报时 only shows its check mark, greyed
};

inline constexpr std::array<TrayMenuItem, 11> kTrayMenu{{
    {TrayMenuEntry::托盘图标_关闭报时, "关闭报时[&C]", false, false},
    {TrayMenuEntry::托盘图标_开机启动, "开机启动[&R]", false, true},
    {TrayMenuEntry::托盘图标_分隔符0, "-", true, false},
    {TrayMenuEntry::托盘图标_网络校时, "网络校时[&T]", false, true},
    {TrayMenuEntry::托盘图标_分隔符1, "-", true, false},
    {TrayMenuEntry::托盘图标_参数设置, "参数设置[&S]", false, true},
    {TrayMenuEntry::托盘图标_分隔符2, "-", true, false},
    {TrayMenuEntry::托盘图标_意见反馈, "意见反馈[&F]", false, true},
    {TrayMenuEntry::托盘图标_关于, "关于[&A]", false, true},
    {TrayMenuEntry::托盘图标_分隔符3, "-", true, false},
    {TrayMenuEntry::托盘图标_退出程序, "退出程序[&E]", false, true},
}};

// The caption of the popup's own top-level entry, never shown as a menu bar.
inline constexpr char kTrayMenuTitle[] = "托盘图标";

// The entry's index in kTrayMenu, which is also its command number in the shells.
constexpr int TrayMenuIndex(TrayMenuEntry entry) {
    return static_cast<int>(entry);
}

}  // namespace horalia
