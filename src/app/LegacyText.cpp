#include "app/LegacyText.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

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

IconvHandle& Cp949ToUtf16() {
    thread_local IconvHandle handle("UTF-16LE", "CP949");
    return handle;
}

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

bool IsValidUtf8(const QByteArray& bytes) {
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

QString DecodeCp949(const QByteArray& bytes) {
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes);
    IconvHandle& conv = Cp949ToUtf16();
    if (!conv.valid())
        return QString::fromUtf8(bytes); // no CP949 table: keep what we can

    // At most one UTF-16 unit per input byte, so the output never runs short.
    QString out(bytes.size(), Qt::Uninitialized);
    // iconv takes a non-const input pointer but only reads through it.
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char* outPtr = reinterpret_cast<char*>(out.data());
    size_t outLeft = static_cast<size_t>(out.size()) * sizeof(char16_t);
    iconv_t cd = conv.get();
    while (inLeft > 0) {
        const size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        if (r != static_cast<size_t>(-1))
            break;
        if ((errno != EILSEQ && errno != EINVAL) || outLeft < sizeof(char16_t))
            break;
        // An invalid or cut-off sequence: mark it and go on with the next byte.
        const char16_t replacement = 0xFFFD;
        std::memcpy(outPtr, &replacement, sizeof replacement);
        outPtr += sizeof replacement;
        outLeft -= sizeof replacement;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.truncate(static_cast<qsizetype>((outPtr - reinterpret_cast<char*>(out.data())) /
                                        static_cast<qsizetype>(sizeof(char16_t))));
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
