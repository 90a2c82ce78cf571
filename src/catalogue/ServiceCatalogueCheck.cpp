#include "catalogue/ServiceCatalogueCheck.h"

#include <utility>

ServiceCatalogueCheck::ServiceCatalogueCheck(DownloadQueue* queue, QString dataFolder,
                                             QObject* parent)
    : QObject(parent), queue_(queue), dataFolder_(std::move(dataFolder)) {}

void ServiceCatalogueCheck::Run(std::vector<Service> services, CatalogueUpdater::Done done) {
    if (done)
        waiting_.push_back(std::move(done));
    if (running_)
        return;
    running_ = true;
    outcome_ = UpdateOutcome();
    services_ = std::move(services);
    CheckNext();
}

void ServiceCatalogueCheck::CheckNext() {
    if (services_.empty()) {
        Finish();
        return;
    }
    Service service = std::move(services_.front());
    services_.erase(services_.begin());
    auto* updater = new CatalogueUpdater(queue_, dataFolder_, service.baseAddress, this);
    updater->SetCatalogueFiles(std::move(service.catalogueFiles));
    updater->SetSettle(settle_);
    updater->RunCatalogueUpdate([this, updater](const UpdateOutcome& outcome) {
        outcome_.Merge(outcome);
        // The updater is still on the stack that called us.
        updater->deleteLater();
        CheckNext();
    });
}

void ServiceCatalogueCheck::Finish() {
    running_ = false;
    std::vector<CatalogueUpdater::Done> waiting;
    waiting.swap(waiting_);
    const UpdateOutcome outcome = outcome_;
    for (auto& callback : waiting)
        callback(outcome);
}
