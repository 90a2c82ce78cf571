#pragma once

#include <QtGlobal>

// Paces the reading of a download to a rate (bytes per second): a bucket
// that fills at the rate and holds at most a burst, so a reader that waited
// long gets no backlog. The clock is the caller's (milliseconds), which keeps
// the pacing free of wall-clock time and testable on a simulated one.
class ReadPacer {
public:
    // 0: not paced (everything may be read at once). The bucket starts full.
    void SetRate(qint64 bytesPerSecond, qint64 nowMs);
    qint64 Rate() const { return rate_; }
    bool IsPaced() const { return rate_ > 0; }

    // How many bytes may be read at nowMs.
    qint64 Allowance(qint64 nowMs);
    // `bytes` were read (the allowance shrinks by as much).
    void Took(qint64 bytes);
    // Milliseconds from nowMs until `bytes` may be read (0: at once).
    qint64 WaitMs(qint64 nowMs, qint64 bytes);

    // The most the bucket holds: a quarter of a second's worth, never less
    // than one read of `minimum` bytes.
    static qint64 BurstOf(qint64 bytesPerSecond, qint64 minimum);
    static constexpr qint64 kMinimumBurst = 16 * 1024;

private:
    void Fill(qint64 nowMs);

    qint64 rate_ = 0;
    qint64 burst_ = 0;
    qint64 tokens_ = 0; // in bytes x 1000, so a millisecond adds the rate
    qint64 filledAt_ = 0;
};
