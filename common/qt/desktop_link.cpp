#include "common/qt/desktop_link.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QVariantMap>
#include <utility>

#include "common/qt/desktop_portal.h"

namespace horalia::qt {
namespace {

constexpr int kVerdictWaitMs = 5000;
constexpr int kPortalCallTimeoutMs = 2000;

// One link on its way: asks the portal or runs the program, hears the answer, calls the verdict
// and deletes itself.
class LinkRequest final : public QObject {
    Q_OBJECT

  public:
    LinkRequest(QString url, const QObject* receiver, LinkVerdict verdict, QString program)
        : url_(std::move(url)),
          receiver_(receiver),
          watchesReceiver_(receiver != nullptr),
          verdict_(std::move(verdict)),
          program_(std::move(program)) {}

    void Start() {
        QTimer::singleShot(kVerdictWaitMs, this, [this] { Finish(true); });
        QDBusConnection bus = QDBusConnection::sessionBus();
        // A portal that is not running is not started for a link: xdg-open does without it.
        if (bus.isConnected() && bus.interface()->isServiceRegistered(kPortalService)) {
            AskPortal(bus);
        } else {
            RunProgram();
        }
    }

  private Q_SLOTS:
    // The portal's Request.Response: 0 opened, 1 cancelled by the person, 2 failed (no handler
    // and no chooser: xdg-open may still know a browser, from $BROWSER or its own list).
    void Answered(uint response) {
        if (response == 2 && process_ == nullptr) {
            Listen(QString());
            RunProgram();
        } else {
            Finish(response == 0);
        }
    }

  private:
    void AskPortal(QDBusConnection bus) {
        static int tokens = 0;
        const QString token = QStringLiteral("horalia_link%1").arg(++tokens);
        Listen(PortalRequestPath(bus, token));
        QDBusMessage call = QDBusMessage::createMethodCall(
            kPortalService, kPortalPath, QStringLiteral("org.freedesktop.portal.OpenURI"),
            QStringLiteral("OpenURI"));
        call << QString() << url_  // no parent window
             << QVariantMap{{QStringLiteral("handle_token"), token}};
        auto* watcher =
            new QDBusPendingCallWatcher(bus.asyncCall(call, kPortalCallTimeoutMs), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this](QDBusPendingCallWatcher* finished) {
                    finished->deleteLater();
                    const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                    if (reply.isError()) {  // a portal without OpenURI, or one that refuses
                        Listen(QString());
                        RunProgram();
                    } else if (reply.value().path() != request_) {
                        Listen(reply.value().path());  // a portal older than handle tokens
                    }
                });
    }

    // Hears the Response on path only (none when empty).
    void Listen(const QString& path) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        const QString member = QStringLiteral("Response");
        if (!request_.isEmpty()) {
            bus.disconnect(kPortalService, request_, kPortalRequest, member, this,
                           SLOT(Answered(uint)));
        }
        request_ = path;
        if (!request_.isEmpty()) {
            bus.connect(kPortalService, request_, kPortalRequest, member, this,
                        SLOT(Answered(uint)));
        }
    }

    void RunProgram() {
        process_ = new QProcess(this);
        process_->setStandardInputFile(QProcess::nullDevice());
        process_->setStandardOutputFile(QProcess::nullDevice());
        process_->setStandardErrorFile(QProcess::nullDevice());
        connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) {
                Finish(false);
            }
        });
        connect(process_, &QProcess::finished, this, [this](int status, QProcess::ExitStatus how) {
            Finish(how == QProcess::NormalExit && status == 0);
        });
        process_->start(program_, {url_});
    }

    void Finish(bool opened) {
        if (finished_) {
            return;
        }
        finished_ = true;
        Listen(QString());
        if (process_ != nullptr && process_->state() != QProcess::NotRunning) {
            // Some handlers keep xdg-open running until the browser or mail program closes: it
            // is left to run and reaped when it ends.
            process_->disconnect(this);
            process_->setParent(nullptr);
            connect(process_, &QProcess::finished, process_, &QObject::deleteLater);
        }
        if (verdict_ && (!watchesReceiver_ || receiver_ != nullptr)) {
            verdict_(opened);
        }
        deleteLater();
    }

    QString url_;
    QPointer<const QObject> receiver_;
    bool watchesReceiver_;
    LinkVerdict verdict_;
    QString program_;
    QString request_;  // the portal request whose answer is awaited
    QProcess* process_ = nullptr;
    bool finished_ = false;
};

}  // namespace

void OpenLink(const QString& url, const QObject* receiver, LinkVerdict verdict,
              const QString& program) {
    auto* request = new LinkRequest(url, receiver, std::move(verdict), program);
    // A program that quits before the desktop answers takes the request with it.
    QCoreApplication* application = QCoreApplication::instance();
    if (application != nullptr && application->thread() == request->thread()) {
        request->setParent(application);
    }
    request->Start();
}

}  // namespace horalia::qt

#include "desktop_link.moc"
