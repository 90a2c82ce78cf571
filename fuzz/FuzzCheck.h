#pragma once

// What every fuzz target shares: a check that stops the run with a message
// the fuzzer shows next to the input that broke it, and a cursor that cuts
// the fuzzer's bytes into the pieces a target needs.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, what);                         \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzz {

class Input {
public:
    Input(const uint8_t* data, size_t size)
        : data_(reinterpret_cast<const char*>(data)), size_(size) {}

    bool empty() const { return pos_ >= size_; }

    // One byte, 0 once the input is used up.
    unsigned char Byte() { return pos_ < size_ ? static_cast<unsigned char>(data_[pos_++]) : 0; }

    // The bytes up to the next 0xFF marker (or the end), the marker skipped.
    QByteArray Piece() {
        size_t end = pos_;
        while (end < size_ && static_cast<unsigned char>(data_[end]) != 0xFF)
            ++end;
        QByteArray piece(data_ + pos_, static_cast<qsizetype>(end - pos_));
        pos_ = end < size_ ? end + 1 : end;
        return piece;
    }

    QString Text() { return QString::fromUtf8(Piece()); }

    QByteArray Rest() {
        QByteArray rest(data_ + pos_, static_cast<qsizetype>(size_ - pos_));
        pos_ = size_;
        return rest;
    }

private:
    const char* data_;
    size_t size_;
    size_t pos_ = 0;
};

inline QByteArray Bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace fuzz
