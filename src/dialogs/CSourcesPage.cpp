#include "dialogs/CSourcesPage.h"

#include "app/SettingsTable.h"
#include "catalogue/ChannelLists.h"
#include "dialogs/SkinnedControls.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
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

// The guide tabs in the order of their stored values.
constexpr Category kGuideTabs[] = {Category::Tv, Category::World, Category::Game};
const Settings::Value* const kGuideValues[] = {&Settings::GuideTv, &Settings::GuideWorld,
                                               &Settings::GuideGame};

// The rows, in the page's pixels: captions on the left, fields on the right.
// The row under the address holds the tab's guide addresses; their read
// state, when the page has it, shares the buttons' row.
constexpr int kCaptionLeft = 20;
constexpr int kFieldLeft = 120;
constexpr int kFieldWidth = 240;
constexpr int kRowHeight = 18;
constexpr int kTabRow = 14;
constexpr int kKindRow = 40;
constexpr int kAddressRow = 66;
constexpr int kGuideRow = 92;
constexpr int kRefreshWidth = 92;
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
        return label;
    };

    tab_ = new CSkinComboBox(this);
    tab_->setObjectName(QStringLiteral("sourcesTab"));
    for (Category category : kSourceTabs)
        tab_->addItem(ChannelLists::TabName(category));
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

    guide_ = new QLineEdit(this);
    guide_->setObjectName(QStringLiteral("sourcesGuide"));
    guide_->setPlaceholderText(QStringLiteral("XMLTV 주소"));
    guide_->setToolTip(QStringLiteral("주소가 여럿이면 쉼표로 나눕니다"));
    SkinnedControls::StyleLineEdit(guide_);
    guideCaption_ = caption(QStringLiteral("편성표 주소"), kGuideRow, guide_);
    for (int i = 0; i < kGuideTabCount; ++i)
        guidesAtOpen_[static_cast<size_t>(i)] = Settings::ReadText(*kGuideValues[i]);
    guidesEdited_ = guidesAtOpen_;

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
    connect(guide_, &QLineEdit::textChanged, this, &CSourcesPage::KeepFields);
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
    const int guide = GuideIndex(ShownTab());
    guide_->setText(guide < 0 ? QString() : guidesEdited_[static_cast<size_t>(guide)]);
    filling_ = false;
    ShowGuideRow();
}

void CSourcesPage::KeepFields() {
    if (filling_)
        return;
    ChannelSource& shown = edited_.Of(ShownTab());
    shown.kind = kKinds[std::max(0, kind_->currentIndex())];
    shown.address = address_->text();
    edited_.directoryServer = server_->text();
    if (const int guide = GuideIndex(ShownTab()); guide >= 0)
        guidesEdited_[static_cast<size_t>(guide)] = guide_->text();
    ShowGuideRow();
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
    if (Changed())
        if (SourcesProblem problem = ApplySources(settings_, Edited()); problem.Any())
            return problem;
    // Only what the user changed: a value left alone stays exactly as stored.
    for (int i = 0; i < kGuideTabCount; ++i) {
        const QString text = EditedGuide(kGuideTabs[i]);
        if (text == guidesAtOpen_[static_cast<size_t>(i)].trimmed())
            continue;
        if (text.isEmpty())
            Settings::Delete(*kGuideValues[i]);
        else
            Settings::WriteText(*kGuideValues[i], text);
        guidesAtOpen_[static_cast<size_t>(i)] = text;
    }
    return {};
}

int CSourcesPage::GuideIndex(Category category) {
    for (int i = 0; i < kGuideTabCount; ++i)
        if (kGuideTabs[i] == category)
            return i;
    return -1;
}

QString CSourcesPage::EditedGuide(Category category) const {
    const int guide = GuideIndex(category);
    return guide < 0 ? QString() : guidesEdited_[static_cast<size_t>(guide)].trimmed();
}

bool CSourcesPage::GuidesChanged() const {
    for (int i = 0; i < kGuideTabCount; ++i)
        if (EditedGuide(kGuideTabs[i]) != guidesAtOpen_[static_cast<size_t>(i)].trimmed())
            return true;
    return false;
}

void CSourcesPage::ShowGuideRow() {
    // The service brings no guide; a hidden row keeps what it holds.
    const bool shown = GuideIndex(ShownTab()) >= 0 &&
                       kKinds[std::max(0, kind_->currentIndex())] != ChannelSource::Kind::Service;
    guide_->setVisible(shown);
    guideCaption_->setVisible(shown);
    ShowGuideStatus();
}

void CSourcesPage::SetGuideStatus(GuideSources sources, GuideRefresh refresh) {
    guideSources_ = std::move(sources);
    refreshGuides_ = std::move(refresh);
    if (!guideSources_ || guideStatus_)
        return ShowGuideRow();
    // The field makes room for the button; the lines share the buttons' row.
    guide_->setGeometry(kFieldLeft, kGuideRow, kFieldWidth - kRefreshWidth - 4, kRowHeight);
    guideRefresh_ = new QPushButton(QStringLiteral("지금 다시 읽기"), this);
    guideRefresh_->setObjectName(QStringLiteral("sourcesGuideRefresh"));
    guideRefresh_->setAutoDefault(false);
    SkinnedControls::StylePushButton(guideRefresh_);
    guideRefresh_->setGeometry(kFieldLeft + kFieldWidth - kRefreshWidth, kGuideRow, kRefreshWidth,
                               kRowHeight);
    connect(guideRefresh_, &QPushButton::clicked, this, &CSourcesPage::RefreshGuides);
    setTabOrder(guide_, guideRefresh_);

    guideStatus_ = new QLabel(this);
    guideStatus_->setObjectName(QStringLiteral("sourcesGuideStatus"));
    guideStatus_->setAccessibleName(QStringLiteral("편성표 상태"));
    SkinnedControls::StyleCaption(guideStatus_);
    QFont small = guideStatus_->font();
    small.setPixelSize(10);
    guideStatus_->setFont(small);
    guideStatus_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    guideStatus_->setGeometry(kCaptionLeft, kButtonRow - 2,
                              kFieldWidth + kFieldLeft - kCaptionLeft - 80 - 6, 24);
    ShowGuideRow();
}

QString CSourcesPage::GuideStatusText(const std::vector<GuideBook::Source>& sources) {
    if (sources.empty())
        return QStringLiteral("읽을 편성표가 없습니다");
    if (sources.size() == 1)
        return sources.front().StatusText();
    QStringList lines;
    for (size_t i = 0; i < sources.size(); ++i)
        lines << QStringLiteral("%1. ").arg(i + 1) + sources[i].StatusText();
    return lines.join(QLatin1Char('\n'));
}

void CSourcesPage::ShowGuideStatus() {
    if (!guideStatus_)
        return;
    const bool shown = guide_->isVisibleTo(this);
    guideStatus_->setVisible(shown);
    guideRefresh_->setVisible(shown);
    if (!shown)
        return;
    const std::vector<GuideBook::Source> sources = guideSources_(ShownTab());
    const QString text = GuideStatusText(sources);
    // Two lines fit, each cut to the row; the whole text is the tooltip and
    // what a screen reader reads.
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > 2)
        lines = QStringList{lines[0], QStringLiteral("… 외 %1개 주소").arg(lines.size() - 1)};
    for (QString& line : lines)
        line = guideStatus_->fontMetrics().elidedText(line, Qt::ElideRight, guideStatus_->width());
    guideStatus_->setText(lines.join(QLatin1Char('\n')));
    guideStatus_->setToolTip(text);
    guideStatus_->setAccessibleDescription(text);
    guideRefresh_->setEnabled(!refreshing_ && refreshGuides_ && !sources.empty());
}

void CSourcesPage::RefreshGuides() {
    if (!refreshGuides_ || refreshing_)
        return;
    refreshing_ = true;
    guideRefresh_->setEnabled(false);
    QPointer<CSourcesPage> self(this);
    refreshGuides_(ShownTab(), [self] {
        if (!self)
            return;
        self->refreshing_ = false;
        self->ShowGuideStatus();
    });
    // A read under way says so ("읽는 중") until it ends.
    if (self && refreshing_)
        ShowGuideStatus();
}
