#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// Starts the things outside the program: the desktop's web browser and the
// updater. Nothing is ever handed to a shell: an
// address is one argument, whatever blanks or quotes it holds. Each call says
// whether it started something; the callers decide whether to tell the user.
class Launcher {
public:
    // How the desktop is asked to do things; replaced in tests.
    struct Backend {
        std::function<bool(const QUrl&)> openUrl;
        std::function<bool(const QString& program, const QStringList& arguments)> startDetached;
    };

    Launcher();                         // the real desktop
    explicit Launcher(Backend backend); // for tests

    // Opens an http or https address in the desktop's browser. An address
    // without a scheme ("www.example.com", "host:8080/page") is taken as
    // http. Anything else
    // (file:, javascript:, a command line) is refused.
    bool OpenInBrowser(const QString& address) const;

    // Starts the updater beside the program with the argument "boot".
    bool StartUpdater(const QString& programFolder) const;

    // The web address OpenInBrowser would open, or an invalid URL if refused.
    static QUrl BrowserAddress(const QString& address);

private:
    Backend backend_;
};
