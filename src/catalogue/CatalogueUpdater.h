#pragma once

#include "catalogue/DownloadQueue.h"
#include "catalogue/UpdateOutcome.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

// Keeps the catalogues in the data folder current. The server's version list
// names the current version of each catalogue; a catalogue whose own [DB] VER
// is lower is fetched again. Everything runs on the download queue, so the
// window never waits, and a catalogue is replaced only when its successor has
// arrived whole and reads as INI: a failed download keeps the old one.
class CatalogueUpdater : public QObject {
    Q_OBJECT
public:
    // (section in the version list, catalogue file name), in check order.
    static const std::vector<std::pair<QString, QString>>& CataloguePairs();

    // baseAddress is the service's base address (tests point it at a local server).
    CatalogueUpdater(DownloadQueue* queue, QString dataFolder, QString baseAddress,
                     QObject* parent = nullptr);

    using Done = std::function<void(const UpdateOutcome& outcome)>;

    // Checks only these catalogue files (names as in CataloguePairs), from
    // the next sequence on; every catalogue until it is set. The catalogues
    // of one service are checked against that service alone.
    void SetCatalogueFiles(QStringList fileNames);

    // Given a catalogue's file name, runs `then` once nobody else is writing
    // that file (a tab fetching it), so its version is read as it will stay.
    using Settle = std::function<void(const QString& fileName, std::function<void()> then)>;
    // Until it is set, a catalogue is compared at once.
    void SetSettle(Settle settle) { settle_ = std::move(settle); }

    // Checks every catalogue in order, then deletes the version list.
    // `done` runs once at the end with what became of each catalogue.
    // A second call while a sequence runs joins it.
    void RunCatalogueUpdate(Done done);

    bool IsRunning() const { return running_; }
    // Set when a sequence replaced a catalogue; cleared by the caller.
    bool updated() const { return updated_; }
    void ClearUpdated() { updated_ = false; }

    // The versions, as the comparison reads them (0 for anything missing).
    static int ServerVersion(const QString& versionListPath, const QString& section);
    static int LocalVersion(const QString& cataloguePath);

private:
    // step counts through sequence_, the catalogues of this sequence.
    void UpdateCatalogue(size_t step);
    void Compare(size_t step);
    void CompareSettled(size_t step);
    void Finish();
    QString PathOf(const QString& fileName) const;

    DownloadQueue* queue_;
    QString dataFolder_;
    QString baseAddress_;
    bool running_ = false;
    bool updated_ = false;
    bool allFiles_ = true;
    QStringList fileNames_;
    std::vector<size_t> sequence_; // indices into CataloguePairs
    UpdateOutcome outcome_;        // of the sequence under way
    std::vector<Done> waiting_;
    Settle settle_;
};
