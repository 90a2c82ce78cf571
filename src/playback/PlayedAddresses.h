#pragma once

#include <QHash>
#include <QString>

// The address each channel with spare addresses last played from, kept in
// one small file of the data folder so the next start tries it first. The
// file is written whole and atomically; one that cannot be read is ignored
// and rewritten at the next change.
class PlayedAddresses {
public:
    explicit PlayedAddresses(QString path) : path_(std::move(path)) {}

    // Empty when the channel never played from a remembered address.
    QString For(const QString& channel);
    void Remember(const QString& channel, const QString& address);

    // The key a channel is remembered under: its tab and its name's match key.
    static QString ChannelKey(int tab, const QString& name);

private:
    void Load();

    QString path_;
    bool loaded_ = false;
    QHash<QString, QString> byChannel_;
};
