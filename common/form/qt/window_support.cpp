#include "common/form/qt/window_support.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "common/form/form.h"

namespace horalia::qt {
namespace {

constexpr double kDefaultDpi = 96;

// Faces tried after the design face, so that Chinese captions never show as boxes.
const QStringList& ChineseFallbackFaces() {
    static const QStringList faces{QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun"),
                                   QStringLiteral("WenQuanYi Micro Hei"),
                                   QStringLiteral("Noto Sans CJK SC"),
                                   QStringLiteral("Droid Sans Fallback")};
    return faces;
}

}  // namespace

double LogicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || screen->logicalDotsPerInch() <= 0) {
        return kDefaultDpi;
    }
    return screen->logicalDotsPerInch();
}

int TwipsToPixels(int twips, double dpi) {
    return form::TwipsToPixels(twips, dpi);
}

QFont DialogFont(const QStringList& faces, double points, bool underline) {
    QFont font;
    font.setFamilies(faces + ChineseFallbackFaces());
    font.setPointSizeF(points);
    font.setUnderline(underline);
    return font;
}

QFont TahomaFont() {
    return DialogFont({QStringLiteral("Tahoma")}, 8.25);
}

void PlaceInTwips(QWidget& widget, int left, int top, int width, int height, double dpi) {
    PlaceInPixels(widget, TwipsToPixels(left, dpi), TwipsToPixels(top, dpi),
                  TwipsToPixels(width, dpi), TwipsToPixels(height, dpi));
}

void PlaceInPixels(QWidget& widget, int left, int top, int width, int height) {
    const int h = std::max(height, widget.sizeHint().height());
    widget.setGeometry(left, top - (h - height) / 2, width, h);
}

void FixClientSizeCentred(QWidget& window, int width, int height) {
    window.setFixedSize(width, height);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        window.move(area.center() - QPoint(width / 2, height / 2));
    }
}

}  // namespace horalia::qt
