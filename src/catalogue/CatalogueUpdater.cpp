#include "catalogue/CatalogueUpdater.h"

#include "app/Endpoints.h"
#include "catalogue/CatalogueIni.h"
#include "catalogue/CatalogueLoader.h"

#include "app/AtoiText.h"

#include <QDir>
#include <QFile>
#include <QPointer>

const std::vector<std::pair<QString, QString>>& CatalogueUpdater::CataloguePairs() {
    static const std::vector<std::pair<QString, QString>> pairs = {
        {QStringLiteral("TV"), QStringLiteral("tv.ini")},
        {QStringLiteral("WORLD"), QStringLiteral("world.ini")},
        {QStringLiteral("GAME"), QStringLiteral("game.ini")},
        {QStringLiteral("RADIO"), QStringLiteral("radio.ini")},
        {QStringLiteral("MUSIC"), QStringLiteral("music.ini")}};
    return pairs;
}

CatalogueUpdater::CatalogueUpdater(DownloadQueue* queue, QString dataFolder, QString baseAddress,
                                   QObject* parent)
    : QObject(parent), queue_(queue), dataFolder_(std::move(dataFolder)),
      baseAddress_(std::move(baseAddress)) {}

QString CatalogueUpdater::PathOf(const QString& fileName) const {
    return QDir(dataFolder_).filePath(fileName);
}

int CatalogueUpdater::ServerVersion(const QString& versionListPath, const QString& section) {
    return AtoiText(CatalogueIni::Load(versionListPath).Value(section.toUtf8(), "VER"));
}

int CatalogueUpdater::LocalVersion(const QString& cataloguePath) {
    return CatalogueVersion(CatalogueIni::Load(cataloguePath));
}

void CatalogueUpdater::SetCatalogueFiles(QStringList fileNames) {
    allFiles_ = false;
    fileNames_ = std::move(fileNames);
}

void CatalogueUpdater::RunCatalogueUpdate(Done done) {
    if (done)
        waiting_.push_back(std::move(done));
    if (running_)
        return;
    running_ = true;
    outcome_ = UpdateOutcome();
    // The set is taken as the sequence starts, so a change meanwhile waits
    // for the next one; the order stays the order of CataloguePairs.
    sequence_.clear();
    for (size_t index = 0; index < CataloguePairs().size(); ++index) {
        if (allFiles_ || fileNames_.contains(CataloguePairs()[index].second))
            sequence_.push_back(index);
    }
    UpdateCatalogue(0);
}

void CatalogueUpdater::UpdateCatalogue(size_t step) {
    if (step >= sequence_.size()) {
        Finish();
        return;
    }
    const QString versionList = PathOf(QString::fromLatin1(Endpoints::kVersionListFileName));
    if (QFile::exists(versionList)) {
        Compare(step);
        return;
    }
    // Asked once per sequence: once the list is here, the later catalogues
    // find it; after a failed download the next catalogue asks again.
    queue_->Enqueue(QUrl(baseAddress_ + QString::fromLatin1(Endpoints::kVersionListPath)),
                    versionList, DownloadQueue::Check::IniFile,
                    [this, step](const DownloadQueue::Result&) { Compare(step); });
}

void CatalogueUpdater::Compare(size_t step) {
    if (!settle_) {
        CompareSettled(step);
        return;
    }
    QPointer<CatalogueUpdater> self(this);
    settle_(CataloguePairs().at(sequence_.at(step)).second, [self, step] {
        if (self)
            self->CompareSettled(step);
    });
}

void CatalogueUpdater::CompareSettled(size_t step) {
    const auto& [section, fileName] = CataloguePairs().at(sequence_.at(step));
    const QString versionList = PathOf(QString::fromLatin1(Endpoints::kVersionListFileName));
    if (!QFile::exists(versionList)) {
        // Without the version list every server version would read 0, which
        // says nothing about whether this catalogue is current.
        outcome_.AddUnchecked(fileName);
        UpdateCatalogue(step + 1);
        return;
    }
    const int server = ServerVersion(versionList, section);
    const int local = LocalVersion(PathOf(fileName));
    if (local >= server) {
        outcome_.AddCurrent(fileName);
        UpdateCatalogue(step + 1);
        return;
    }
    queue_->Enqueue(QUrl(baseAddress_ + Endpoints::CataloguePath(fileName)), PathOf(fileName),
                    DownloadQueue::Check::IniFile,
                    [this, step, fileName = fileName](const DownloadQueue::Result& result) {
                        // Only a catalogue that really arrived counts as an update;
                        // one that did not keeps its old version and is fetched
                        // again by the next check.
                        if (result.saved()) {
                            updated_ = true;
                            outcome_.AddReplaced(fileName);
                        } else {
                            outcome_.AddFailed(fileName);
                        }
                        UpdateCatalogue(step + 1);
                    });
}

void CatalogueUpdater::Finish() {
    QFile::remove(PathOf(QString::fromLatin1(Endpoints::kVersionListFileName)));
    running_ = false;
    std::vector<Done> waiting;
    waiting.swap(waiting_);
    const UpdateOutcome outcome = outcome_;
    for (auto& callback : waiting)
        callback(outcome);
}
