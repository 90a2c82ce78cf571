#include "app/Endpoints.h"

#ifndef WAVEORBIT_SERVICE_HOST
#error "WAVEORBIT_SERVICE_HOST is set by CMake"
#endif
#ifndef WAVEORBIT_COUNT_HOST
#error "WAVEORBIT_COUNT_HOST is set by CMake"
#endif

namespace Endpoints {

const char* const kVersionListPath = "/ver/5.0/live/update.php";
const char* const kVersionListFileName = "live_update.ini";
const char* const kCountPath = "/log/count.php?mode=a&key=nimbuskit2";
const char* const kUpdaterFileName = "WAVEORBITUPDATE";
const char* const kUpdaterArgument = "boot";
const char* const kPartnerSetupFileName = "QDXInst_HLM0030001.exe";
const char* const kUserChannelFileName = "user.dat";

QString ServiceHost() {
    return QStringLiteral(WAVEORBIT_SERVICE_HOST);
}
QString ServiceBaseAddress() {
    return QStringLiteral("http://") + ServiceHost();
}
QString HomePageAddress() {
    return ServiceBaseAddress();
}
QString CountBaseAddress() {
    return QStringLiteral("http://") + QStringLiteral(WAVEORBIT_COUNT_HOST);
}

QStringList CatalogueFileNames() {
    return {QStringLiteral("tv.ini"), QStringLiteral("world.ini"), QStringLiteral("game.ini"),
            QStringLiteral("radio.ini"), QStringLiteral("music.ini")};
}

QString CataloguePath(const QString& fileName) {
    return QStringLiteral("/ver/live/file/") + fileName;
}
QString CatalogueAddress(const QString& fileName) {
    return ServiceBaseAddress() + CataloguePath(fileName);
}

QString VersionListAddress() {
    return ServiceBaseAddress() + QString::fromLatin1(kVersionListPath);
}

QStringList MusicPagePaths() {
    return {QStringLiteral("/zenith/tab/mp3/new.html"),
            QStringLiteral("/zenith/tab/mp3/download.html"),
            QStringLiteral("/zenith/tab/mp3/chart.html"),
            QStringLiteral("/zenith/tab/mp3/musicvideo.html")};
}

QStringList MoviePagePaths() {
    return {QStringLiteral("/zenith/tab/movie/movie.html"),
            QStringLiteral("/zenith/tab/movie/drama.html"),
            QStringLiteral("/zenith/tab/movie/etc.html")};
}

QString PageAddress(const QString& path) {
    return ServiceBaseAddress() + path;
}

QString CountAddress() {
    return CountBaseAddress() + QString::fromLatin1(kCountPath);
}

QString WithoutTrailingSlashes(QString address) {
    while (address.endsWith(QLatin1Char('/')))
        address.chop(1);
    return address;
}

} // namespace Endpoints
