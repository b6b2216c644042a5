// frmAbout: the about box's texts, layout (twips) and the link label's mouse rule.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/extras/url_opener.h"

namespace horalia {

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct TwipsLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    int widthPixels = 1;
};

struct AboutBoxLayout {
    int clientWidth = 5730;
    int clientHeight = 3090;
    TwipsRect cmdOK{4125, 2655, 1500, 345};
    TwipsRect picIcon{150, 60, 720, 720};
    TwipsRect lblDescription{150, 870, 5415, 1620};
    TwipsRect lblDisclaimer{255, 2745, 900, 180};
    TwipsRect lblTitle{1080, 150, 1080, 180};
    TwipsRect lblVersion{1080, 510, 360, 180};
    TwipsRect Label_链接官方网站{1170, 2730, 2880, 180};
    // The etched separator above the button row: Line1(0) white, Line1(1) grey just above it.
    std::array<TwipsLine, 2> Line1{{
        {105, 2550, 5654, 2550, 255, 255, 255, 2},
        {90, 2535, 5654, 2535, 128, 128, 128, 1},
    }};
};

// Mouse button bits as the link label's handler receives them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

struct AboutTexts {
    std::string caption;      // "关于 Horalia"
    std::string title;        // lblTitle
    std::string version;      // lblVersion: "版本 3.0.0.0"
    std::string description;  // lblDescription: five lines joined by CR LF
    std::string disclaimer;   // lblDisclaimer
    std::string link;         // Label_链接官方网站: shown and opened
    std::string okCaption;    // cmdOK
};

// "版本 " + major + "." + minor + ".0." + revision.
std::string VersionLabel(int major, int minor, int revision);

class frmAbout {
  public:
    explicit frmAbout(UrlOpener& opener);

    // The load handler: caption, title and version from the program's own data.
    void Form_Load();
    // Opens the link only for the left button alone.
    void Label_链接官方网站_MouseDown(int button);

    const AboutTexts& Texts() const { return texts_; }
    static const AboutBoxLayout& Layout();

  private:
    UrlOpener& opener_;
    AboutTexts texts_;
};

}  // namespace horalia
