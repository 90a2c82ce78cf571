// The catalogues' Base64 decoder on arbitrary text: nothing crashes or
// overruns, the result never outgrows the input, holds no NUL, and a proper
// encoding decodes to its bytes (up to the first NUL), also with blanks and
// line breaks scattered through it.

#include "FuzzCheck.h"

#include "catalogue/Base64Decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);

    const QByteArray decoded = Base64Decoder::DecodeText(bytes);
    FUZZ_CHECK(decoded.size() <= bytes.size() / 4 * 3, "more bytes out than four-to-three");
    FUZZ_CHECK(!decoded.contains('\0'), "the text goes past its first NUL");

    // One decoder used twice holds only the second result.
    Base64Decoder decoder;
    decoder.Decode(bytes);
    decoder.Decode(QByteArrayView("QUJD"));
    FUZZ_CHECK(decoder.Result() == "ABC", "a decoder keeps bytes of an earlier input");

    QByteArray plain = bytes;
    const qsizetype nul = plain.indexOf('\0');
    if (nul >= 0)
        plain.truncate(nul);
    FUZZ_CHECK(Base64Decoder::DecodeText(bytes.toBase64()) == plain,
               "a padded encoding does not decode to its bytes");
    FUZZ_CHECK(Base64Decoder::DecodeText(
                   bytes.toBase64(QByteArray::OmitTrailingEquals).append("====")) == plain,
               "an encoding with extra pad marks does not decode to its bytes");
    QByteArray spread;
    const QByteArray encoded = bytes.toBase64();
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        spread += encoded[i];
        if (i % 7 == 3)
            spread += "\r\n \t";
    }
    FUZZ_CHECK(Base64Decoder::DecodeText(spread) == plain,
               "blanks inside an encoding change the bytes");
    return 0;
}
