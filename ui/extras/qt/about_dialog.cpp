#include "ui/extras/qt/about_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <functional>

#include "common/form/qt/window_support.h"

namespace horalia::qt {
namespace {

constexpr double kLinkPoints = 9;
constexpr int kSideButtons = 8;  // any button beyond left, right and middle

QRect PixelsOf(const TwipsRect& r, double dpi) {
    return {TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi), TwipsToPixels(r.width, dpi),
            TwipsToPixels(r.height, dpi)};
}

QLabel* Label(QWidget* parent, const std::string& text, const TwipsRect& at, bool sizedToText,
              const QFont& font, QColor colour, double dpi) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setGeometry(PixelsOf(at, dpi));
    if (sizedToText) {
        label->resize(label->sizeHint());
    }
    return label;
}

}  // namespace

int ButtonState(Qt::MouseButtons buttons) {
    int state = 0;
    if (buttons & Qt::LeftButton) {
        state |= kLeftButton;
    }
    if (buttons & Qt::RightButton) {
        state |= kRightButton;
    }
    if (buttons & Qt::MiddleButton) {
        state |= kMiddleButton;
    }
    if (buttons & ~(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton)) {
        state |= kSideButtons;
    }
    return state;
}

// Draws the etched separator above the button row.
class AboutDialog::Box final : public QDialog {
  protected:
    void paintEvent(QPaintEvent* event) override {
        QDialog::paintEvent(event);
        QPainter painter(this);
        const double dpi = LogicalDpi();
        for (const TwipsLine& line : frmAbout::Layout().Line1) {
            QPen pen(QColor(line.red, line.green, line.blue));
            pen.setWidth(std::max(1, static_cast<int>(line.widthPixels * dpi / 96)));
            painter.setPen(pen);
            painter.drawLine(TwipsToPixels(line.x1, dpi), TwipsToPixels(line.y1, dpi),
                             TwipsToPixels(line.x2, dpi), TwipsToPixels(line.y2, dpi));
        }
    }
};

// Hands each press to frmAbout with the buttons held at that moment.
class AboutDialog::LinkLabel final : public QLabel {
  public:
    explicit LinkLabel(std::function<void(int)> onPress) : onPress_(std::move(onPress)) {}

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        onPress_(ButtonState(event->buttons()));
        event->accept();
    }

  private:
    std::function<void(int)> onPress_;
};

AboutDialog::AboutDialog(UrlOpener& opener, QIcon icon) : opener_(opener), icon_(std::move(icon)) {}

AboutDialog::~AboutDialog() {
    delete window_;
}

void AboutDialog::Show() {
    if (window_ == nullptr) {
        form_.emplace(opener_);
        form_->Form_Load();
        window_ = new Box;
        // Closed by its button, Enter, Esc or the close box: gone, and loaded afresh next time.
        QObject::connect(window_, &QDialog::finished, window_, &QObject::deleteLater);
        CreateControls();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void AboutDialog::Unload() {
    delete window_.data();
}

void AboutDialog::CreateControls() {
    const AboutBoxLayout& layout = frmAbout::Layout();
    const AboutTexts& texts = form_->Texts();
    const double dpi = LogicalDpi();
    window_->setWindowTitle(QString::fromStdString(texts.caption));
    window_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                            Qt::MSWindowsFixedSizeDialogHint);
    window_->setWindowIcon(QIcon());
    window_->setFont(TahomaFont());
    FixClientSizeCentred(*window_, TwipsToPixels(layout.clientWidth, dpi),
                         TwipsToPixels(layout.clientHeight, dpi));

    // cmdOK is both the default and the cancel button: Enter reaches it, Esc rejects the dialog.
    auto* ok = new QPushButton(QString::fromStdString(texts.okCaption), window_);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    ok->setGeometry(PixelsOf(layout.cmdOK, dpi));
    QObject::connect(ok, &QPushButton::clicked, window_, &QDialog::accept);

    auto* picture = new QLabel(window_);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setGeometry(PixelsOf(layout.picIcon, dpi));
    const QIcon icon = icon_.isNull() ? QApplication::windowIcon() : icon_;
    picture->setPixmap(icon.pixmap(picture->size()));
    picture->setAlignment(Qt::AlignCenter);

    const QFont font = TahomaFont();
    const QColor black(0, 0, 0);
    QString description = QString::fromStdString(texts.description);
    description.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QLabel* text = Label(window_, {}, layout.lblDescription, false, font, black, dpi);
    text->setText(description);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setObjectName(QStringLiteral("lblDescription"));
    Label(window_, texts.disclaimer, layout.lblDisclaimer, true, font, black, dpi)
        ->setObjectName(QStringLiteral("lblDisclaimer"));
    Label(window_, texts.title, layout.lblTitle, true, font, black, dpi)
        ->setObjectName(QStringLiteral("lblTitle"));
    Label(window_, texts.version, layout.lblVersion, true, font, black, dpi)
        ->setObjectName(QStringLiteral("lblVersion"));

    auto* link =
        new LinkLabel([this](int buttons) { form_->Label_链接官方网站_MouseDown(buttons); });
    link->setParent(window_);
    link->setObjectName(QStringLiteral("Label_链接官方网站"));
    link->setTextFormat(Qt::PlainText);
    link->setText(QString::fromStdString(texts.link));
    link->setFont(
        DialogFont({QStringLiteral("SimSun"), QStringLiteral("宋体")}, kLinkPoints, true));
    QPalette blue = link->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    link->setPalette(blue);
    link->setCursor(Qt::PointingHandCursor);
    link->setGeometry(PixelsOf(layout.Label_链接官方网站, dpi));
    // Sized to its text, but a long address must not run under the button beside it.
    const int gap = TwipsToPixels(60, dpi);
    link->resize(std::min(link->sizeHint().width(), ok->x() - gap - link->x()),
                 link->sizeHint().height());
    ok->setFocus();
}

}  // namespace horalia::qt
