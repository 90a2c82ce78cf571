#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh XDG config and data home for one test, removed afterwards. While it
// lives, the program's settings and data go there and nowhere else.
class ScopedXdgHome {
public:
    ScopedXdgHome();
    ~ScopedXdgHome();
    ScopedXdgHome(const ScopedXdgHome&) = delete;
    ScopedXdgHome& operator=(const ScopedXdgHome&) = delete;

    QString root() const { return dir_.path(); }
    QString configHome() const { return dir_.path() + QStringLiteral("/config"); }
    QString dataHome() const { return dir_.path() + QStringLiteral("/data"); }

private:
    QTemporaryDir dir_;
    QByteArray oldConfig_;
    QByteArray oldData_;
    bool hadConfig_;
    bool hadData_;
};

// Whole-file helpers for assertions.
QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);
