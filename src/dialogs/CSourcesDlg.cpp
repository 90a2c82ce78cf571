#include "dialogs/CSourcesDlg.h"

#include "catalogue/ChannelSources.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The kinds in the order of the box.
constexpr ChannelSource::Kind kKinds[] = {
    ChannelSource::Kind::Service, ChannelSource::Kind::Playlist, ChannelSource::Kind::Directory};

} // namespace

CSourcesDlg::CSourcesDlg(SourceSettings settings, QWidget* parent)
    : QDialog(parent), settings_(std::move(settings)) {
    setWindowTitle(QStringLiteral("채널 목록"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("탭")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("종류")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("주소 또는 조건")), 0, 2);
    for (Category category : kSourceTabs) {
        auto* kind = new QComboBox(this);
        kind->addItems({QStringLiteral("서비스"), QStringLiteral("재생목록 (M3U)"),
                        QStringLiteral("라디오 목록")});
        auto* address = new QLineEdit(this);
        address->setMinimumWidth(380);
        address->setPlaceholderText(
            QStringLiteral("http://… , 파일 경로, 또는 countrycode=KR 같은 조건"));
        kinds_[SourceTabIndex(category)] = kind;
        addresses_[SourceTabIndex(category)] = address;
        const int row = static_cast<int>(SourceTabIndex(category)) + 1; // under the headings
        grid->addWidget(new QLabel(ChannelSources::TabName(category)), row, 0);
        grid->addWidget(kind, row, 1);
        grid->addWidget(address, row, 2);
        Show(category, settings_.Of(category));
    }
    server_ = new QLineEdit(this);
    server_->setPlaceholderText(QStringLiteral("비워 두면 자동으로 찾습니다"));
    server_->setText(settings_.DirectoryServer() == settings_.Defaults().directoryServer
                         ? QString()
                         : settings_.DirectoryServer());
    grid->addWidget(new QLabel(QStringLiteral("라디오 목록 서버")), kSourceTabCount + 1, 0, 1, 2);
    grid->addWidget(server_, kSourceTabCount + 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("확인"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("취소"));
    QPushButton* defaults =
        buttons->addButton(QStringLiteral("기본값으로"), QDialogButtonBox::ResetRole);
    connect(defaults, &QPushButton::clicked, this, &CSourcesDlg::ShowDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Apply())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void CSourcesDlg::Show(Category category, const ChannelSource& source) {
    for (int i = 0; i < 3; ++i) {
        if (kKinds[i] == source.kind)
            kinds_[SourceTabIndex(category)]->setCurrentIndex(i);
    }
    addresses_[SourceTabIndex(category)]->setText(source.address);
}

ChannelSource CSourcesDlg::Shown(Category category) const {
    const int index = std::max(0, kinds_[SourceTabIndex(category)]->currentIndex());
    return ChannelSource::Of(kKinds[index], addresses_[SourceTabIndex(category)]->text());
}

void CSourcesDlg::ShowDefaults() {
    for (Category category : kSourceTabs)
        Show(category, settings_.Defaults().Of(category));
    server_->clear();
}

bool CSourcesDlg::Apply() {
    std::array<ChannelSource, kSourceTabCount> tabs;
    for (Category category : kSourceTabs)
        tabs[SourceTabIndex(category)] = Shown(category);
    const QString problem = ApplySources(settings_, tabs, server_->text());
    if (problem.isEmpty())
        return true;
    if (messageHandler_)
        messageHandler_(problem);
    else
        QMessageBox::warning(this, QStringLiteral("채널 목록"), problem);
    return false;
}
