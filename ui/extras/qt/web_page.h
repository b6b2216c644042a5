// The advertisement window's light browser: a page and its images fetched with Qt Network, shown
// in a QTextBrowser. No scripts run, and nothing is read that the page did not bring with it.
#pragma once

#include <QHash>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <functional>

namespace horalia::qt {

struct WebPage {
    QUrl url;
    QString html;
    QHash<QUrl, QByteArray> images;  // by address, resolved against the page's
};

inline constexpr int kMaxImages = 32;

// The text of an HTML page: in the charset its Content-Type names, else the one its <meta> tag
// names, else UTF-8.
QString DecodeHtml(const QByteArray& data, const QString& contentType);

// The addresses of the page's <img> elements, resolved against its own address; only those a
// page from there may show (no local files for a page from the network), at most kMaxImages.
QList<QUrl> ImageAddresses(const QString& html, const QUrl& pageUrl);

// Fetches a page, then its images; reports the page when the last image has arrived or failed.
// A page that cannot be fetched is never reported.
class PageLoader final : public QObject {
  public:
    static constexpr qint64 kMaxPageBytes = 1 << 20;
    static constexpr qint64 kMaxImageBytes = 4 << 20;
    static constexpr int kTimeoutMs = 30000;

    explicit PageLoader(std::function<void(const WebPage&)> onComplete);

    // Starts afresh; a load still under way is forgotten.
    void Load(const QUrl& url);

  private:
    QNetworkReply* Get(const QUrl& url, qint64 maxBytes);
    void OnPage(QNetworkReply* reply, int generation);
    void OnImage(QNetworkReply* reply, const QUrl& url, int generation);
    void CompleteWhenAllArrived();

    std::function<void(const WebPage&)> onComplete_;
    QNetworkAccessManager network_;
    WebPage page_;
    int pendingImages_ = 0;
    // Replies of an earlier load are recognised and dropped.
    int generation_ = 0;
};

// Shows a WebPage: images come from the page alone, links go to the given handler.
class HtmlView final : public QTextBrowser {
  public:
    HtmlView(QWidget* parent, std::function<void(const QUrl&)> onLink);

    void ShowPage(const WebPage& page);

    QVariant loadResource(int type, const QUrl& name) override;

  private:
    QHash<QUrl, QByteArray> images_;
};

}  // namespace horalia::qt
