#include "ui/extras/qt/web_page.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace horalia::qt {
namespace {

// Parsing the page must not read anything: a style sheet named by a relative address would
// otherwise be looked up in the current folder.
class ParseOnlyDocument final : public QTextDocument {
  public:
    QVariant loadResource(int, const QUrl&) override { return QByteArray(); }
};

QString CharsetOf(const QString& contentType) {
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*\"?([^\";\\s]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    return charset.match(contentType).captured(1);
}

bool MayShowImageFrom(const QUrl& image, const QUrl& page) {
    const QString scheme = image.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("data")) {
        return true;
    }
    return scheme == QLatin1String("file") && page.isLocalFile();
}

}  // namespace

QString DecodeHtml(const QByteArray& data, const QString& contentType) {
    const QString charset = CharsetOf(contentType);
    if (!charset.isEmpty()) {
        QStringDecoder named(charset.toLatin1().constData());
        if (named.isValid()) {
            return named.decode(data);
        }
    }
    QStringDecoder fromPage = QStringDecoder::decoderForHtml(data);
    if (fromPage.isValid()) {
        return fromPage.decode(data);
    }
    return QString::fromUtf8(data);
}

QList<QUrl> ImageAddresses(const QString& html, const QUrl& pageUrl) {
    ParseOnlyDocument document;
    document.setHtml(html);
    QList<QUrl> addresses;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) {
                continue;
            }
            const QUrl address = pageUrl.resolved(QUrl(format.toImageFormat().name()));
            if (MayShowImageFrom(address, pageUrl) && !addresses.contains(address) &&
                addresses.size() < kMaxImages) {
                addresses.append(address);
            }
        }
    }
    return addresses;
}

PageLoader::PageLoader(std::function<void(const WebPage&)> onComplete)
    : onComplete_(std::move(onComplete)) {
    network_.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

void PageLoader::Load(const QUrl& url) {
    const int generation = ++generation_;
    page_ = WebPage{url, {}, {}};
    pendingImages_ = 0;
    QNetworkReply* reply = Get(url, kMaxPageBytes);
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, generation] { OnPage(reply, generation); });
}

// A reply that grows past maxBytes is aborted, and so fails.
QNetworkReply* PageLoader::Get(const QUrl& url, qint64 maxBytes) {
    QNetworkRequest request(url);
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply* reply = network_.get(request);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, maxBytes](qint64 received) {
        if (received > maxBytes) {
            reply->abort();
        }
    });
    return reply;
}

void PageLoader::OnPage(QNetworkReply* reply, int generation) {
    reply->deleteLater();
    if (generation != generation_ || reply->error() != QNetworkReply::NoError) {
        return;
    }
    page_.url = reply->url();  // after any redirection
    page_.html =
        DecodeHtml(reply->readAll(), reply->header(QNetworkRequest::ContentTypeHeader).toString());
    const QList<QUrl> images = ImageAddresses(page_.html, page_.url);
    pendingImages_ = static_cast<int>(images.size());
    for (const QUrl& image : images) {
        QNetworkReply* imageReply = Get(image, kMaxImageBytes);
        connect(imageReply, &QNetworkReply::finished, this,
                [this, imageReply, image, generation] { OnImage(imageReply, image, generation); });
    }
    CompleteWhenAllArrived();
}

// An image that cannot be fetched is left out, as a browser shows the page without it.
void PageLoader::OnImage(QNetworkReply* reply, const QUrl& url, int generation) {
    reply->deleteLater();
    if (generation != generation_) {
        return;
    }
    if (reply->error() == QNetworkReply::NoError) {
        page_.images.insert(url, reply->readAll());
    }
    --pendingImages_;
    CompleteWhenAllArrived();
}

void PageLoader::CompleteWhenAllArrived() {
    if (pendingImages_ == 0) {
        onComplete_(page_);
    }
}

HtmlView::HtmlView(QWidget* parent, std::function<void(const QUrl&)> onLink)
    : QTextBrowser(parent) {
    setOpenLinks(false);
    setFrameShape(QFrame::NoFrame);
    connect(this, &QTextBrowser::anchorClicked, this,
            [onLink = std::move(onLink)](const QUrl& link) { onLink(link); });
}

void HtmlView::ShowPage(const WebPage& page) {
    images_ = page.images;
    document()->setBaseUrl(page.url);
    setHtml(page.html);
}

// Anything the page did not bring (a local file, a style sheet) is empty rather than looked up.
QVariant HtmlView::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::ImageResource) {
        const auto found = images_.constFind(name);
        if (found != images_.constEnd()) {
            return *found;
        }
    }
    return QByteArray();
}

}  // namespace horalia::qt
