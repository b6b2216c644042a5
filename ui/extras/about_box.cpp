#include "ui/extras/about_box.h"

#include "common/identity.h"
#include "ui/extras/urls.h"

namespace horalia {
namespace {

// The label shows major.minor.0.revision; the revision is the version's fourth number.
constexpr int kVersionMajor = HORALIA_VERSION_MAJOR;
constexpr int kVersionMinor = HORALIA_VERSION_MINOR;
constexpr int kVersionRevision = HORALIA_VERSION_TWEAK;

constexpr char kDescription[] =
    "一款用中文语音为您报时的免费软件。\r\n"
    "同时还具有利用英特网时间服务器校准本地时间的功能。该软件功能简明扼要，安装删除均很简单是一"
    "款绿色软件。\r\n"
    "软件运行以图标形式显示在桌面系统托盘上。\r\n"
    "到达设定时间时就有女童为您报告时间，或者，您用鼠标左键点击图标也有女童声为您报告当前时间，"
    "用鼠标右键点击图标则弹出菜单，\r\n"
    "您可以进入设置界面，进行有关项目的设置，如设定报时规则、网络校时、等等。";

// The texts the box has before its load handler runs.
AboutTexts DesignTexts() {
    AboutTexts t;
    t.title = "应用程序标题";
    t.version = "版本";
    t.description = kDescription;
    t.disclaimer = "官方网站：";
    t.link = kVendorSiteUrl;
    t.okCaption = "确定";
    return t;
}

}  // namespace

std::string VersionLabel(int major, int minor, int revision) {
    return "版本 " + std::to_string(major) + "." + std::to_string(minor) + ".0." +
           std::to_string(revision);
}

frmAbout::frmAbout(UrlOpener& opener) : opener_(opener), texts_(DesignTexts()) {}

void frmAbout::Form_Load() {
    texts_.caption = std::string("关于 ") + kProgramName;
    texts_.version = VersionLabel(kVersionMajor, kVersionMinor, kVersionRevision);
    texts_.title = kProgramName;
}

void frmAbout::Label_链接官方网站_MouseDown(int button) {
    if (button == kLeftButton) {
        opener_.Open(texts_.link);
    }
}

const AboutBoxLayout& frmAbout::Layout() {
    static const AboutBoxLayout layout;
    return layout;
}

}  // namespace horalia
