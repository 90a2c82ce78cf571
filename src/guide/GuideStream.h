#pragma once

#include <QByteArray>
#include <QIODevice>

#include <functional>
#include <memory>

// A guide file as the text the XML reader takes: gzip and xz are inflated as
// they are read (told apart by their first bytes, not by the name), and the
// text reaches the reader as UTF-8 whatever the file's encoding: a file
// that declares another encoding, or whose text is not valid UTF-8 (older
// Korean guides are CP949 without saying so), goes through iconv. Nothing
// is ever held whole: one slice of the packed file and one of the text.
class GuideStream : public QIODevice {
    Q_OBJECT
public:
    enum class Packing { Plain, Gzip, Xz };
    enum class Fault {
        None,
        ReadFailed, // the file itself could not be read
        Truncated,  // the packed stream ends before its end mark
        Corrupt,    // the packed stream is damaged
        TooLarge,   // more text than the cap allows
    };

    // Reads from `source` (open, positioned at the start; not owned). At most
    // maxTextBytes of text are delivered; beyond that the stream ends with
    // Fault::TooLarge.
    GuideStream(QIODevice* source, qint64 maxTextBytes);
    ~GuideStream() override;

    bool isSequential() const override { return true; }

    Packing packing() const { return packing_; }
    Fault fault() const { return fault_; }
    bool recodedFromCp949() const;

    // Leaves out, before any XML parsing, every <programme> element whose
    // channel attribute `skip` says is not wanted: most of a large guide is
    // channels a list does not have, and the XML reader need not see them.
    // The markup is walked '<' by '<' (comments, CDATA sections and
    // processing instructions stepped over), so only real elements go.
    void SetProgrammeSkip(std::function<bool(QByteArrayView channel)> skip);
    qint64 packedBytesRead() const { return packedRead_; }
    qint64 textBytes() const { return textDelivered_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    class Unpacker;
    class Recoder;
    class Skipper;

    bool Refill();

    QIODevice* source_;
    qint64 maxTextBytes_;
    Packing packing_ = Packing::Plain;
    Fault fault_ = Fault::None;
    bool started_ = false;
    bool ended_ = false;
    qint64 packedRead_ = 0;
    qint64 unpacked_ = 0;
    qint64 textDelivered_ = 0;
    std::unique_ptr<Unpacker> unpacker_;
    std::unique_ptr<Recoder> recoder_;
    std::unique_ptr<Skipper> skipper_;
    QByteArray recoded_;
    QByteArray text_; // recoded text not yet taken
    qsizetype textPos_ = 0;
};
