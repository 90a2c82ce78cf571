#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Decodes the Base64 values of the catalogues, leniently: bytes outside the
// alphabet are skipped, pad marks end a group early, and a trailing group of
// fewer than four symbols is dropped. The decoder holds the text of its last
// decoding, which ends at its first NUL byte.
class Base64Decoder {
public:
    void Decode(QByteArrayView input);
    QByteArray Result() const { return held_; }

    // Decode and Result in one step.
    static QByteArray DecodeText(QByteArrayView input);

private:
    QByteArray held_;
};
