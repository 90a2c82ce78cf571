#pragma once

#include "catalogue/CatalogueUpdater.h"
#include "catalogue/UpdateOutcome.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class DownloadQueue;

// The update check across every service the tabs use: each service is asked
// for its own version list and its own catalogues, and only the catalogues
// of the tabs it serves. The services are checked one after the other, since
// their version lists share one place in the data folder. What the user is
// told is the merge of all of them, so a service that does not answer leaves
// only its own catalogues unchecked.
class ServiceCatalogueCheck : public QObject {
    Q_OBJECT
public:
    struct Service {
        QString baseAddress;
        QStringList catalogueFiles; // names as in CatalogueUpdater::CataloguePairs
    };

    ServiceCatalogueCheck(DownloadQueue* queue, QString dataFolder, QObject* parent = nullptr);

    // Checks each service in turn; `done` runs once, after the last, with
    // every service's outcome merged. A second call while a check runs joins
    // it: its services are not asked again.
    void Run(std::vector<Service> services, CatalogueUpdater::Done done);

    bool IsRunning() const { return running_; }
    // Given to each service's updater (see CatalogueUpdater::SetSettle).
    void SetSettle(CatalogueUpdater::Settle settle) { settle_ = std::move(settle); }

private:
    void CheckNext();
    void Finish();

    DownloadQueue* queue_;
    QString dataFolder_;
    bool running_ = false;
    std::vector<Service> services_; // those still to be checked
    UpdateOutcome outcome_;         // merged so far
    std::vector<CatalogueUpdater::Done> waiting_;
    CatalogueUpdater::Settle settle_;
};
