#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <optional>

// A settings file a person can read and edit: "[section]" lines and
// "Name=text" lines, UTF-8. Editing keeps every other line (comments, blank
// lines, unknown sections) exactly as it was. Section and value names compare
// without regard to case.
//
// Values round-trip exactly. A value is written as it is unless it would not
// survive a plain line (blanks at either end, a leading double quote, control
// characters); then it is written in double quotes with backslash escapes
// (\\ \" \n \r \t \xHH).
class IniDocument {
public:
    static IniDocument Parse(const QByteArray& utf8);
    QByteArray Serialize() const;

    std::optional<QString> Value(const QString& section, const QString& name) const;
    // False when the name cannot be stored as an INI name (empty, "=", line
    // breaks, blanks at either end, or a leading "[", ";" or "#").
    bool SetValue(const QString& section, const QString& name, const QString& value);
    // True when a value was there and is removed.
    bool RemoveValue(const QString& section, const QString& name);

    static QString EncodeValue(const QString& value);
    static QString DecodeValue(const QString& stored);
    static bool IsStorableName(const QString& name);

private:
    struct Line {
        enum class Kind { Other, Section, Entry };
        Kind kind = Kind::Other;
        QString text;    // the line as it stands in the file
        QString section; // Section lines: the name in brackets
        QString name;    // Entry lines: the value name
        QString stored;  // Entry lines: the text after "=", trimmed
    };

    int FindSection(const QString& section) const;
    int FindEntry(int sectionLine, const QString& name) const;

    QVector<Line> lines_;
    bool byteOrderMark_ = false; // the file began with one; it is written back
};
