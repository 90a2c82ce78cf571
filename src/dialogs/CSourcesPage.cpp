#include "dialogs/CSourcesPage.h"

#include "catalogue/ChannelSources.h"
#include "dialogs/SkinnedControls.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The kinds in the order of the box.
constexpr ChannelSource::Kind kKinds[] = {
    ChannelSource::Kind::Service, ChannelSource::Kind::Playlist, ChannelSource::Kind::Directory};

int KindIndex(ChannelSource::Kind kind) {
    for (int i = 0; i < 3; ++i)
        if (kKinds[i] == kind)
            return i;
    return 0;
}

// The rows, in the page's pixels: captions on the left, fields on the right.
// The row under the address is kept free for a second address of the tab.
constexpr int kCaptionLeft = 20;
constexpr int kFieldLeft = 120;
constexpr int kFieldWidth = 240;
constexpr int kRowHeight = 18;
constexpr int kTabRow = 14;
constexpr int kKindRow = 40;
constexpr int kAddressRow = 66;
constexpr int kRuleRow = 116; // under it, what holds for every tab
constexpr int kServerRow = 126;
constexpr int kButtonRow = 150;

} // namespace

CSourcesPage::CSourcesPage(SourceSettings settings, QWidget* parent)
    : QWidget(parent), settings_(std::move(settings)), atOpen_(settings_.Choice()),
      edited_(atOpen_) {
    setObjectName(QStringLiteral("sourcesPage"));
    const auto caption = [this](const QString& text, int top, QWidget* field) {
        auto* label = new QLabel(text, this);
        SkinnedControls::StyleCaption(label);
        label->setGeometry(kCaptionLeft, top, kFieldLeft - kCaptionLeft - 4, kRowHeight);
        label->setBuddy(field);
        field->setGeometry(kFieldLeft, top, kFieldWidth, kRowHeight);
    };

    tab_ = new CSkinComboBox(this);
    tab_->setObjectName(QStringLiteral("sourcesTab"));
    for (Category category : kSourceTabs)
        tab_->addItem(ChannelSources::TabName(category));
    caption(QStringLiteral("탭"), kTabRow, tab_);

    kind_ = new CSkinComboBox(this);
    kind_->setObjectName(QStringLiteral("sourcesKind"));
    kind_->addItems({QStringLiteral("서비스"), QStringLiteral("재생목록 (M3U)"),
                     QStringLiteral("라디오 목록")});
    caption(QStringLiteral("종류"), kKindRow, kind_);

    address_ = new QLineEdit(this);
    address_->setObjectName(QStringLiteral("sourcesAddress"));
    address_->setPlaceholderText(
        QStringLiteral("http://… , 파일 경로, 또는 countrycode=KR 같은 조건"));
    SkinnedControls::StyleLineEdit(address_);
    caption(QStringLiteral("주소 또는 조건"), kAddressRow, address_);

    auto* rule = new QFrame(this);
    rule->setStyleSheet(QStringLiteral("background: rgb(58, 58, 64);"));
    rule->setGeometry(kCaptionLeft, kRuleRow, kFieldLeft + kFieldWidth - kCaptionLeft, 1);

    server_ = new QLineEdit(this);
    server_->setObjectName(QStringLiteral("sourcesServer"));
    server_->setPlaceholderText(QStringLiteral("비워 두면 자동으로 찾습니다"));
    server_->setText(atOpen_.directoryServer);
    SkinnedControls::StyleLineEdit(server_);
    caption(QStringLiteral("라디오 목록 서버"), kServerRow, server_);

    defaults_ = new QPushButton(QStringLiteral("기본값으로"), this);
    defaults_->setObjectName(QStringLiteral("sourcesDefaults"));
    defaults_->setAutoDefault(false);
    SkinnedControls::StylePushButton(defaults_);
    defaults_->setGeometry(kFieldLeft + kFieldWidth - 80, kButtonRow, 80, 20);

    ShowFields();
    connect(tab_, &QComboBox::currentIndexChanged, this, &CSourcesPage::ShowFields);
    connect(kind_, &QComboBox::currentIndexChanged, this, &CSourcesPage::KeepFields);
    connect(address_, &QLineEdit::textChanged, this, &CSourcesPage::KeepFields);
    connect(server_, &QLineEdit::textChanged, this, &CSourcesPage::KeepFields);
    connect(defaults_, &QPushButton::clicked, this, &CSourcesPage::ShowDefaults);
}

Category CSourcesPage::ShownTab() const {
    return kSourceTabs[std::clamp(tab_->currentIndex(), 0, kSourceTabCount - 1)];
}

void CSourcesPage::ShowTab(Category category) {
    if (IsSourceTab(category))
        tab_->setCurrentIndex(static_cast<int>(SourceTabIndex(category)));
}

void CSourcesPage::ShowFields() {
    filling_ = true;
    const ChannelSource& shown = edited_.Of(ShownTab());
    kind_->setCurrentIndex(KindIndex(shown.kind));
    address_->setText(shown.address);
    server_->setText(edited_.directoryServer);
    filling_ = false;
}

void CSourcesPage::KeepFields() {
    if (filling_)
        return;
    ChannelSource& shown = edited_.Of(ShownTab());
    shown.kind = kKinds[std::max(0, kind_->currentIndex())];
    shown.address = address_->text();
    edited_.directoryServer = server_->text();
}

SourcesChoice CSourcesPage::Edited() const {
    SourcesChoice tidy = edited_;
    for (ChannelSource& tab : tidy.tabs)
        tab = ChannelSource::Of(tab.kind, tab.address);
    tidy.directoryServer = tidy.directoryServer.trimmed();
    return tidy;
}

void CSourcesPage::ShowDefaults() {
    edited_ = settings_.Defaults().Choice();
    ShowFields();
}

SourcesProblem CSourcesPage::Apply() {
    if (!Changed())
        return {};
    return ApplySources(settings_, Edited());
}
