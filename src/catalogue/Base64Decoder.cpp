#include "catalogue/Base64Decoder.h"

namespace {

constexpr int kPad = 64;
constexpr int kSkip = -1;

// Symbol values: 0..63 for the alphabet, kPad for "=", kSkip for the rest.
struct SymbolTable {
    int values[256];
    constexpr SymbolTable() : values() {
        for (int i = 0; i < 256; ++i)
            values[i] = kSkip;
        for (int i = 0; i < 26; ++i) {
            values['A' + i] = i;
            values['a' + i] = 26 + i;
        }
        for (int i = 0; i < 10; ++i)
            values['0' + i] = 52 + i;
        values[static_cast<int>('+')] = 62;
        values[static_cast<int>('/')] = 63;
        values[static_cast<int>('=')] = kPad;
    }
};

constexpr SymbolTable kSymbols;

} // namespace

void Base64Decoder::Decode(QByteArrayView input) {
    // Written into a buffer of the largest possible size, then cut to length.
    held_.resize(input.size() / 4 * 3 + 3);
    char* out = held_.data();
    int group[4];
    int count = 0;
    for (const char c : input) {
        const int value = kSymbols.values[static_cast<unsigned char>(c)];
        if (value == kSkip)
            continue;
        group[count++] = value;
        if (count < 4)
            continue;
        count = 0;
        if (group[0] == kPad || group[1] == kPad)
            continue; // nothing can be made of a group padded this early
        const unsigned bits01 =
            (static_cast<unsigned>(group[0]) << 18) | (static_cast<unsigned>(group[1]) << 12);
        if (group[2] == kPad) {
            *out++ = static_cast<char>((bits01 >> 16) & 0xFFu);
            continue;
        }
        const unsigned bits012 = bits01 | (static_cast<unsigned>(group[2]) << 6);
        if (group[3] == kPad) {
            *out++ = static_cast<char>((bits012 >> 16) & 0xFFu);
            *out++ = static_cast<char>((bits012 >> 8) & 0xFFu);
            continue;
        }
        const unsigned bits = bits012 | static_cast<unsigned>(group[3]);
        *out++ = static_cast<char>((bits >> 16) & 0xFFu);
        *out++ = static_cast<char>((bits >> 8) & 0xFFu);
        *out++ = static_cast<char>(bits & 0xFFu);
    }
    held_.truncate(out - held_.constData());
    // A trailing incomplete group is dropped; the text ends at its first NUL.
    const qsizetype nul = held_.indexOf('\0');
    if (nul >= 0)
        held_.truncate(nul);
}

QByteArray Base64Decoder::DecodeText(QByteArrayView input) {
    Base64Decoder decoder;
    decoder.Decode(input);
    return decoder.Result();
}
