#include "catalogue/NameFinder.h"

#include <QChar>

#include <array>

namespace {

constexpr char16_t kFirstSyllable = 0xAC00;
constexpr char16_t kLastSyllable = 0xD7A3;
constexpr int kSyllablesPerInitial = 21 * 28;
constexpr int kFinals = 28;

// The 19 initial consonants as the keyboard types them (compatibility
// jamo), in the order of the syllable block.
constexpr std::array<char16_t, 19> kInitials = {
    0x3131, 0x3132, 0x3134, 0x3137, 0x3138, 0x3139, 0x3141, 0x3142, 0x3143, 0x3145,
    0x3146, 0x3147, 0x3148, 0x3149, 0x314A, 0x314B, 0x314C, 0x314D, 0x314E,
};

bool IsSyllable(char16_t c) {
    return c >= kFirstSyllable && c <= kLastSyllable;
}

int InitialOf(char16_t syllable) {
    return (syllable - kFirstSyllable) / kSyllablesPerInitial;
}

int InitialIndex(char16_t jamo) {
    for (std::size_t i = 0; i < kInitials.size(); ++i)
        if (kInitials[i] == jamo)
            return static_cast<int>(i);
    return -1;
}

char16_t Folded(char16_t c) {
    return QChar(c).toCaseFolded().unicode();
}

} // namespace

NameFinder::NameFinder(const QString& query) {
    const QString text = query.normalized(QString::NormalizationForm_C);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar(c).isSpace() && (query_.empty() || i + 1 == text.size()))
            continue; // spaces around the query are not part of it
        const int initial = InitialIndex(c);
        if (initial >= 0) {
            query_.push_back({Kind::Initial, static_cast<char16_t>(initial)});
        } else if (i + 1 == text.size() && IsSyllable(c) && (c - kFirstSyllable) % kFinals == 0) {
            // The last syllable without a final consonant may still grow one.
            query_.push_back({Kind::Syllable, c});
        } else {
            query_.push_back({Kind::Exact, Folded(c)});
        }
    }
}

bool NameFinder::Matches(const Unit& unit, char16_t c) const {
    switch (unit.kind) {
    case Kind::Exact:
        return Folded(c) == unit.value;
    case Kind::Initial:
        return (IsSyllable(c) && InitialOf(c) == unit.value) || c == kInitials[unit.value];
    case Kind::Syllable:
        return IsSyllable(c) &&
               (c - kFirstSyllable) / kFinals == (unit.value - kFirstSyllable) / kFinals;
    }
    return false;
}

NameFinder::Match NameFinder::Find(const QString& name) const {
    if (query_.empty())
        return {0, 0};
    const qsizetype count = static_cast<qsizetype>(query_.size());
    const char16_t* text = reinterpret_cast<const char16_t*>(name.utf16());
    for (qsizetype start = 0; start + count <= name.size(); ++start) {
        qsizetype i = 0;
        while (i < count && Matches(query_[static_cast<std::size_t>(i)], text[start + i]))
            ++i;
        if (i == count)
            return {static_cast<int>(start), static_cast<int>(count)};
    }
    return {};
}
