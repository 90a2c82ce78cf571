#pragma once

#include <QString>
#include <QStringList>

// Everything outside the program that it addresses: the service's web server,
// its count server, and the programs it starts. The hosts are fixed at build
// time (CMake cache variables WAVEORBIT_SERVICE_HOST and WAVEORBIT_COUNT_HOST).
namespace Endpoints {

QString ServiceHost();        // host[:port], no scheme: the host-only form
QString ServiceBaseAddress(); // "http://" + host, no trailing slash
QString HomePageAddress();    // the service base address, a complete address
QString CountBaseAddress();   // "http://" + the count host

// An address as users and configuration write it, with every trailing "/"
// removed, so a path can be added to it.
QString WithoutTrailingSlashes(QString address);

// The five catalogues, in the order of the category tabs 1..5.
QStringList CatalogueFileNames();               // tv.ini, world.ini, game.ini, radio.ini, music.ini
QString CataloguePath(const QString& fileName); // "/ver/live/file/" + file name
QString CatalogueAddress(const QString& fileName);

extern const char* const kVersionListPath;     // "/ver/5.0/live/update.php"
extern const char* const kVersionListFileName; // "live_update.ini"
QString VersionListAddress();

// The web pages of the music tab (four) and the movie tab (three), in button order.
QStringList MusicPagePaths();
QStringList MoviePagePaths();
QString PageAddress(const QString& path);

extern const char* const kCountPath; // "/log/count.php?mode=a&key=nimbuskit2"
QString CountAddress();

extern const char* const kUpdaterFileName;      // "WAVEORBITUPDATE", beside the program
extern const char* const kUpdaterArgument;      // "boot"
extern const char* const kPartnerSetupFileName; // "QDXInst_HLM0030001.exe", beside the installer
extern const char* const kUserChannelFileName;  // "user.dat", in the data folder

} // namespace Endpoints
