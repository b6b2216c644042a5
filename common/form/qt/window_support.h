// What the Qt windows share: twips at the screen's logical DPI, a dialog font that shows Chinese,
// and fixed, centred dialog windows.
#pragma once

#include <QDialog>
#include <QFont>
#include <QStringList>
#include <functional>
#include <utility>

class QWidget;

namespace horalia::qt {

// Logical dots per inch of the primary screen (96 when there is no screen).
double LogicalDpi();
// The same rounding as the form tables (form::TwipsToPixels).
int TwipsToPixels(int twips, double dpi);

// A font of the given faces and size; faces missing on the system fall back to the next, then to
// fontconfig's choice for Chinese text.
QFont DialogFont(const QStringList& faces, double points, bool underline = false);
// Tahoma 8.25 pt, the dialogs' design font, with Chinese faces behind it.
QFont TahomaFont();

// Places a child at a rectangle given in twips. A control too low for its text at this DPI
// (the design heights assume Windows' small fonts) grows about its centre line instead of
// clipping the text.
void PlaceInTwips(QWidget& widget, int left, int top, int width, int height, double dpi);
// The same for a rectangle in pixels.
void PlaceInPixels(QWidget& widget, int left, int top, int width, int height);

// Makes the window a fixed-size dialog of the given client size, centred on the screen.
void FixClientSizeCentred(QWidget& window, int width, int height);

// A dialog whose Esc and close box (both QDialog::reject) run the given action, so that a
// presenter's cancel action decides what closing means.
class CancelForwardingDialog final : public QDialog {
  public:
    explicit CancelForwardingDialog(std::function<void()> onCancel, QWidget* parent = nullptr)
        : QDialog(parent), onCancel_(std::move(onCancel)) {}
    void reject() override { onCancel_(); }

  private:
    std::function<void()> onCancel_;
};

}  // namespace horalia::qt
