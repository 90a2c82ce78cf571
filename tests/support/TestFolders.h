#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
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

// A stand-in for the desktop's opener (xdg-open) in `folder`: each call
// appends the file it was asked to open as a line of <folder>/opened.txt,
// then the program exits with `exitStatus`. Returns its path.
QString WriteOpenerStandIn(const QString& folder, int exitStatus);
// The files the stand-ins in `folder` were asked to open, in order.
QStringList OpenedByStandIn(const QString& folder);
