#include "catalogue/CatalogueIni.h"

#include <QFile>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Trims blanks (and a CR left from a CR LF line end) on both sides.
void Trim(const char*& begin, const char*& end) {
    while (begin < end && (IsBlank(*begin) || *begin == '\r'))
        ++begin;
    while (end > begin && (IsBlank(end[-1]) || end[-1] == '\r'))
        --end;
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
    Section* current = nullptr;
    const char* p = contents.constData();
    const char* const end = p + contents.size();
    while (p < end) {
        const char* lineEnd = static_cast<const char*>(memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!lineEnd)
            lineEnd = end;
        const char* b = p;
        const char* e = lineEnd;
        p = lineEnd < end ? lineEnd + 1 : end;
        Trim(b, e);
        if (b == e || *b == ';')
            continue;
        if (*b == '[') {
            const char* close = static_cast<const char*>(memchr(b, ']', static_cast<size_t>(e - b)));
            if (!close) {
                current = nullptr;
                continue;
            }
            const char* nb = b + 1;
            const char* ne = close;
            Trim(nb, ne);
            const QByteArray name = QByteArray(nb, ne - nb).toUpper();
            auto it = ini.sections_.find(name);
            if (it == ini.sections_.end()) {
                current = &ini.sections_[name];
            } else {
                current = nullptr; // a repeated section: the first one wins
            }
            continue;
        }
        if (!current)
            continue;
        const char* eq = static_cast<const char*>(memchr(b, '=', static_cast<size_t>(e - b)));
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
        const QByteArray key = QByteArray(kb, ke - kb).toUpper();
        if (!current->contains(key))
            current->insert(key, QByteArray(vb, ve - vb));
    }
    return ini;
}

QByteArray CatalogueIni::Value(const QByteArray& section, const QByteArray& key) const {
    static const QByteArray kMissing("0");
    const auto sectionIt = sections_.constFind(section.toUpper());
    if (sectionIt == sections_.constEnd())
        return kMissing;
    const auto valueIt = sectionIt->constFind(key.toUpper());
    if (valueIt == sectionIt->constEnd())
        return kMissing;
    return *valueIt;
}

bool CatalogueIni::HasSection(const QByteArray& section) const {
    return sections_.contains(section.toUpper());
}
