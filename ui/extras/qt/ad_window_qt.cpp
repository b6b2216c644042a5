#include "ui/extras/qt/ad_window_qt.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "common/form/qt/window_support.h"
#include "ui/extras/qt/web_page.h"

namespace horalia::qt {
namespace {

int ClientWidth() {
    return form::TwipsToPixels(AdForm().clientWidth, kAdPixelDpi);
}
int ClientHeight() {
    return form::TwipsToPixels(AdForm().clientHeight, kAdPixelDpi);
}

bool IsWebLink(const QUrl& link) {
    const QString scheme = link.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

}  // namespace

// The close box (or the desktop's close command) unloads the window.
class AdWindow::Frame final : public QWidget {
  public:
    explicit Frame(std::function<void()> onClose) : onClose_(std::move(onClose)) {}

  protected:
    void closeEvent(QCloseEvent* event) override {
        event->accept();
        onClose_();
    }

  private:
    std::function<void()> onClose_;
};

ScreenArea PrimaryScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    return {screen->geometry(), screen->availableGeometry()};
}

int BottomPanelHeight(const ScreenArea& area) {
    const int screenBottom = area.geometry.y() + area.geometry.height();
    const int availableBottom = area.available.y() + area.available.height();
    if (area.available.isEmpty()) {
        return 0;
    }
    return std::clamp(screenBottom - availableBottom, 0, area.geometry.height());
}

AdWindow::AdWindow(EventPump& pump, UrlOpener& opener, std::string advertisementUrl,
                   std::function<ScreenArea()> screenArea)
    : opener_(opener),
      screenArea_(std::move(screenArea)),
      form_(*this, pump, opener, std::move(advertisementUrl), kSponsorUrl) {}

AdWindow::~AdWindow() {
    UnloadQuietly();
    delete closing_;
    delete closingLoader_;
}

void AdWindow::Load() {
    if (window_ != nullptr) {
        return;
    }
    auto* frame = new Frame([this] { Unload(); });
    const std::string_view caption = AdForm().caption;
    frame->setWindowTitle(
        QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    frame->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // It comes up while the user works elsewhere: it must not take the keyboard.
    frame->setAttribute(Qt::WA_ShowWithoutActivating);
    frame->setFont(TahomaFont());
    frame->setFixedSize(ClientWidth(), ClientHeight());
    window_ = frame;
    form_.Form_Load();
}

void AdWindow::UnloadQuietly() {
    form_.OpenSponsorOnClose = false;
    Unload();
}

void AdWindow::Unload() {
    if (window_ == nullptr) {
        return;
    }
    form_.Form_Unload();
    window_->hide();
    // It may be inside its own close event: deleted once that returns.
    delete closing_;
    closing_ = window_;
    window_->deleteLater();
    window_ = nullptr;
    browser_ = nullptr;
    ReleaseLoaderWhenIdle();
}

bool AdWindow::CreateBrowser() {
    browser_ = new HtmlView(window_, [this](const QUrl& link) {
        if (IsWebLink(link)) {
            opener_.Open(link.toString(QUrl::FullyEncoded).toStdString());
        }
    });
    const form::PixelRect r =
        form::ToPixels(form::FindControl(AdForm(), kAdBrowserId)->rect, kAdPixelDpi);
    browser_->setGeometry(r.left, r.top, r.width, r.height);
    loader_ = std::make_unique<PageLoader>([this](const WebPage& page) { OnPageComplete(page); });
    return true;
}

void AdWindow::Navigate(const std::string& url) {
    if (loader_ != nullptr) {
        loader_->Load(QUrl(QString::fromStdString(url)));
    }
}

void AdWindow::Hide() {
    window_->hide();
}

void AdWindow::Show() {
    window_->show();
}

std::int32_t AdWindow::TaskbarHeightPixels() {
    return BottomPanelHeight(screenArea_());
}

int AdWindow::ScreenWidthPixels() {
    return screenArea_().geometry.width();
}

int AdWindow::ScreenHeightPixels() {
    return screenArea_().geometry.height();
}

int AdWindow::OuterWidthPixels() {
    return window_->frameGeometry().width();
}

int AdWindow::OuterHeightPixels() {
    return window_->frameGeometry().height();
}

form::PixelRect AdWindow::AvailableAreaPixels() {
    const ScreenArea area = screenArea_();
    const QRect available = area.available.translated(-area.geometry.topLeft());
    return {available.x(), available.y(), available.width(), available.height()};
}

// Positions count from the screen's corner, which need not be the desktop's.
void AdWindow::MoveLeft(int twips) {
    window_->move(screenArea_().geometry.x() + TwipsToScreenPixels(twips), window_->pos().y());
}

void AdWindow::MoveTop(int twips) {
    window_->move(window_->pos().x(), screenArea_().geometry.y() + TwipsToScreenPixels(twips));
}

void AdWindow::OnPageComplete(const WebPage& page) {
    if (browser_ == nullptr) {
        return;
    }
    browser_->ShowPage(page);
    ++reportDepth_;
    form_.WebBrowser_广告_DocumentComplete();
    --reportDepth_;
    if (window_ == nullptr) {
        ReleaseLoaderWhenIdle();
    }
}

void AdWindow::ReleaseLoaderWhenIdle() {
    if (reportDepth_ == 0 && loader_ != nullptr) {
        // Still inside one of the loader's network events, perhaps: deleted once it returns.
        delete closingLoader_;
        closingLoader_ = loader_.release();
        closingLoader_->deleteLater();
    }
}

}  // namespace horalia::qt
