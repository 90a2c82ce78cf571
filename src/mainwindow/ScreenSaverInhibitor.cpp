#include "mainwindow/ScreenSaverInhibitor.h"

#include "app/SessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const char* const kService = "org.freedesktop.ScreenSaver";
const char* const kPath = "/org/freedesktop/ScreenSaver";
const char* const kInterface = "org.freedesktop.ScreenSaver";

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QObject* parent) : QObject(parent) {}

ScreenSaverInhibitor::~ScreenSaverInhibitor() {
    UnInhibit();
}

void ScreenSaverInhibitor::Inhibit(const QString& applicationName, const QString& reason) {
    if (wanted_ || !SessionBus::Expected())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    wanted_ = true;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QStringLiteral("Inhibit"));
    call << applicationName << reason;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            &ScreenSaverInhibitor::OnInhibitReply);
}

void ScreenSaverInhibitor::OnInhibitReply(QDBusPendingCallWatcher* watcher) {
    QDBusPendingReply<uint> reply = *watcher;
    watcher->deleteLater();
    if (reply.isError())
        return; // no screen saver service: nothing to keep off
    const unsigned cookie = reply.value();
    if (!wanted_) {
        // Given back before the answer came: release it at once.
        QDBusMessage call = QDBusMessage::createMethodCall(
            QString::fromLatin1(kService), QString::fromLatin1(kPath),
            QString::fromLatin1(kInterface), QStringLiteral("UnInhibit"));
        call << cookie;
        QDBusConnection::sessionBus().send(call);
        return;
    }
    cookie_ = cookie;
}

void ScreenSaverInhibitor::UnInhibit() {
    wanted_ = false;
    if (cookie_ == 0)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
        QStringLiteral("UnInhibit"));
    call << cookie_;
    cookie_ = 0;
    // The service answered before, so it is there; a short wait makes sure
    // the message leaves before the process ends.
    QDBusConnection::sessionBus().call(call, QDBus::Block, 500);
}
