#include "installer/InstallerFlow.h"

#include "app/Endpoints.h"
#include "app/SettingsTable.h"
#include "installer/CountRequest.h"

#include <QDir>
#include <QFileInfo>

const char* const InstallerFlow::kInstalledVersion = "20100804";
const char* const InstallerFlow::kMessageCaption = "NimbusKit";
const char* const InstallerFlow::kCompletedText = "설치가 정상적으로 완료 되었습니다.";
const char* const InstallerFlow::kSetupMissingText = "설치 프로그램을 찾을 수 없습니다.";
const char* const InstallerFlow::kSetupFailedText = "설치 프로그램을 실행할 수 없습니다.";

InstallerFlow::InstallerFlow(QString folder, QString countBaseAddress, QString opener,
                             SettingsLocations store, QObject* parent)
    : QObject(parent), folder_(std::move(folder)), countBaseAddress_(std::move(countBaseAddress)),
      opener_(new SetupOpener(std::move(opener), this)), store_(std::move(store)),
      count_(new CountRequest(this)) {
    connect(opener_, &SetupOpener::finished, this, &InstallerFlow::OnSetupOpened);
    connect(count_, &CountRequest::finished, this, &InstallerFlow::OnCountFinished);
}

InstallerFlow::~InstallerFlow() = default;

void InstallerFlow::SetCountTimeout(int milliseconds) {
    count_->SetTimeout(milliseconds);
}

QString InstallerFlow::SetupPath() const {
    return QDir(folder_).filePath(QString::fromLatin1(Endpoints::kPartnerSetupFileName));
}

InstallerFlow::Step InstallerFlow::Next(bool agreed) {
    if (busy_)
        return Step::Opening;
    if (!agreed)
        return Step::Declined;
    const QFileInfo setup(SetupPath());
    if (!setup.isFile())
        return Step::SetupMissing;
    busy_ = true;
    opener_->Open(setup.absoluteFilePath());
    return Step::Opening;
}

void InstallerFlow::OnSetupOpened(bool opened) {
    if (!opened) {
        busy_ = false;
        emit setupFailed();
        return;
    }
    count_->Send(countBaseAddress_);
}

void InstallerFlow::OnCountFinished() {
    // Whatever became of the count, the setup runs: record the version.
    // A failed write is not reported (the value is never read back).
    Settings::WriteText(Settings::VerNimbusKit, QString::fromLatin1(kInstalledVersion),
                        SettingsStore(store_));
    busy_ = false;
    emit installed();
}
