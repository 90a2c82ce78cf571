#include "catalogue/ReadPacer.h"

#include <algorithm>
#include <limits>

qint64 ReadPacer::BurstOf(qint64 bytesPerSecond, qint64 minimum) {
    return std::max(bytesPerSecond / 4, minimum);
}

void ReadPacer::SetRate(qint64 bytesPerSecond, qint64 nowMs) {
    rate_ = std::max<qint64>(bytesPerSecond, 0);
    burst_ = BurstOf(rate_, kMinimumBurst);
    tokens_ = burst_ * 1000;
    filledAt_ = nowMs;
}

void ReadPacer::Fill(qint64 nowMs) {
    // A clock set back adds nothing, and the time is counted from it on.
    const qint64 elapsed = std::max<qint64>(nowMs - filledAt_, 0);
    filledAt_ = nowMs;
    tokens_ = std::min(tokens_ + elapsed * rate_, burst_ * 1000);
}

qint64 ReadPacer::Allowance(qint64 nowMs) {
    if (!IsPaced())
        return std::numeric_limits<qint64>::max();
    Fill(nowMs);
    return tokens_ / 1000;
}

void ReadPacer::Took(qint64 bytes) {
    if (IsPaced())
        tokens_ -= bytes * 1000;
}

qint64 ReadPacer::WaitMs(qint64 nowMs, qint64 bytes) {
    if (!IsPaced())
        return 0;
    Fill(nowMs);
    const qint64 wanted = std::min(bytes, burst_) * 1000;
    if (tokens_ >= wanted)
        return 0;
    return (wanted - tokens_ + rate_ - 1) / rate_;
}
