#include "app/LegacyText.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace LegacyText {
namespace {

// One iconv descriptor per direction and thread: opening one costs far more
// than converting a short catalogue value.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (valid())
            iconv_close(handle_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr); // reset shift state
        return handle_;
    }

private:
    iconv_t handle_;
};

IconvHandle& Utf16ToCp949() {
    thread_local IconvHandle handle("CP949", "UTF-16LE");
    return handle;
}

bool IsAscii(const QByteArray& bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

bool IsValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        unsigned int minimum = 0;
        unsigned int code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            code = c & 0x1Fu;
            minimum = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            code = c & 0x0Fu;
            minimum = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            code = c & 0x07u;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false; // cut off at the end
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = p[i + k];
            if ((cc & 0xC0u) != 0x80u)
                return false;
            code = (code << 6) | (cc & 0x3Fu);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

namespace {

// Every two-byte CP949 sequence as iconv maps it, looked up instead of asking
// iconv for each value: catalogues hold hundreds of thousands of short texts.
// 0 marks a pair iconv does not map.
class Cp949PairTable {
public:
    Cp949PairTable() : units_(static_cast<size_t>(kLeads) * 256, 0) {
        IconvHandle conv("UTF-16LE", "CP949");
        if (!conv.valid())
            return;
        for (int lead = kFirstLead; lead <= 0xFE; ++lead) {
            for (int trail = 0x41; trail <= 0xFE; ++trail) {
                char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                char16_t out[2] = {0, 0};
                char* inPtr = in;
                size_t inLeft = 2;
                char* outPtr = reinterpret_cast<char*>(out);
                size_t outLeft = sizeof out;
                const size_t r = iconv(conv.get(), &inPtr, &inLeft, &outPtr, &outLeft);
                if (r != static_cast<size_t>(-1) && inLeft == 0 && outLeft == sizeof(char16_t))
                    units_[Index(lead, trail)] = out[0];
            }
        }
        valid_ = true;
    }
    bool valid() const { return valid_; }
    char16_t Lookup(unsigned char lead, unsigned char trail) const {
        if (lead < kFirstLead || lead == 0xFF)
            return 0;
        return units_[Index(lead, trail)];
    }

private:
    static constexpr int kFirstLead = 0x81;
    static constexpr int kLeads = 0xFF - kFirstLead;
    static size_t Index(int lead, int trail) {
        return static_cast<size_t>(lead - kFirstLead) * 256 + static_cast<size_t>(trail);
    }
    std::vector<char16_t> units_;
    bool valid_ = false;
};

const Cp949PairTable& PairTable() {
    static const Cp949PairTable table;
    return table;
}

} // namespace

QString DecodeCp949(const QByteArray& bytes) {
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes);
    const Cp949PairTable& table = PairTable();
    if (!table.valid())
        return QString::fromUtf8(bytes); // no CP949 table: keep what we can

    // At most one UTF-16 unit per input byte, so the output never runs short.
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* o = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype written = 0;
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            o[written++] = QChar(c);
            ++i;
            continue;
        }
        const char16_t unit = i + 1 < n ? table.Lookup(c, p[i + 1]) : 0;
        if (unit != 0) {
            o[written++] = QChar(unit);
            i += 2;
        } else {
            // An invalid or cut-off sequence: mark it and go on with the next byte.
            o[written++] = QChar(0xFFFD);
            ++i;
        }
    }
    out.truncate(written);
    return out;
}

QString Decode(const QByteArray& bytes) {
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return DecodeCp949(bytes);
}

QByteArray EncodeCp949(const QString& text, bool* ok) {
    if (ok)
        *ok = true;
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return text.toLatin1();
    IconvHandle& conv = Utf16ToCp949();
    if (!conv.valid()) {
        if (ok)
            *ok = false;
        return {};
    }
    QByteArray input(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray out(text.size() * 2 + 4, Qt::Uninitialized);
    char* in = input.data();
    size_t inLeft = static_cast<size_t>(input.size());
    char* outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    const size_t r = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
    if (r == static_cast<size_t>(-1) || inLeft != 0) {
        if (ok)
            *ok = false;
        return {};
    }
    out.truncate(outPtr - out.data());
    return out;
}

bool FitsCp949(const QString& text) {
    bool ok = false;
    EncodeCp949(text, &ok);
    return ok;
}

QString CutToBytes(const QString& text, int maxBytes, bool asUtf8) {
    if (maxBytes <= 0)
        return {};
    if (text.size() * 4 <= maxBytes)
        return text; // cannot exceed even at four bytes a character
    int used = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        // Take one whole character (a surrogate pair is one character).
        qsizetype len = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            len = 2;
        const QString ch = text.mid(i, len);
        int bytes = 0;
        if (asUtf8) {
            bytes = static_cast<int>(ch.toUtf8().size());
        } else {
            bool ok = false;
            const QByteArray enc = EncodeCp949(ch, &ok);
            bytes = ok ? static_cast<int>(enc.size()) : static_cast<int>(ch.toUtf8().size());
        }
        if (used + bytes > maxBytes)
            break;
        used += bytes;
        i += len;
    }
    return text.left(i);
}

int LegacyByteLength(const QString& text) {
    bool ok = false;
    const QByteArray enc = EncodeCp949(text, &ok);
    return static_cast<int>(ok ? enc.size() : text.toUtf8().size());
}

} // namespace LegacyText
