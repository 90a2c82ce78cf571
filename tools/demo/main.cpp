// waveorbit-demo: the service the player talks to, run on this machine only.
// Serves the catalogues, the version list and the web pages on 127.0.0.1:8730
// and the count on 127.0.0.1:8731; or, with --write-catalogues, just writes
// the catalogue files into a folder.
#include "demo/DemoCatalogues.h"
#include "demo/DemoService.h"
#include "demo/LiveStreams.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here: wake the event loop through the pipe.
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the event loop, so the servers close their sockets
// and the process exits with status 0.
bool QuitOnSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return false;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        notifier->setEnabled(false);
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 &&
           ::sigaction(SIGINT, &action, nullptr) == 0;
}

bool ParsePort(const QString& text, quint16* port) {
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value > 65535)
        return false;
    *port = static_cast<quint16>(value);
    return true;
}

void PrintLine(FILE* stream, const QString& line) {
    std::fputs(line.toUtf8().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("waveorbit-demo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The WAVEORBIT demo service on 127.0.0.1: catalogues, version list and web pages on the "
        "service port, the install count on the count port."));
    parser.addHelpOption();
    const QCommandLineOption servicePort(QStringLiteral("service-port"),
                                         QStringLiteral("Port of the web server (default 8730)."),
                                         QStringLiteral("port"), QStringLiteral("8730"));
    const QCommandLineOption countPort(QStringLiteral("count-port"),
                                       QStringLiteral("Port of the count server (default 8731)."),
                                       QStringLiteral("port"), QStringLiteral("8731"));
    const QCommandLineOption version(
        QStringLiteral("catalogue-version"),
        QStringLiteral("Version of every catalogue and of the version list (default 1)."),
        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption countLog(QStringLiteral("count-log"),
                                      QStringLiteral("Append one line per count to this file."),
                                      QStringLiteral("path"));
    const QCommandLineOption quiet(QStringLiteral("quiet"),
                                   QStringLiteral("Do not print a line per request (counts "
                                                  "and errors are still printed)."));
    const QCommandLineOption write(
        QStringLiteral("write-catalogues"),
        QStringLiteral("Write the five catalogues and update.php into the folder, then exit."),
        QStringLiteral("dir"));
    const QCommandLineOption noStreams(
        QStringLiteral("no-streams"),
        QStringLiteral("Do not start the live streams (Icecast radio on 127.0.0.1:8732, HLS TV "
                       "on 127.0.0.1:8733)."));
    parser.addOptions({servicePort, countPort, version, countLog, quiet, write, noStreams});
    parser.process(app);

    demo::DemoServiceOptions options;
    bool versionOk = false;
    options.catalogueVersion = parser.value(version).toInt(&versionOk);
    if (!versionOk || options.catalogueVersion < 0) {
        PrintLine(stderr,
                  QStringLiteral("waveorbit-demo: --catalogue-version needs a number >= 0"));
        return 2;
    }
    if (!ParsePort(parser.value(servicePort), &options.servicePort) ||
        !ParsePort(parser.value(countPort), &options.countPort)) {
        PrintLine(stderr, QStringLiteral("waveorbit-demo: a port is a number from 0 to 65535"));
        return 2;
    }
    options.countLogPath = parser.value(countLog);

    if (parser.isSet(write)) {
        demo::CatalogueOptions catalogueOptions;
        catalogueOptions.serviceBase =
            QStringLiteral("http://127.0.0.1:") + QString::number(options.servicePort);
        catalogueOptions.defaultVersion = options.catalogueVersion;
        QString error;
        if (!demo::WriteDemoCatalogues(parser.value(write), catalogueOptions, &error)) {
            PrintLine(stderr, QStringLiteral("waveorbit-demo: ") + error);
            return 1;
        }
        PrintLine(stdout,
                  QStringLiteral("waveorbit-demo: catalogues written to ") + parser.value(write));
        return 0;
    }

    if (!QuitOnSignals(app)) {
        PrintLine(stderr, QStringLiteral("waveorbit-demo: cannot watch for signals"));
        return 1;
    }

    demo::DemoService service;
    if (!parser.isSet(quiet)) {
        QObject::connect(&service, &demo::DemoService::requestLogged,
                         [](const QString& line) { PrintLine(stdout, line); });
    }
    QObject::connect(&service, &demo::DemoService::countRecorded,
                     [](const QString& line) { PrintLine(stdout, line); });
    QObject::connect(&service, &demo::DemoService::warning, [](const QString& line) {
        PrintLine(stderr, QStringLiteral("waveorbit-demo: ") + line);
    });
    QString error;
    if (!service.Start(options, &error)) {
        PrintLine(stderr, QStringLiteral("waveorbit-demo: ") + error);
        return 1;
    }
    PrintLine(stdout, QStringLiteral("waveorbit-demo: service on http://127.0.0.1:%1, count on "
                                     "http://127.0.0.1:%2, catalogue version %3")
                          .arg(service.ServicePort())
                          .arg(service.CountPort())
                          .arg(options.catalogueVersion));

    // The live broadcasts the catalogues point at. Without icecast2 or
    // ffmpeg the service still runs; the channels then fail to connect.
    demo::LiveStreams streams;
    QObject::connect(&streams, &demo::LiveStreams::warning, [](const QString& line) {
        PrintLine(stderr, QStringLiteral("waveorbit-demo: ") + line);
    });
    if (!parser.isSet(noStreams)) {
        if (streams.Start(demo::LiveStreamOptions(), &error))
            PrintLine(stdout, QStringLiteral("waveorbit-demo: radio on %1 .. (Icecast), TV on "
                                             "%2 .. (HLS)")
                                  .arg(streams.AudioUrl(1), streams.VideoUrl(1)));
        else
            PrintLine(stderr, QStringLiteral("waveorbit-demo: live streams not started: ") + error);
    }

    const int status = app.exec();
    streams.Stop();
    service.Stop();
    PrintLine(stdout, QStringLiteral("waveorbit-demo: stopped"));
    return status;
}
