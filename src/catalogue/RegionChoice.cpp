#include "catalogue/RegionChoice.h"

#include <algorithm>

namespace RegionChoice {

bool IsRegionalName(const QString& name) {
    return name.contains(QStringLiteral("MBC"), Qt::CaseSensitive) ||
           name.contains(QStringLiteral("SBS"), Qt::CaseSensitive);
}

RowAction ActionFor(const ChannelRecord& row, const QString& locationHideText) {
    if (row.IsWebPage())
        return RowAction::OpenWebPage;
    if (IsRegionalName(row.name()) && locationHideText == QStringLiteral("0"))
        return RowAction::AskRegion;
    return RowAction::Play;
}

int ModeFor(const QString& channelName) {
    return channelName.contains(QStringLiteral("MBC"), Qt::CaseSensitive) ? 1 : 2;
}

namespace {

// The lists are kept in the order they were always entered and shown sorted,
// as Korean readers expect (Hangul syllables sort by code point).
QStringList Sorted(QStringList places) {
    std::sort(places.begin(), places.end());
    return places;
}

} // namespace

QStringList MbcPlaces() {
    return Sorted({QStringLiteral("서울"), QStringLiteral("부산"), QStringLiteral("대구"),
                   QStringLiteral("광주"), QStringLiteral("대전"), QStringLiteral("전주"),
                   QStringLiteral("마산"), QStringLiteral("춘천"), QStringLiteral("청주"),
                   QStringLiteral("제주"), QStringLiteral("울산"), QStringLiteral("강릉"),
                   QStringLiteral("진주"), QStringLiteral("목포"), QStringLiteral("여수"),
                   QStringLiteral("안동"), QStringLiteral("원주"), QStringLiteral("충주"),
                   QStringLiteral("삼척"), QStringLiteral("포항")});
}

QStringList SbsPlaces() {
    return Sorted({QStringLiteral("서울"), QStringLiteral("부산"), QStringLiteral("대구"),
                   QStringLiteral("광주"), QStringLiteral("전주"), QStringLiteral("청주"),
                   QStringLiteral("제주"), QStringLiteral("울산"), QStringLiteral("강원")});
}

QStringList PlacesFor(int mode) {
    return mode == 1 ? MbcPlaces() : SbsPlaces();
}

int PreselectedIndex(const QStringList& places, const QString& storedRegion) {
    return static_cast<int>(places.indexOf(storedRegion));
}

QString AutomaticRegion() {
    return QStringLiteral("자동");
}

QStringList SettingsPlaces() {
    return QStringList{AutomaticRegion()} + MbcPlaces();
}

std::optional<QString> RegionToStore(bool userChose, int shownIndex, const QString& shownText) {
    if (!userChose || shownIndex < 0)
        return std::nullopt;
    return shownText;
}

namespace {

bool IsFiltered(const QString& family) {
    return family != QStringLiteral("KBS") && family != QStringLiteral("ETC");
}

const CatalogueFamilyBlock* BlockOf(const CatalogueFamilyBlocks& blocks, const QString& family) {
    for (const CatalogueFamilyBlock& block : blocks) {
        if (block.family == family)
            return &block;
    }
    return nullptr;
}

} // namespace

int RowAfterRegionChange(const CatalogueFamilyBlocks& before, int row,
                         const CatalogueFamilyBlocks& after, bool regionChanged) {
    for (const CatalogueFamilyBlock& was : before) {
        if (row < was.first || row >= was.first + was.count)
            continue;
        const CatalogueFamilyBlock* now = BlockOf(after, was.family);
        if (!now || now->count <= 0)
            return -1;
        const int offset = row - was.first;
        if ((!regionChanged || !IsFiltered(was.family)) && offset < now->count)
            return now->first + offset;
        return now->first;
    }
    return -1;
}

} // namespace RegionChoice
