#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <vector>

// A catalogue file read once and answered from memory. The read rules are
// those of the classic Windows profile reader the catalogues were made for:
// section and key names match without regard to case, a value is the text
// after "=" without surrounding blanks, the first of duplicate sections or
// keys wins, and anything missing reads as "0". At most 259 bytes of a value
// are used, as through the 260-byte buffer every reader passes.
//
// Catalogues run to hundreds of thousands of values, so the file is kept as
// one buffer and the index holds offsets into it, not copies: one list of
// every entry in file order, and per section the run of its entries.
class CatalogueIni {
public:
    static constexpr int kValueBytes = 259;

    CatalogueIni() = default;

    // A missing or unreadable file gives an empty catalogue (every read "0").
    static CatalogueIni Load(const QString& path);
    static CatalogueIni Parse(const QByteArray& contents);

    // The value bytes (cut to 259 bytes), or "0" when missing. The view lives
    // as long as this object.
    QByteArrayView ValueView(QByteArrayView section, QByteArrayView key) const;
    QByteArray Value(QByteArrayView section, QByteArrayView key) const {
        return ValueView(section, key).toByteArray();
    }
    // Several values of one section with one section lookup: out[i] is the
    // value of keys[i], or "0" when missing.
    void ValuesOf(QByteArrayView section, const char* const* keys, int count,
                  QByteArrayView* out) const;
    bool HasSection(QByteArrayView section) const;
    bool IsEmpty() const { return sections_.isEmpty(); }
    int SectionCount() const { return static_cast<int>(sections_.size()); }

private:
    struct Span {
        qsizetype begin = 0;
        qsizetype length = 0;
    };
    struct Entry {
        Span key;
        Span value;
    };
    struct Section {
        qsizetype first = 0; // index of its first entry in entries_
        qsizetype count = 0;
    };

    const Section* FindSection(QByteArrayView section) const;
    QByteArrayView ValueIn(const Section* section, QByteArrayView key) const;

    QByteArray data_;
    std::vector<Entry> entries_;
    // Upper-case name -> its entries. Names already in upper case (nearly
    // all) are keys that point into data_ rather than copies.
    QHash<QByteArray, Section> sections_;
};
