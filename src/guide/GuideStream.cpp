#include "guide/GuideStream.h"

#include "app/LegacyText.h"

#include <cerrno>
#include <iconv.h>
#include <lzma.h>
#include <zlib.h>

namespace {

constexpr qsizetype kSlice = 64 * 1024;
// liblzma refuses a stream whose dictionary needs more than this (xz -9
// needs 64 MiB; a hostile header could ask for gigabytes).
constexpr uint64_t kXzMemoryLimit = 128ull * 1024 * 1024;

bool StartsWith(const QByteArray& bytes, const char* magic, qsizetype length) {
    return bytes.size() >= length && std::memcmp(bytes.constData(), magic, length) == 0;
}

} // namespace

// The packed file in, the text out, a slice at a time.
class GuideStream::Unpacker {
public:
    Unpacker(QIODevice* source, Packing packing) : source_(source), packing_(packing) {
        if (packing_ == Packing::Gzip) {
            ok_ = inflateInit2(&zip_, 16 + MAX_WBITS) == Z_OK;
        } else if (packing_ == Packing::Xz) {
            ok_ = lzma_stream_decoder(&xz_, kXzMemoryLimit, LZMA_CONCATENATED) == LZMA_OK;
        }
    }
    ~Unpacker() {
        if (packing_ == Packing::Gzip)
            inflateEnd(&zip_);
        else if (packing_ == Packing::Xz)
            lzma_end(&xz_);
    }
    Unpacker(const Unpacker&) = delete;
    Unpacker& operator=(const Unpacker&) = delete;

    // What was read to tell the packing is handed in first.
    void Prime(const QByteArray& head) {
        in_ = head;
        inPos_ = 0;
    }

    // Fills `out` with the next slice of unpacked bytes; empty at the end or
    // on a fault.
    Fault Next(QByteArray* out, qint64* packedRead) {
        out->resize(kSlice);
        if (!ok_)
            return Fault::Corrupt;
        switch (packing_) {
        case Packing::Plain:
            return NextPlain(out, packedRead);
        case Packing::Gzip:
            return NextGzip(out, packedRead);
        case Packing::Xz:
            return NextXz(out, packedRead);
        }
        return Fault::Corrupt;
    }

private:
    bool Fill(qint64* packedRead) {
        if (inPos_ < in_.size() || sourceEnded_)
            return inPos_ < in_.size();
        in_.resize(kSlice);
        const qint64 n = source_->read(in_.data(), kSlice);
        if (n < 0)
            readFailed_ = true;
        if (n <= 0) {
            in_.clear();
            sourceEnded_ = true;
            return false;
        }
        in_.resize(n);
        inPos_ = 0;
        *packedRead += n;
        return true;
    }

    Fault NextPlain(QByteArray* out, qint64* packedRead) {
        if (!Fill(packedRead)) {
            out->clear();
            return readFailed_ ? Fault::ReadFailed : Fault::None;
        }
        *out = in_.sliced(inPos_);
        inPos_ = in_.size();
        return Fault::None;
    }

    Fault NextGzip(QByteArray* out, qint64* packedRead) {
        zip_.next_out = reinterpret_cast<Bytef*>(out->data());
        zip_.avail_out = static_cast<uInt>(out->size());
        Fault fault = Fault::None;
        while (zip_.avail_out == static_cast<uInt>(out->size()) && !done_) {
            if (!Fill(packedRead)) {
                if (readFailed_)
                    fault = Fault::ReadFailed;
                else if (!memberEnded_)
                    fault = Fault::Truncated;
                done_ = true;
                break;
            }
            zip_.next_in = reinterpret_cast<Bytef*>(in_.data() + inPos_);
            zip_.avail_in = static_cast<uInt>(in_.size() - inPos_);
            const int result = inflate(&zip_, Z_NO_FLUSH);
            inPos_ = in_.size() - zip_.avail_in;
            if (result == Z_STREAM_END) {
                memberEnded_ = true;
                // Files made by concatenating gzip members are one guide;
                // anything else after the end mark is ignored.
                if (Fill(packedRead) && static_cast<unsigned char>(in_[inPos_]) == 0x1F) {
                    inflateReset(&zip_);
                    memberEnded_ = false;
                } else {
                    done_ = true;
                }
            } else if (result == Z_OK) {
                memberEnded_ = false;
            } else if (result != Z_BUF_ERROR) {
                fault = Fault::Corrupt;
                done_ = true;
            }
        }
        out->resize(out->size() - zip_.avail_out);
        return fault;
    }

    Fault NextXz(QByteArray* out, qint64* packedRead) {
        xz_.next_out = reinterpret_cast<uint8_t*>(out->data());
        xz_.avail_out = static_cast<size_t>(out->size());
        Fault fault = Fault::None;
        while (xz_.avail_out == static_cast<size_t>(out->size()) && !done_) {
            const bool more = Fill(packedRead);
            if (readFailed_) {
                fault = Fault::ReadFailed;
                done_ = true;
                break;
            }
            xz_.next_in =
                more ? reinterpret_cast<const uint8_t*>(in_.constData() + inPos_) : nullptr;
            xz_.avail_in = more ? static_cast<size_t>(in_.size() - inPos_) : 0;
            const lzma_ret result = lzma_code(&xz_, more ? LZMA_RUN : LZMA_FINISH);
            if (more)
                inPos_ = in_.size() - static_cast<qsizetype>(xz_.avail_in);
            if (result == LZMA_STREAM_END) {
                done_ = true;
            } else if (result == LZMA_BUF_ERROR ||
                       (result == LZMA_OK && !more &&
                        xz_.avail_out == static_cast<size_t>(out->size()))) {
                fault = Fault::Truncated;
                done_ = true;
            } else if (result != LZMA_OK) {
                fault = Fault::Corrupt;
                done_ = true;
            }
        }
        out->resize(out->size() - static_cast<qsizetype>(xz_.avail_out));
        return fault;
    }

    QIODevice* source_;
    Packing packing_;
    bool ok_ = true;
    z_stream zip_{};
    lzma_stream xz_ = LZMA_STREAM_INIT;
    QByteArray in_;
    qsizetype inPos_ = 0;
    bool sourceEnded_ = false;
    bool readFailed_ = false;
    bool memberEnded_ = false;
    bool done_ = false;
};

// The unpacked bytes to UTF-8. Until the first byte outside ASCII the
// encoding does not matter (CP949 and UTF-8 agree on ASCII); at that byte
// the text decides, unless the XML declaration named an encoding first.
class GuideStream::Recoder {
public:
    ~Recoder() {
        if (iconv_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(iconv_);
    }

    bool cp949() const { return cp949_; }

    void Feed(QByteArrayView bytes, QByteArray* out) {
        if (first_) {
            first_ = false;
            bytes = Start(bytes);
        }
        if (mode_ == Mode::Undecided) {
            qsizetype i = 0;
            while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80)
                ++i;
            if (i == bytes.size()) {
                out->append(bytes.constData(), bytes.size());
                return;
            }
            out->append(bytes.constData(), i);
            bytes = bytes.sliced(i);
            if (LooksUtf8(bytes)) {
                mode_ = Mode::Same;
            } else {
                OpenIconv("CP949");
                cp949_ = true;
            }
        }
        if (mode_ == Mode::Same)
            out->append(bytes.constData(), bytes.size());
        else
            Convert(bytes, out);
    }

private:
    enum class Mode { Undecided, Same, Recode };

    // A byte-order mark and the XML declaration's encoding.
    QByteArrayView Start(QByteArrayView bytes) {
        if (bytes.startsWith("\xEF\xBB\xBF")) {
            mode_ = Mode::Same;
            return bytes.sliced(3);
        }
        if (bytes.startsWith("\xFE\xFF") || bytes.startsWith("\xFF\xFE")) {
            mode_ = Mode::Same; // UTF-16 with its mark: the XML reader knows it
            return bytes;
        }
        if (!bytes.startsWith("<?xml"))
            return bytes;
        const qsizetype end = bytes.first(qMin<qsizetype>(bytes.size(), 512)).indexOf("?>");
        if (end < 0)
            return bytes;
        const QByteArray declaration = bytes.first(end).toByteArray();
        const qsizetype at = declaration.indexOf("encoding");
        if (at < 0)
            return bytes;
        qsizetype open = at + 8;
        while (open < declaration.size() && declaration[open] != '"' && declaration[open] != '\'')
            ++open;
        if (open >= declaration.size())
            return bytes;
        const qsizetype close = declaration.indexOf(declaration[open], open + 1);
        if (close < 0)
            return bytes;
        const QByteArray name = declaration.mid(open + 1, close - open - 1).trimmed().toLower();
        if (name == "utf-8" || name == "utf8" || name == "us-ascii" || name == "ascii")
            return bytes;
        // EUC-KR files carry the Unified Hangul extension more often than not.
        const bool korean = name == "euc-kr" || name == "cp949" || name == "uhc" ||
                            name == "ks_c_5601-1987" || name == "x-windows-949" ||
                            name == "windows-949" || name == "ks_c_5601";
        if (!OpenIconv(korean ? QByteArray("CP949") : name.toUpper())) {
            return bytes; // the XML reader reports the encoding it does not know
        }
        cp949_ = korean;
        // The text goes on as UTF-8: the declaration naming the old encoding
        // is left out, so the reader does not decode it a second time.
        return bytes.sliced(end + 2);
    }

    bool OpenIconv(const QByteArray& from) {
        iconv_ = iconv_open("UTF-8", from.constData());
        if (iconv_ == reinterpret_cast<iconv_t>(-1))
            return false;
        mode_ = Mode::Recode;
        return true;
    }

    // Valid UTF-8 over the next few kilobytes, a sequence cut at the slice's
    // end allowed.
    static bool LooksUtf8(QByteArrayView bytes) {
        QByteArrayView window = bytes.first(qMin<qsizetype>(bytes.size(), 4096));
        for (int cut = 0; cut < 4 && cut < window.size(); ++cut) {
            if (LegacyText::IsValidUtf8(window.first(window.size() - cut)))
                return true;
        }
        return false;
    }

    void Convert(QByteArrayView bytes, QByteArray* out) {
        QByteArray input = pending_ + bytes.toByteArray();
        pending_.clear();
        char* in = input.data();
        size_t inLeft = static_cast<size_t>(input.size());
        const qsizetype base = out->size();
        out->resize(base + input.size() * 2 + 16);
        char* to = out->data() + base;
        size_t outLeft = static_cast<size_t>(out->size() - base);
        while (inLeft > 0) {
            if (iconv(iconv_, &in, &inLeft, &to, &outLeft) != static_cast<size_t>(-1))
                break;
            if (errno == EINVAL) { // a character cut at the slice's end
                pending_ = QByteArray(in, static_cast<qsizetype>(inLeft));
                break;
            }
            if (errno == E2BIG) {
                const qsizetype used = to - out->data();
                out->resize(out->size() * 2);
                to = out->data() + used;
                outLeft = static_cast<size_t>(out->size() - used);
                continue;
            }
            // A byte the encoding does not know: shown as U+FFFD, not lost
            // quietly and not as "?".
            if (outLeft < 3) {
                const qsizetype used = to - out->data();
                out->resize(out->size() + 64);
                to = out->data() + used;
                outLeft = static_cast<size_t>(out->size() - used);
            }
            std::memcpy(to, "\xEF\xBF\xBD", 3);
            to += 3;
            outLeft -= 3;
            ++in;
            --inLeft;
        }
        out->resize(to - out->data());
    }

    Mode mode_ = Mode::Undecided;
    bool first_ = true;
    bool cp949_ = false;
    iconv_t iconv_ = reinterpret_cast<iconv_t>(-1);
    QByteArray pending_;
};

// Drops the <programme> elements of unwanted channels from the text. Every
// '<' of well-formed XML starts markup (text and attribute values cannot
// hold one), so walking from '<' to '<' finds every element; what cannot
// be decided yet (a tag cut at the slice's end) waits for the next slice.
class GuideStream::Skipper {
public:
    explicit Skipper(std::function<bool(QByteArrayView)> skip) : skip_(std::move(skip)) {}

    void Feed(QByteArrayView text, QByteArray* out) {
        QByteArray joined;
        if (!carry_.isEmpty()) {
            joined = carry_ + text.toByteArray();
            carry_.clear();
            text = joined;
        }
        qsizetype i = 0;
        qsizetype keptFrom = 0; // start of the bytes to hand on
        const qsizetype n = text.size();
        auto handOn = [&](qsizetype upTo) {
            if (!dropping_ && upTo > keptFrom)
                out->append(text.constData() + keptFrom, upTo - keptFrom);
            keptFrom = upTo;
        };
        while (i < n) {
            if (!closer_.isEmpty()) { // inside a comment, CDATA or instruction
                const qsizetype end = text.indexOf(closer_, i);
                if (end < 0) {
                    // Keep the last bytes: the closer may be cut in two.
                    const qsizetype keep = qMin<qsizetype>(closer_.size() - 1, n - i);
                    handOn(n - keep);
                    carry_ = text.sliced(n - keep).toByteArray();
                    keptFrom = n;
                    return;
                }
                i = end + closer_.size();
                closer_.clear();
                continue;
            }
            const qsizetype lt = text.indexOf('<', i);
            if (lt < 0)
                break;
            const QByteArrayView rest = text.sliced(lt);
            if (rest.size() < 12 && !LooksComplete(rest)) {
                handOn(lt);
                carry_ = rest.toByteArray();
                keptFrom = n;
                return;
            }
            if (rest.startsWith("<!--")) {
                closer_ = "-->";
                i = lt + 4;
            } else if (rest.startsWith("<![CDATA[")) {
                closer_ = "]]>";
                i = lt + 9;
            } else if (rest.startsWith("<?")) {
                closer_ = "?>";
                i = lt + 2;
            } else if (dropping_ && rest.startsWith("</programme>")) {
                dropping_ = false;
                i = lt + 12;
                keptFrom = i;
            } else if (!dropping_ && rest.startsWith("<programme") && rest.size() > 10 &&
                       IsTagEnd(rest[10])) {
                const qsizetype close = rest.indexOf('>');
                if (close < 0) {
                    if (rest.size() > kMaxTag) { // not a tag we can judge: hand it on
                        i = lt + 1;
                        continue;
                    }
                    handOn(lt);
                    carry_ = rest.toByteArray();
                    keptFrom = n;
                    return;
                }
                const QByteArrayView tag = rest.first(close + 1);
                if (skip_(ChannelOf(tag))) {
                    handOn(lt);
                    if (tag.endsWith("/>")) {
                        keptFrom = lt + close + 1; // an empty element: only the tag goes
                    } else {
                        dropping_ = true;
                    }
                }
                i = lt + close + 1;
            } else {
                i = lt + 1;
            }
        }
        handOn(n);
    }

    // What waited for more text, at the end of the stream.
    void Finish(QByteArray* out) {
        if (!dropping_)
            out->append(carry_);
        carry_.clear();
    }

private:
    static constexpr qsizetype kMaxTag = 16 * 1024;

    static bool IsTagEnd(char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>' || c == '/';
    }

    // True when the bytes after '<' are enough to tell what markup it is.
    static bool LooksComplete(QByteArrayView rest) {
        static const char* const kPrefixes[] = {"<!--", "<![CDATA[", "</programme>", "<programme "};
        for (const char* prefix : kPrefixes) {
            const QByteArrayView p(prefix);
            if (rest.size() < p.size() && p.startsWith(rest))
                return false; // could still become this
        }
        return true;
    }

    static QByteArrayView ChannelOf(QByteArrayView tag) {
        qsizetype at = 0;
        while ((at = tag.indexOf("channel", at)) >= 0) {
            qsizetype i = at + 7;
            const bool startsName = at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '\t' ||
                                               tag[at - 1] == '\n' || tag[at - 1] == '\r');
            while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t'))
                ++i;
            if (startsName && i < tag.size() && tag[i] == '=') {
                ++i;
                while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t'))
                    ++i;
                if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
                    const qsizetype end = tag.indexOf(tag[i], i + 1);
                    if (end > i)
                        return tag.sliced(i + 1, end - i - 1);
                }
                return QByteArrayView();
            }
            at += 7;
        }
        return QByteArrayView();
    }

    std::function<bool(QByteArrayView)> skip_;
    QByteArray carry_;
    QByteArray closer_;
    bool dropping_ = false;
};

void GuideStream::SetProgrammeSkip(std::function<bool(QByteArrayView channel)> skip) {
    skipper_ = std::make_unique<Skipper>(std::move(skip));
}

GuideStream::GuideStream(QIODevice* source, qint64 maxTextBytes)
    : source_(source), maxTextBytes_(maxTextBytes), recoder_(std::make_unique<Recoder>()) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

GuideStream::~GuideStream() = default;

bool GuideStream::recodedFromCp949() const {
    return recoder_->cp949();
}

bool GuideStream::Refill() {
    if (ended_)
        return false;
    if (!started_) {
        started_ = true;
        QByteArray head(kSlice, Qt::Uninitialized);
        const qint64 n = source_->read(head.data(), kSlice);
        if (n < 0) {
            fault_ = Fault::ReadFailed;
            ended_ = true;
            return false;
        }
        head.resize(n);
        packedRead_ += n;
        if (StartsWith(head, "\x1F\x8B", 2))
            packing_ = Packing::Gzip;
        else if (StartsWith(head, "\xFD\x37\x7A\x58\x5A\x00", 6))
            packing_ = Packing::Xz;
        unpacker_ = std::make_unique<Unpacker>(source_, packing_);
        unpacker_->Prime(head);
    }
    QByteArray raw;
    const Fault fault = unpacker_->Next(&raw, &packedRead_);
    if (fault != Fault::None)
        fault_ = fault;
    unpacked_ += raw.size();
    if (unpacked_ > maxTextBytes_) {
        fault_ = Fault::TooLarge;
        ended_ = true;
        return false;
    }
    if (raw.isEmpty()) {
        ended_ = true;
        if (skipper_) {
            text_.clear();
            textPos_ = 0;
            skipper_->Finish(&text_);
            return !text_.isEmpty();
        }
        return false;
    }
    text_.clear();
    textPos_ = 0;
    if (!skipper_) {
        recoder_->Feed(raw, &text_);
        return true;
    }
    recoded_.clear();
    recoder_->Feed(raw, &recoded_);
    skipper_->Feed(recoded_, &text_);
    return true;
}

qint64 GuideStream::readData(char* data, qint64 maxSize) {
    // The request is filled whole unless the text ends: QXmlStreamReader
    // takes a read that decodes to no character at all (the last byte or
    // two of a character cut at a slice's end) for the end of the document.
    qint64 total = 0;
    while (total < maxSize) {
        if (textPos_ >= text_.size()) {
            if (!Refill())
                break;
            continue;
        }
        const qint64 n = qMin<qint64>(maxSize - total, text_.size() - textPos_);
        std::memcpy(data + total, text_.constData() + textPos_, static_cast<size_t>(n));
        textPos_ += n;
        total += n;
    }
    textDelivered_ += total;
    return total > 0 ? total : -1;
}
