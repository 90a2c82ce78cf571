#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// A catalogue file read once and answered from memory. The read rules are
// those of the classic Windows profile reader the catalogues were made for:
// section and key names match without regard to case, a value is the text
// after "=" without surrounding blanks, the first of duplicate sections or
// keys wins, and anything missing reads as "0". At most 259 bytes of a value
// are used, as through the 260-byte buffer every reader passes.
class CatalogueIni {
public:
    static constexpr int kValueBytes = 259;

    CatalogueIni() = default;

    // A missing or unreadable file gives an empty catalogue (every read "0").
    static CatalogueIni Load(const QString& path);
    static CatalogueIni Parse(const QByteArray& contents);

    // The raw value bytes (cut to 259 bytes), or "0" when missing.
    QByteArray Value(const QByteArray& section, const QByteArray& key) const;
    bool HasSection(const QByteArray& section) const;
    bool IsEmpty() const { return sections_.isEmpty(); }
    int SectionCount() const { return static_cast<int>(sections_.size()); }

private:
    using Section = QHash<QByteArray, QByteArray>; // upper-case key -> value
    QHash<QByteArray, Section> sections_;          // upper-case name -> section
};
