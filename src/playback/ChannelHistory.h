#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

// What became of each list channel's last tries, kept in one small file of
// the data folder: the address it last played from (tried first at the next
// start), and when every one of its addresses failed (the list draws such a
// channel dimmed until it plays again). The file is written whole and
// atomically; one that cannot be read is ignored and rewritten at the next
// change.
class ChannelHistory : public QObject {
    Q_OBJECT
public:
    explicit ChannelHistory(QString path, QObject* parent = nullptr);

    // Empty when the channel never played from a remembered address.
    QString PlayedAddress(const QString& channel);
    void RememberPlayed(const QString& channel, const QString& address);

    // When the channel's last try failed on every address (seconds since the
    // epoch), 0 when it did not or it played since.
    qint64 FailedAt(const QString& channel);
    bool HasFailures();
    void RememberFailed(const QString& channel);
    void ForgetFailed(const QString& channel);

    // The key a channel is remembered under: its tab and its name's match key.
    static QString ChannelKey(int tab, const QString& name);

    // The clock failures are dated by (tests set one).
    void SetClock(std::function<qint64()> now) { now_ = std::move(now); }

signals:
    // A channel failed on every address, or played again after that.
    void failuresChanged();

private:
    void Load();
    void Save() const;

    QString path_;
    bool loaded_ = false;
    QHash<QString, QString> played_;
    QHash<QString, qint64> failed_;
    std::function<qint64()> now_;
};
