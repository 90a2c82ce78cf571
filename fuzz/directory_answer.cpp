// The radio directory's answer against Qt's own JSON reader. Nothing
// crashes, and the reader takes exactly the arrays Qt takes, into the same
// stations as a reading through QJsonDocument gives, but for what it does
// otherwise on purpose: bad UTF-8 is read (as U+FFFD) rather than refusing
// the whole answer, half a surrogate pair becomes U+FFFD, byte-order marks
// at the start of a value are dropped (Qt drops one, and only from a string
// without escapes), and nesting deeper than an answer ever has is refused.
// A key given twice keeps its last value in both readings.

#include "FuzzCheck.h"

#include "catalogue/DirectoryAnswerReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Half a surrogate pair as U+FFFD, as the reader makes it.
QString Whole(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            text[i] = QChar(QChar::ReplacementCharacter);
    }
    return text;
}

// Without the byte-order marks it starts with, as the reader drops them.
QString Unmarked(QString text) {
    qsizetype marks = 0;
    while (marks < text.size() && text.at(marks) == QChar::ByteOrderMark)
        ++marks;
    return text.remove(0, marks);
}

QString Text(const QJsonObject& o, const char* key) {
    return Whole(Unmarked(o.value(QLatin1String(key)).toString())).trimmed();
}

int Number(const QJsonObject& o, const char* key) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isString())
        return Unmarked(v.toString()).toInt();
    if (v.isBool())
        return v.toBool() ? 1 : 0;
    return v.toInt();
}

// The stations of an array read by Qt, with the reader's rules.
std::vector<RadioDirectory::Station> ThroughQt(const QJsonArray& array) {
    std::vector<RadioDirectory::Station> stations;
    for (const QJsonValue& value : array) {
        const QJsonObject o = value.toObject();
        RadioDirectory::Station s;
        s.uuid = Text(o, "stationuuid");
        s.name = Text(o, "name");
        s.url = Text(o, "url_resolved");
        if (s.url.isEmpty())
            s.url = Text(o, "url");
        s.homepage = Text(o, "homepage");
        s.tags = Text(o, "tags");
        s.state = Text(o, "state");
        s.codec = Text(o, "codec");
        s.bitrate = Number(o, "bitrate");
        s.clickCount = Number(o, "clickcount");
        const bool broken =
            o.contains(QLatin1String("lastcheckok")) && Number(o, "lastcheckok") == 0;
        if (!broken && !s.url.isEmpty() && !s.name.isEmpty())
            stations.push_back(std::move(s));
    }
    return stations;
}

bool Same(const RadioDirectory::Station& a, const RadioDirectory::Station& b) {
    return a.uuid == b.uuid && a.name == b.name && a.url == b.url && a.homepage == b.homepage &&
           a.tags == b.tags && a.state == b.state && a.codec == b.codec && a.bitrate == b.bitrate &&
           a.clickCount == b.clickCount;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray json = fuzz::Bytes(data, size);
    const auto read = ReadDirectoryAnswer(json);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    const bool qtReads = error.error == QJsonParseError::NoError && document.isArray();
    if (!qtReads) {
        FUZZ_CHECK(!read || error.error == QJsonParseError::IllegalUTF8String,
                   "what Qt refuses is read as an answer");
        return 0;
    }
    if (!read) {
        FUZZ_CHECK(json.count('[') + json.count('{') > 64, "an array Qt reads is refused");
        return 0;
    }
    const std::vector<RadioDirectory::Station> expected = ThroughQt(document.array());
    FUZZ_CHECK(expected.size() == read->size(), "another number of stations than Qt's reading");
    for (size_t i = 0; i < expected.size(); ++i)
        FUZZ_CHECK(Same(expected[i], read->at(i)), "a station reads differently from Qt's reading");
    return 0;
}
