// The update check's view of arbitrary files: the version list and a local
// catalogue read from disk as the comparison reads them. Nothing crashes, a
// version is [section] VER as atoi reads it, a missing file is version 0, and
// the download check that guards the version list and the catalogues accepts
// only text whose every line the reader understands.
//
// Input: the version list, then the catalogue (split at 0xFF).

#include "FuzzCheck.h"

#include "app/AtoiText.h"
#include "catalogue/CatalogueIni.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueUpdater.h"
#include "catalogue/DownloadQueue.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QString Write(const QString& name, const QByteArray& bytes) {
    static const QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile out(path);
    FUZZ_CHECK(out.open(QIODevice::WriteOnly | QIODevice::Truncate), "temporary file");
    out.write(bytes);
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const QByteArray list = in.Piece();
    const QByteArray catalogue = in.Rest();

    const QString listPath = Write(QStringLiteral("live_update.ini"), list);
    const QString cataloguePath = Write(QStringLiteral("tv.ini"), catalogue);
    const CatalogueIni listIni = CatalogueIni::Parse(list);
    for (const auto& [section, fileName] : CatalogueUpdater::CataloguePairs()) {
        FUZZ_CHECK(CatalogueUpdater::ServerVersion(listPath, section) ==
                       AtoiText(listIni.Value(section.toUtf8(), "VER")),
                   "the server version is not [section] VER");
        FUZZ_CHECK(CatalogueUpdater::ServerVersion(listPath, section.toLower()) ==
                       CatalogueUpdater::ServerVersion(listPath, section),
                   "the version list's names compare with regard to case");
    }
    FUZZ_CHECK(CatalogueUpdater::LocalVersion(cataloguePath) ==
                   CatalogueVersion(CatalogueIni::Parse(catalogue)),
               "the local version is not [DB] VER");
    FUZZ_CHECK(CatalogueUpdater::LocalVersion(cataloguePath + QStringLiteral(".missing")) == 0,
               "a missing catalogue is not version 0");

    if (DownloadQueue::LooksLikeIni(list)) {
        FUZZ_CHECK(!list.contains('\0'), "a body with NUL bytes passes as INI");
        FUZZ_CHECK(!CatalogueIni::Parse(list).IsEmpty(), "a body without a section passes as INI");
    }
    return 0;
}
