#include "catalogue/CatalogueIni.h"

#include <QFile>

#include <cstring>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Trims blanks (and a CR left from a CR LF line end) on both sides.
void Trim(const char*& begin, const char*& end) {
    while (begin < end && (IsBlank(*begin) || *begin == '\r'))
        ++begin;
    while (end > begin && (IsBlank(end[-1]) || end[-1] == '\r'))
        --end;
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameIgnoringCase(const char* a, qsizetype aLen, QByteArrayView b) {
    if (aLen != b.size())
        return false;
    for (qsizetype i = 0; i < aLen; ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    }
    return true;
}

bool IsUpper(QByteArrayView text) {
    for (char c : text) {
        if (c >= 'a' && c <= 'z')
            return false;
    }
    return true;
}

QByteArray UpperCopy(QByteArrayView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = AsciiUpper(text[i]);
    return out;
}

} // namespace

CatalogueIni CatalogueIni::Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return Parse(file.readAll());
}

CatalogueIni CatalogueIni::Parse(const QByteArray& contents) {
    CatalogueIni ini;
    ini.data_ = contents;
    const char* const base = ini.data_.constData();
    const char* p = base;
    const char* const end = p + ini.data_.size();
    Section* current = nullptr;
    // About one entry per 40 bytes in a catalogue; a guess only, to spare
    // most of the growing.
    ini.entries_.reserve(static_cast<size_t>(ini.data_.size() / 40));
    while (p < end) {
        const char* lineEnd =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!lineEnd)
            lineEnd = end;
        const char* b = p;
        const char* e = lineEnd;
        p = lineEnd < end ? lineEnd + 1 : end;
        Trim(b, e);
        if (b == e || *b == ';')
            continue;
        if (*b == '[') {
            const char* close =
                static_cast<const char*>(std::memchr(b, ']', static_cast<size_t>(e - b)));
            current = nullptr;
            if (!close)
                continue;
            const char* nb = b + 1;
            const char* ne = close;
            Trim(nb, ne);
            const QByteArrayView nameView(nb, ne - nb);
            const QByteArray name = IsUpper(nameView) ? QByteArray::fromRawData(nb, nameView.size())
                                                      : UpperCopy(nameView);
            if (!ini.sections_.contains(name)) { // a repeated section: the first one wins
                current = &ini.sections_[name];
                current->first = static_cast<qsizetype>(ini.entries_.size());
            }
            continue;
        }
        if (!current)
            continue;
        const char* eq = static_cast<const char*>(std::memchr(b, '=', static_cast<size_t>(e - b)));
        if (!eq)
            continue;
        const char* kb = b;
        const char* ke = eq;
        Trim(kb, ke);
        const char* vb = eq + 1;
        const char* ve = e;
        Trim(vb, ve);
        if (ve - vb > kValueBytes)
            ve = vb + kValueBytes;
        ini.entries_.push_back(Entry{{kb - base, ke - kb}, {vb - base, ve - vb}});
        ++current->count;
    }
    ini.entries_.shrink_to_fit();
    return ini;
}

const CatalogueIni::Section* CatalogueIni::FindSection(QByteArrayView section) const {
    const auto it =
        IsUpper(section)
            ? sections_.constFind(QByteArray::fromRawData(section.data(), section.size()))
            : sections_.constFind(UpperCopy(section));
    return it == sections_.constEnd() ? nullptr : &*it;
}

QByteArrayView CatalogueIni::ValueIn(const Section* section, QByteArrayView key) const {
    static const char kMissing[] = "0";
    if (section) {
        const char* base = data_.constData();
        const auto first = entries_.begin() + section->first;
        for (auto entry = first; entry != first + section->count; ++entry) {
            // The first of duplicate keys wins.
            if (SameIgnoringCase(base + entry->key.begin, entry->key.length, key))
                return QByteArrayView(base + entry->value.begin, entry->value.length);
        }
    }
    return QByteArrayView(kMissing, 1);
}

QByteArrayView CatalogueIni::ValueView(QByteArrayView section, QByteArrayView key) const {
    return ValueIn(FindSection(section), key);
}

void CatalogueIni::ValuesOf(QByteArrayView section, const char* const* keys, int count,
                            QByteArrayView* out) const {
    const Section* found = FindSection(section);
    for (int i = 0; i < count; ++i)
        out[i] = ValueIn(found, keys[i]);
}

bool CatalogueIni::HasSection(QByteArrayView section) const {
    return FindSection(section) != nullptr;
}
