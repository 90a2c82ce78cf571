#include "catalogue/DirectoryAnswerReader.h"

#include <climits>
#include <cstring>

namespace {

// Containers inside a station's values are stepped over; deeper than this
// the answer is not the directory's.
constexpr int kMaxDepth = 64;

// One JSON value as a station field reads it.
struct Scalar {
    enum class Kind { String, Number, True, False, Null, Container } kind = Kind::Null;
    QByteArrayView text; // a string's UTF-8 (escapes decoded) or a number's digits
};

class AnswerReader {
public:
    explicit AnswerReader(QByteArrayView json) : p_(json.begin()), end_(json.end()) {}

    bool Stations(const StationVisitor& each) {
        static const char bom[] = "\xEF\xBB\xBF";
        if (end_ - p_ >= 3 && std::memcmp(p_, bom, 3) == 0)
            p_ += 3;
        if (!Take('['))
            return false;
        if (!Take(']')) {
            do {
                SkipSpace();
                if (p_ < end_ && *p_ == '{') {
                    RadioDirectory::Station station;
                    if (!ReadStation(&station))
                        return false;
                    if (station.lastCheckOk && !station.url.isEmpty() && !station.name.isEmpty())
                        each(std::move(station));
                } else if (!SkipValue(1)) {
                    return false; // not JSON; an element that is no object is no station
                }
            } while (Take(','));
            if (!Take(']'))
                return false;
        }
        SkipSpace();
        return p_ == end_;
    }

private:
    void SkipSpace() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t'))
            ++p_;
    }

    // Steps over blanks and the given character, if it is next.
    bool Take(char c) {
        SkipSpace();
        if (p_ < end_ && *p_ == c) {
            ++p_;
            return true;
        }
        return false;
    }

    bool ReadStation(RadioDirectory::Station* s) {
        ++p_; // '{'
        QString url;
        bool checked = false;
        int lastCheckOk = 1;
        if (!Take('}')) {
            do {
                SkipSpace();
                QByteArrayView key;
                if (!ReadString(&key, &keyScratch_) || !Take(':'))
                    return false;
                SkipSpace();
                Scalar v;
                if (!ReadScalar(&v))
                    return false;
                if (key == "stationuuid")
                    s->uuid = Text(v);
                else if (key == "name")
                    s->name = Text(v);
                else if (key == "url_resolved")
                    s->url = Text(v);
                else if (key == "url")
                    url = Text(v);
                else if (key == "homepage")
                    s->homepage = Text(v);
                else if (key == "tags")
                    s->tags = Text(v);
                else if (key == "state")
                    s->state = Text(v);
                else if (key == "codec")
                    s->codec = Text(v);
                else if (key == "bitrate")
                    s->bitrate = Number(v);
                else if (key == "votes")
                    s->votes = Number(v);
                else if (key == "clickcount")
                    s->clickCount = Number(v);
                else if (key == "lastcheckok") {
                    checked = true;
                    lastCheckOk = v.kind == Scalar::Kind::True ? 1 : Number(v);
                }
            } while (Take(','));
            if (!Take('}'))
                return false;
        }
        if (s->url.isEmpty())
            s->url = url;
        s->lastCheckOk = !checked || lastCheckOk != 0;
        return true;
    }

    // A string's text without the byte-order marks it may start with: an
    // invisible mark before a name would only spoil sorting and searching.
    // (Decoding alone drops one raw mark, but none that an escape wrote.)
    static QString Decoded(QByteArrayView utf8) {
        QString text = QString::fromUtf8(utf8);
        qsizetype marks = 0;
        while (marks < text.size() && text.at(marks) == QChar::ByteOrderMark)
            ++marks;
        return text.remove(0, marks);
    }

    static QString Text(const Scalar& v) {
        return v.kind == Scalar::Kind::String ? Decoded(v.text).trimmed() : QString();
    }

    // The directory writes numbers as numbers, older servers sometimes as
    // text; a fraction or anything else counts as 0.
    static int Number(const Scalar& v) {
        bool ok = false;
        if (v.kind == Scalar::Kind::String)
            return Decoded(v.text).toInt();
        if (v.kind != Scalar::Kind::Number)
            return 0;
        const double d = v.text.toByteArray().toDouble(&ok);
        if (!ok || !(d >= INT_MIN && d <= INT_MAX) || d != static_cast<double>(static_cast<int>(d)))
            return 0;
        return static_cast<int>(d);
    }

    // A value; an object or array is stepped over whole.
    bool ReadScalar(Scalar* v) {
        if (p_ >= end_)
            return false;
        switch (*p_) {
        case '"':
            v->kind = Scalar::Kind::String;
            return ReadString(&v->text, &valueScratch_);
        case '{':
        case '[':
            v->kind = Scalar::Kind::Container;
            return SkipValue(2);
        case 't':
            v->kind = Scalar::Kind::True;
            return TakeWord("true");
        case 'f':
            v->kind = Scalar::Kind::False;
            return TakeWord("false");
        case 'n':
            v->kind = Scalar::Kind::Null;
            return TakeWord("null");
        default:
            v->kind = Scalar::Kind::Number;
            return ReadNumber(&v->text);
        }
    }

    bool SkipValue(int depth) {
        SkipSpace();
        if (p_ >= end_ || depth > kMaxDepth)
            return false;
        const char open = *p_;
        if (open != '{' && open != '[') {
            Scalar ignored;
            return ReadScalar(&ignored);
        }
        ++p_;
        const char close = open == '{' ? '}' : ']';
        if (Take(close))
            return true;
        do {
            if (open == '{') {
                SkipSpace();
                QByteArrayView key;
                if (!ReadString(&key, &skipScratch_) || !Take(':'))
                    return false;
            }
            if (!SkipValue(depth + 1))
                return false;
        } while (Take(','));
        return Take(close);
    }

    bool TakeWord(const char* word) {
        const size_t n = std::strlen(word);
        if (static_cast<size_t>(end_ - p_) < n || std::memcmp(p_, word, n) != 0)
            return false;
        p_ += n;
        return true;
    }

    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    // -?(0|[1-9][0-9]*)(.[0-9]*)?([eE][+-]?[0-9]+)?, or a fraction alone
    // (".5"): JSON, with the two liberties Qt's reader takes too.
    bool ReadNumber(QByteArrayView* digits) {
        const char* start = p_;
        if (p_ < end_ && *p_ == '-')
            ++p_;
        const auto digitsHere = [this] {
            const char* from = p_;
            while (p_ < end_ && IsDigit(*p_))
                ++p_;
            return p_ - from;
        };
        const char* whole = p_;
        const qsizetype wholeDigits = digitsHere();
        if (wholeDigits > 1 && *whole == '0')
            return false; // "01"
        qsizetype fractionDigits = 0;
        if (p_ < end_ && *p_ == '.') {
            ++p_;
            fractionDigits = digitsHere();
        }
        if (wholeDigits == 0 && fractionDigits == 0)
            return false;
        bool exponent = false;
        if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
            exponent = true;
            ++p_;
            if (p_ < end_ && (*p_ == '+' || *p_ == '-'))
                ++p_;
            if (digitsHere() == 0)
                return false;
        }
        *digits = QByteArrayView(start, p_ - start);
        // A number beyond what a double holds (1e309, 1e-330) is refused, as
        // Qt refuses it; short plain numbers, nearly all, cannot be.
        if (exponent || digits->size() > 15) {
            bool ok = false;
            digits->toByteArray().toDouble(&ok);
            return ok;
        }
        return true;
    }

    // A string at p_: its bytes where it lies when it has no escape (nearly
    // always), else decoded into scratch.
    bool ReadString(QByteArrayView* text, QByteArray* scratch) {
        if (p_ >= end_ || *p_ != '"')
            return false;
        const char* start = ++p_;
        while (p_ < end_ && *p_ != '"' && *p_ != '\\')
            ++p_;
        if (p_ < end_ && *p_ == '"') {
            *text = QByteArrayView(start, p_ - start);
            ++p_;
            return true;
        }
        scratch->clear();
        scratch->append(start, p_ - start);
        while (p_ < end_) {
            const char c = *p_++;
            if (c == '"') {
                *text = *scratch;
                return true;
            }
            if (c != '\\') {
                scratch->append(c);
                continue;
            }
            if (p_ >= end_)
                return false;
            const char escaped = *p_++;
            switch (escaped) {
            case 'b':
                scratch->append('\b');
                break;
            case 'f':
                scratch->append('\f');
                break;
            case 'n':
                scratch->append('\n');
                break;
            case 'r':
                scratch->append('\r');
                break;
            case 't':
                scratch->append('\t');
                break;
            case 'u':
                if (!ReadEscapedCharacter(scratch))
                    return false;
                break;
            default: {
                // '"', '\\', '/', and any other character stands for itself, as
                // Qt reads it: a byte past ASCII as the Latin-1 character.
                const auto byte = static_cast<unsigned char>(escaped);
                if (byte < 0x80) {
                    scratch->append(escaped);
                } else {
                    scratch->append(static_cast<char>(0xC0 | (byte >> 6)));
                    scratch->append(static_cast<char>(0x80 | (byte & 0x3F)));
                }
                break;
            }
            }
        }
        return false; // the answer ended inside a string
    }

    bool ReadHex4(char32_t* unit) {
        if (end_ - p_ < 4)
            return false;
        char32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = *p_++;
            value <<= 4;
            if (IsDigit(c))
                value |= static_cast<char32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= static_cast<char32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= static_cast<char32_t>(c - 'A' + 10);
            else
                return false;
        }
        *unit = value;
        return true;
    }

    // "\uXXXX" after the "\u", with a surrogate pair's second half. A lone
    // half becomes U+FFFD: kept, it would turn into "?" when the name is saved.
    bool ReadEscapedCharacter(QByteArray* out) {
        char32_t code = 0;
        if (!ReadHex4(&code))
            return false;
        if (code >= 0xD800 && code <= 0xDBFF && end_ - p_ >= 6 && p_[0] == '\\' && p_[1] == 'u') {
            const char* back = p_;
            p_ += 2;
            char32_t low = 0;
            if (!ReadHex4(&low))
                return false;
            if (low >= 0xDC00 && low <= 0xDFFF)
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            else
                p_ = back; // the next escape is a character of its own
        }
        if (code >= 0xD800 && code <= 0xDFFF)
            code = 0xFFFD;
        out->append(QString::fromUcs4(&code, 1).toUtf8());
        return true;
    }

    const char* p_;
    const char* end_;
    // Decoded strings: a station's key, its value, and keys inside values
    // stepped over (those must not overwrite the station's key).
    QByteArray keyScratch_;
    QByteArray valueScratch_;
    QByteArray skipScratch_;
};

} // namespace

bool ReadDirectoryAnswer(QByteArrayView json, const StationVisitor& each) {
    return AnswerReader(json).Stations(each);
}

std::optional<std::vector<RadioDirectory::Station>> ReadDirectoryAnswer(QByteArrayView json) {
    std::vector<RadioDirectory::Station> stations;
    if (!ReadDirectoryAnswer(
            json, [&stations](RadioDirectory::Station&& s) { stations.push_back(std::move(s)); }))
        return std::nullopt;
    return stations;
}
