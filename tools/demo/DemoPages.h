#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The demo service's web pages: the seven pages of the player's music and
// movie tabs, the page of the web-page channel and the home page. Each is one
// self-contained UTF-8 HTML document (no outside resources), dark to sit in
// the player's panel.
namespace demo {

// Every path DemoPage answers, the home page "/" first.
QStringList DemoPagePaths();

// The page at the path; empty when there is none.
QByteArray DemoPage(const QString& path);

// The visible heading of the page at the path (what a test looks for).
QString DemoPageHeading(const QString& path);

} // namespace demo
