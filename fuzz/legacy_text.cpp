// Legacy text on arbitrary bytes and arbitrary UTF-16: decoding never crashes
// or drops text silently, valid UTF-8 is read as UTF-8, CP949 round-trips,
// and cutting to a byte count never splits a character, never exceeds the
// count and never cuts more than it must.
//
// Input: one byte of cut length (times 2), one byte of mode, then the text.

#include "FuzzCheck.h"

#include "app/LegacyText.h"

#include <algorithm>
#include <cstring>

namespace {

int EncodedBytes(const QString& ch, bool asUtf8) {
    if (!asUtf8) {
        bool ok = false;
        const QByteArray encoded = LegacyText::EncodeCp949(ch, &ok);
        if (ok)
            return static_cast<int>(encoded.size());
    }
    return static_cast<int>(ch.toUtf8().size());
}

void CheckCut(const QString& text, int maxBytes, bool asUtf8) {
    const QString cut = LegacyText::CutToBytes(text, maxBytes, asUtf8);
    FUZZ_CHECK(text.startsWith(cut), "the cut is not a prefix");
    const qsizetype n = cut.size();
    if (n > 0 && n < text.size())
        FUZZ_CHECK(!(cut.at(n - 1).isHighSurrogate() && text.at(n).isLowSurrogate()),
                   "the cut splits a surrogate pair");
    int used = 0;
    for (qsizetype i = 0; i < n;) {
        const qsizetype len =
            (cut.at(i).isHighSurrogate() && i + 1 < n && cut.at(i + 1).isLowSurrogate()) ? 2 : 1;
        used += EncodedBytes(cut.mid(i, len), asUtf8);
        i += len;
    }
    FUZZ_CHECK(used <= std::max(maxBytes, 0), "the cut is longer than the byte count");
    if (n < text.size()) {
        const qsizetype len =
            (text.at(n).isHighSurrogate() && n + 1 < text.size() && text.at(n + 1).isLowSurrogate())
                ? 2
                : 1;
        FUZZ_CHECK(used + EncodedBytes(text.mid(n, len), asUtf8) > maxBytes,
                   "the cut left out a character that fits");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const int maxBytes = in.Byte() * 2 - 8;
    const unsigned char mode = in.Byte();
    const QByteArray bytes = in.Rest();

    // Decoding: valid UTF-8 is UTF-8; anything else gives one character or a
    // U+FFFD for each byte or pair, never nothing.
    const QString decoded = LegacyText::Decode(bytes);
    if (LegacyText::IsValidUtf8(bytes)) {
        FUZZ_CHECK(decoded == QString::fromUtf8(bytes), "valid UTF-8 not read as UTF-8");
        FUZZ_CHECK(decoded.toUtf8() == bytes, "valid UTF-8 does not round-trip");
    } else {
        FUZZ_CHECK(decoded.size() * 2 >= bytes.size(), "decoding dropped bytes");
    }
    const QString cp949 = LegacyText::DecodeCp949(bytes);
    FUZZ_CHECK(cp949.size() <= bytes.size() && cp949.size() * 2 >= bytes.size(),
               "CP949 decoding lost or made up text");
    bool ok = false;
    const QByteArray again = LegacyText::EncodeCp949(cp949, &ok);
    if (!cp949.contains(QChar(0xFFFD))) {
        FUZZ_CHECK(ok, "decoded CP949 does not encode again");
        FUZZ_CHECK(LegacyText::DecodeCp949(again) == cp949, "CP949 does not round-trip");
    }
    FUZZ_CHECK(LegacyText::FitsCp949(cp949) == ok, "FitsCp949 disagrees with the encoder");

    // Cutting, on text from UTF-8 and on raw UTF-16 (lone surrogates included).
    const bool asUtf8 = (mode & 1) != 0;
    CheckCut(QString::fromUtf8(bytes), maxBytes, asUtf8);
    CheckCut(cp949, maxBytes, asUtf8);
    QString raw(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(raw.data(), bytes.constData(), static_cast<size_t>(raw.size()) * 2);
    CheckCut(raw, maxBytes, asUtf8);
    FUZZ_CHECK(LegacyText::LegacyByteLength(cp949) >= 0, "negative length");
    return 0;
}
