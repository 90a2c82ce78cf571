#include "guide/GuideReader.h"

#include "catalogue/ChannelName.h"
#include "guide/GuideStream.h"
#include "guide/GuideTime.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 kLastProgrammeSeconds = 2 * 3600; // a last programme without a stop
constexpr int kTitleChars = 200;
// Programme channel ids that matched nothing are remembered so their
// programmes are skipped quickly, up to this many (a hostile guide could
// name millions).
constexpr int kMaxRememberedIds = 100000;
constexpr quint32 kNoText = 0xFFFFFFFFu;

QString BareId(const QString& id) {
    return id.section(QLatin1Char('@'), 0, 0).toCaseFolded();
}

// The text cut to `chars` characters, at a space where one is near, with an
// ellipsis; never inside a surrogate pair.
QString Cut(const QString& text, int chars) {
    if (text.size() <= chars)
        return text;
    int end = chars;
    const int space = text.lastIndexOf(QLatin1Char(' '), end);
    if (space > chars * 3 / 4)
        end = space;
    if (end > 0 && text[end - 1].isHighSurrogate())
        --end;
    return text.left(end).trimmed() + QChar(0x2026);
}

} // namespace

QString DecodeDoubleEscapes(const QString& text) {
    if (!text.contains(QLatin1Char('&')))
        return text;
    static const QRegularExpression entity(
        QStringLiteral("&(amp|lt|gt|quot|apos|#[0-9]{1,7}|#[xX][0-9A-Fa-f]{1,6});"));
    QString result;
    qsizetype last = 0;
    QRegularExpressionMatchIterator it = entity.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        result += QStringView(text).mid(last, match.capturedStart() - last);
        const QString name = match.captured(1);
        if (name == QLatin1String("amp")) {
            result += QLatin1Char('&');
        } else if (name == QLatin1String("lt")) {
            result += QLatin1Char('<');
        } else if (name == QLatin1String("gt")) {
            result += QLatin1Char('>');
        } else if (name == QLatin1String("quot")) {
            result += QLatin1Char('"');
        } else if (name == QLatin1String("apos")) {
            result += QLatin1Char('\'');
        } else {
            bool ok = false;
            const bool hex =
                name.size() > 1 && (name[1] == QLatin1Char('x') || name[1] == QLatin1Char('X'));
            const uint code = hex ? name.mid(2).toUInt(&ok, 16) : name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
                const char32_t c = code;
                result += QString::fromUcs4(&c, 1);
            } else {
                result += match.captured(0);
            }
        }
        last = match.capturedEnd();
    }
    result += QStringView(text).mid(last);
    return result;
}

// Collects what the reader finds for the wanted channels, then puts it in
// order and packs it into a GuideData.
class GuideBuilder {
public:
    GuideBuilder(const std::vector<GuideChannel>& channels, const GuideReadOptions& options,
                 GuideReport* report)
        : channels_(channels), options_(options), report_(report), best_(channels.size()) {
        qint64 widest = 0;
        for (int i = 0; i < static_cast<int>(channels_.size()); ++i) {
            const GuideChannel& channel = channels_[static_cast<size_t>(i)];
            if (!channel.id.isEmpty()) {
                byId_[channel.id].push_back(i);
                byBareId_[BareId(channel.id)].push_back(i);
            }
            for (const QString& name : {channel.name, channel.tvgName}) {
                const QString key = name.isEmpty() ? QString() : ChannelName::MatchKey(name);
                if (!key.isEmpty() && !byName_[key].contains(i))
                    byName_[key].push_back(i);
            }
            widest = qMax(widest, static_cast<qint64>(std::abs(channel.shiftHours) * 3600));
        }
        // A shifted channel shows the guide's times moved: keep that much more.
        from_ = options_.now - options_.keepBeforeSeconds - widest;
        to_ = options_.now + options_.keepAfterSeconds + widest;
    }

    qint64 windowEnd() const { return to_; }

    // A <channel> element: its id and display names.
    void AddChannel(const QString& id, const QStringList& names) {
        if (Match(id, names) < 0 && indexOfId_.size() < kMaxRememberedIds)
            indexOfId_.insert(id, -1);
    }

    // True for a channel id known to feed no list channel: its programmes
    // need not be parsed at all.
    bool Rejected(QByteArrayView id) const {
        return indexOfId_.value(QString::fromUtf8(id), 0) < 0;
    }

    // The guide channel a programme's channel id feeds, or -1.
    int GuideIndexOf(const QString& id) {
        const auto found = indexOfId_.constFind(id);
        if (found != indexOfId_.cend())
            return *found;
        const int index = Match(id, QStringList());
        if (index < 0 && indexOfId_.size() >= kMaxRememberedIds)
            return -1;
        indexOfId_.insert(id, index);
        return index;
    }

    bool Wanted(qint64 start, qint64 stop) const {
        if (start >= to_)
            return false;
        if (stop > start)
            return stop > from_;
        return start >= from_ - 86400; // its stop comes from the next one
    }

    void AddProgramme(int index, qint64 start, qint64 stop, const QString& title,
                      const QString& description) {
        std::vector<Raw>& list = raw_[static_cast<size_t>(index)];
        if (static_cast<int>(list.size()) >= options_.maxProgrammesPerChannel) {
            ++report_->overflow;
            return;
        }
        list.push_back(Raw{
            start, stop > start ? stop : -1, Intern(Cut(title, kTitleChars)),
            description.isEmpty() ? kNoText : Intern(Cut(description, options_.descriptionChars))});
    }

    int matchedGuideChannels() const { return static_cast<int>(raw_.size()); }

    // Channel states for the soundness of a guide that broke off.
    // The channel id each guide channel was allocated for.
    const std::vector<QString>& ids() const { return ids_; }

    std::shared_ptr<GuideData> Finish() {
        auto data = std::make_shared<GuideData>();
        std::vector<int> newIndex(raw_.size(), -1);
        // Only guide channels some list channel ended up with.
        std::vector<bool> used(raw_.size(), false);
        for (const Best& best : best_) {
            if (best.rank > 0)
                used[static_cast<size_t>(best.index)] = true;
        }
        data->channelBegin_.push_back(0);
        QHash<quint32, quint32> moved; // pool offset while reading -> kept pool offset
        for (size_t g = 0; g < raw_.size(); ++g) {
            if (!used[g])
                continue;
            std::vector<Raw> list = Settle(std::move(raw_[g]));
            raw_[g] = {};
            for (const Raw& r : list) {
                if (r.stop <= from_ || r.start >= to_)
                    continue;
                data->slots_.push_back(GuideData::Slot{r.start, r.stop,
                                                       Keep(r.title, data.get(), &moved),
                                                       Keep(r.description, data.get(), &moved)});
            }
            newIndex[g] = static_cast<int>(data->channelBegin_.size()) - 1;
            data->channelBegin_.push_back(static_cast<quint32>(data->slots_.size()));
        }
        for (size_t i = 0; i < best_.size(); ++i) {
            const Best& best = best_[i];
            if (best.rank == 0)
                continue;
            const GuideChannel& channel = channels_[i];
            data->bindings_.insert(
                channel.key,
                GuideData::Binding{static_cast<quint32>(newIndex[static_cast<size_t>(best.index)]),
                                   static_cast<qint32>(std::lround(channel.shiftHours * 3600))});
        }
        data->slots_.shrink_to_fit();
        data->pool_.squeeze();
        report_->matchedChannels = static_cast<int>(data->bindings_.size());
        report_->programmes = data->ProgrammeCount();
        return data;
    }

private:
    struct Raw {
        qint64 start;
        qint64 stop; // -1: the guide gave none
        quint32 title;
        quint32 description;
    };
    struct Best {
        int rank = 0; // 3 exact id, 2 id without feed, 1 name
        int index = -1;
    };

    int Match(const QString& id, const QStringList& names) {
        int index = indexOfId_.value(id, -1);
        auto offer = [&](const QList<int>& candidates, int rank) {
            for (int i : candidates) {
                Best& best = best_[static_cast<size_t>(i)];
                if (rank <= best.rank)
                    continue;
                if (index < 0) {
                    index = static_cast<int>(raw_.size());
                    raw_.emplace_back();
                    ids_.push_back(id);
                }
                best = Best{rank, index};
            }
        };
        offer(byId_.value(id), 3);
        offer(byBareId_.value(BareId(id)), 2);
        for (const QString& name : names)
            offer(byName_.value(ChannelName::MatchKey(name)), 1);
        if (index >= 0)
            indexOfId_.insert(id, index);
        return index;
    }

    // Each text is kept once. The index holds a hash of the text, not the
    // text: a second copy of every description would double what a read
    // costs. A hash that meets another text (compared in the pool) is
    // simply stored again.
    quint32 Intern(const QString& text) {
        const QByteArray utf8 = text.toUtf8().left(0xFFFF);
        const quint64 hash = (static_cast<quint64>(qHash(utf8, 0x9E3779B9u)) << 32) ^
                             static_cast<quint64>(qHash(utf8, 0x85EBCA6Bu));
        const auto found = interned_.constFind(hash);
        if (found != interned_.cend() && TextAt(*found) == utf8)
            return *found;
        const auto offset = static_cast<quint32>(pool_.size());
        const auto length = static_cast<quint16>(utf8.size());
        pool_.append(static_cast<char>(length & 0xFF));
        pool_.append(static_cast<char>(length >> 8));
        pool_.append(utf8);
        if (found == interned_.cend())
            interned_.insert(hash, offset);
        return offset;
    }

    QByteArrayView TextAt(quint32 offset) const {
        const auto* p = reinterpret_cast<const unsigned char*>(pool_.constData() + offset);
        return QByteArrayView(pool_.constData() + offset + 2, p[0] | (p[1] << 8));
    }

    // Copies a text into the kept pool once, so texts of programmes that
    // fell out of the window are not kept.
    quint32 Keep(quint32 offset, GuideData* data, QHash<quint32, quint32>* moved) const {
        if (offset == kNoText)
            return kNoText;
        const auto found = moved->constFind(offset);
        if (found != moved->cend())
            return *found;
        const auto* p = reinterpret_cast<const unsigned char*>(pool_.constData() + offset);
        const int length = p[0] | (p[1] << 8);
        const auto kept = static_cast<quint32>(data->pool_.size());
        data->pool_.append(pool_.constData() + offset, length + 2);
        moved->insert(offset, kept);
        return kept;
    }

    // Sorted, missing stops filled, exact repeats dropped, overlaps trimmed:
    // at any instant at most one programme is on.
    std::vector<Raw> Settle(std::vector<Raw> list) {
        std::stable_sort(list.begin(), list.end(),
                         [](const Raw& a, const Raw& b) { return a.start < b.start; });
        for (size_t i = 0; i < list.size(); ++i) {
            if (list[i].stop >= 0)
                continue;
            size_t j = i + 1;
            while (j < list.size() && list[j].start == list[i].start)
                ++j;
            list[i].stop = j < list.size() ? list[j].start : list[i].start + kLastProgrammeSeconds;
        }
        std::stable_sort(list.begin(), list.end(), [](const Raw& a, const Raw& b) {
            return a.start != b.start ? a.start < b.start : a.stop < b.stop;
        });
        std::vector<Raw> settled;
        settled.reserve(list.size());
        for (Raw r : list) {
            if (!settled.empty()) {
                const Raw& last = settled.back();
                if (r.start == last.start && r.stop == last.stop && r.title == last.title &&
                    r.description == last.description) {
                    ++report_->duplicates;
                    continue;
                }
                // Two programmes from the same start: the shorter first, the
                // other from its end, so neither is lost.
                if (r.start == last.start) {
                    if (r.stop <= last.stop) {
                        ++report_->overlapsTrimmed;
                        continue;
                    }
                    r.start = last.stop;
                    ++report_->overlapsTrimmed;
                }
            }
            settled.push_back(r);
        }
        std::stable_sort(settled.begin(), settled.end(), [](const Raw& a, const Raw& b) {
            return a.start != b.start ? a.start < b.start : a.stop < b.stop;
        });
        // A programme ends where the next one starts.
        std::vector<Raw> result;
        result.reserve(settled.size());
        for (size_t i = 0; i < settled.size(); ++i) {
            Raw r = settled[i];
            if (i + 1 < settled.size() && settled[i + 1].start < r.stop) {
                r.stop = settled[i + 1].start;
                ++report_->overlapsTrimmed;
            }
            if (r.stop > r.start)
                result.push_back(r);
        }
        return result;
    }

    const std::vector<GuideChannel>& channels_;
    GuideReadOptions options_;
    GuideReport* report_;
    qint64 from_ = 0;
    qint64 to_ = 0;
    QHash<QString, QList<int>> byId_;
    QHash<QString, QList<int>> byBareId_;
    QHash<QString, QList<int>> byName_;
    std::vector<Best> best_;
    QHash<QString, int> indexOfId_;
    std::vector<std::vector<Raw>> raw_;
    std::vector<QString> ids_;
    QByteArray pool_;
    QHash<quint64, quint32> interned_;
};

namespace {

bool IsLanguage(QStringView lang, const char* code) {
    return lang.startsWith(QLatin1String(code), Qt::CaseInsensitive) &&
           (lang.size() == 2 || lang[2] == QLatin1Char('-') || lang[2] == QLatin1Char('_'));
}

// Korean first (the desktop's language), then English, then the first one.
struct LanguageChoice {
    QString text;
    int rank = -1; // 2 ko, 1 en, 0 other

    void Offer(QStringView lang, const QString& candidate) {
        const int r = IsLanguage(lang, "ko") ? 2 : IsLanguage(lang, "en") ? 1 : 0;
        if (r > rank && !candidate.isEmpty()) {
            rank = r;
            text = candidate;
        }
    }
};

QString ReadText(QXmlStreamReader& xml) {
    return DecodeDoubleEscapes(
        xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified());
}

class Reader {
public:
    Reader(QIODevice* source, const std::vector<GuideChannel>& channels,
           const GuideReadOptions& options)
        : stream_(source, options.maxTextBytes), xml_(&stream_),
          builder_(channels, options, &report_) {
        report_.listChannels = static_cast<int>(channels.size());
        // XMLTV declares no entities of its own; a guide that does and
        // expands them into more than this is a bomb, not a guide.
        xml_.setEntityExpansionLimit(1024);
        stream_.SetProgrammeSkip([this](QByteArrayView id) { return OnProgrammeTag(id); });
    }

    GuideReadResult Run() {
        bool sawRoot = false;
        while (!xml_.atEnd() && !xml_.hasError()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (token == QXmlStreamReader::DTD) {
                if (!xml_.entityDeclarations().isEmpty())
                    declaresEntities_ = true;
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (!sawRoot) {
                if (xml_.name() != QLatin1String("tv"))
                    return Fail(GuideReport::Fault::NotXmltv);
                sawRoot = true;
                continue;
            }
            if (xml_.name() == QLatin1String("programme"))
                ReadProgramme();
            else if (xml_.name() == QLatin1String("channel"))
                ReadChannel();
            else
                xml_.skipCurrentElement();
        }
        report_.cp949 = stream_.recodedFromCp949();
        report_.textBytes = stream_.textBytes();
        if (!xml_.hasError() && sawRoot)
            return Done(GuideReport::Outcome::Read);
        const GuideReport::Fault fault = FaultOf(sawRoot);
        report_.fault = fault;
        report_.faultLine = xml_.lineNumber();
        if (sawRoot && BrokeOffSoundly())
            return Done(GuideReport::Outcome::PartKept);
        return Fail(fault);
    }

private:
    GuideReport::Fault FaultOf(bool sawRoot) const {
        switch (stream_.fault()) {
        case GuideStream::Fault::ReadFailed:
            return GuideReport::Fault::ReadFailed;
        case GuideStream::Fault::Truncated:
            return GuideReport::Fault::Truncated;
        case GuideStream::Fault::Corrupt:
            return GuideReport::Fault::Corrupt;
        case GuideStream::Fault::TooLarge:
            return GuideReport::Fault::TooLarge;
        case GuideStream::Fault::None:
            break;
        }
        if (declaresEntities_ && xml_.error() != QXmlStreamReader::PrematureEndOfDocumentError)
            return GuideReport::Fault::EntityExpansion;
        if (!sawRoot)
            return GuideReport::Fault::NotXmltv;
        if (xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            return GuideReport::Fault::Truncated;
        return GuideReport::Fault::Malformed;
    }

    // A guide that broke off is used only when what was read can be told
    // complete for the channels we want: its programmes come channel by
    // channel and every wanted channel's run had ended before the break; or
    // they come in time order and the break lies beyond the kept week.
    bool BrokeOffSoundly() {
        if (builder_.matchedGuideChannels() == 0)
            return false;
        if (timeOrdered_ && lastMatchedStart_ >= builder_.windowEnd())
            return true;
        // Only a stream that ended early was parsed to its last byte; a
        // fault in the middle leaves text seen ahead unparsed.
        if (!grouped_ || xml_.error() != QXmlStreamReader::PrematureEndOfDocumentError)
            return false;
        return std::all_of(builder_.ids().cbegin(), builder_.ids().cend(),
                           [this](const QString& id) { return closedIds_.contains(id); });
    }

    void ReadChannel() {
        const QString id = xml_.attributes().value(QLatin1String("id")).toString();
        QStringList names;
        while (xml_.readNextStartElement()) {
            if (xml_.name() == QLatin1String("display-name")) {
                const QString name = ReadText(xml_);
                if (!name.isEmpty() && names.size() < 16)
                    names << name;
            } else {
                xml_.skipCurrentElement();
            }
        }
        if (!xml_.hasError() && !id.isEmpty())
            builder_.AddChannel(id, names);
    }

    // Every <programme> tag passes here in file order (before the XML
    // reader sees it, if it does): the runs of each channel are noted for
    // the soundness of a guide that breaks off, and the tags of channels
    // that feed nothing are left out.
    bool OnProgrammeTag(QByteArrayView id) {
        if (id != QByteArrayView(previousChannel_)) {
            if (closedIds_.size() < kMaxRuns) {
                closedIds_.insert(QString::fromUtf8(previousChannel_));
                if (closedIds_.contains(QString::fromUtf8(id)))
                    grouped_ = false;
            } else {
                grouped_ = false;
            }
            previousChannel_ = id.toByteArray();
        }
        return builder_.Rejected(id);
    }

    void ReadProgramme() {
        const QXmlStreamAttributes attributes = xml_.attributes();
        const QStringView channelId = attributes.value(QLatin1String("channel"));
        const int index = channelId.isEmpty() ? -1 : builder_.GuideIndexOf(channelId.toString());
        if (index < 0) {
            xml_.skipCurrentElement();
            return;
        }
        const std::optional<GuideTime::Parsed> start =
            GuideTime::Parse(attributes.value(QLatin1String("start")).toLatin1());
        const QStringView stopText = attributes.value(QLatin1String("stop"));
        const std::optional<GuideTime::Parsed> stop =
            stopText.isEmpty() ? std::nullopt : GuideTime::Parse(stopText.toLatin1());
        if (!start) {
            ++report_.badTimes;
            xml_.skipCurrentElement();
            return;
        }
        if (start->unknownZone || (stop && stop->unknownZone))
            ++report_.unknownZones;
        const qint64 stopSeconds = stop ? stop->utcSeconds : -1;
        if (timeOrdered_ && start->utcSeconds < lastMatchedStart_)
            timeOrdered_ = false;
        lastMatchedStart_ = qMax(lastMatchedStart_, start->utcSeconds);
        if (!builder_.Wanted(start->utcSeconds, stopSeconds)) {
            xml_.skipCurrentElement();
            return;
        }
        LanguageChoice title;
        LanguageChoice description;
        while (xml_.readNextStartElement()) {
            const QStringView name = xml_.name();
            if (name == QLatin1String("title")) {
                const QString lang = xml_.attributes().value(QLatin1String("lang")).toString();
                title.Offer(lang, ReadText(xml_));
            } else if (name == QLatin1String("desc")) {
                const QString lang = xml_.attributes().value(QLatin1String("lang")).toString();
                description.Offer(lang, ReadText(xml_));
            } else {
                xml_.skipCurrentElement();
            }
        }
        // Only a programme read to its end tag is kept.
        if (xml_.hasError())
            return;
        builder_.AddProgramme(index, start->utcSeconds, stopSeconds, title.text, description.text);
    }

    GuideReadResult Done(GuideReport::Outcome outcome) {
        report_.outcome = outcome;
        GuideReadResult result;
        result.data = builder_.Finish();
        result.report = report_;
        return result;
    }

    GuideReadResult Fail(GuideReport::Fault fault) {
        report_.outcome = GuideReport::Outcome::Failed;
        report_.fault = fault;
        report_.faultLine = xml_.lineNumber();
        report_.cp949 = stream_.recodedFromCp949();
        report_.textBytes = stream_.textBytes();
        return GuideReadResult{nullptr, report_};
    }

    GuideReport report_;
    GuideStream stream_;
    QXmlStreamReader xml_;
    GuideBuilder builder_;
    bool declaresEntities_ = false;
    bool grouped_ = true;
    bool timeOrdered_ = true;
    qint64 lastMatchedStart_ = 0;
    QByteArray previousChannel_;
    QSet<QString> closedIds_;
    static constexpr int kMaxRuns = 100000;
};

} // namespace

GuideReadResult ReadGuide(QIODevice* source, const std::vector<GuideChannel>& channels,
                          const GuideReadOptions& options) {
    Reader reader(source, channels, options);
    return reader.Run();
}

GuideReadResult ReadGuideFile(const QString& path, const std::vector<GuideChannel>& channels,
                              const GuideReadOptions& options) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GuideReadResult result;
        result.report.listChannels = static_cast<int>(channels.size());
        result.report.fault = GuideReport::Fault::CannotOpen;
        return result;
    }
    return ReadGuide(&file, channels, options);
}

QString GuideReport::FaultText(Fault fault, qint64 line) {
    switch (fault) {
    case Fault::None:
        return QString();
    case Fault::CannotOpen:
        return QStringLiteral("편성표 파일을 열 수 없습니다");
    case Fault::ReadFailed:
        return QStringLiteral("편성표 파일을 읽는 중 오류가 났습니다");
    case Fault::NotXmltv:
        return QStringLiteral("XMLTV 편성표가 아닙니다");
    case Fault::Malformed:
        return QStringLiteral("편성표 %1번째 줄이 XML 형식에 맞지 않습니다").arg(line);
    case Fault::EntityExpansion:
        return QStringLiteral("편성표에 허용되지 않는 엔티티 확장(XML 폭탄)이 있습니다");
    case Fault::Truncated:
        return QStringLiteral("편성표 파일이 중간에 끊겼습니다");
    case Fault::Corrupt:
        return QStringLiteral("압축된 편성표가 손상되었습니다");
    case Fault::TooLarge:
        return QStringLiteral("편성표가 너무 큽니다");
    }
    return QString();
}

QString GuideReport::StatusText() const {
    const QString channels = QStringLiteral("%1 / %2 채널").arg(matchedChannels).arg(listChannels);
    QStringList parts;
    switch (outcome) {
    case Outcome::Read:
        parts << channels;
        break;
    case Outcome::PartKept:
        parts << QStringLiteral("%1: 끊기기 전까지 온전한 부분을 사용합니다")
                     .arg(FaultText(fault, faultLine))
              << channels;
        break;
    case Outcome::Failed:
        return QStringLiteral("%1. 이전 편성표를 그대로 둡니다").arg(FaultText(fault, faultLine));
    }
    if (unknownZones > 0)
        parts << QStringLiteral("알 수 없는 시간대 %1건은 UTC로 읽음").arg(unknownZones);
    if (overflow > 0)
        parts << QStringLiteral("한 채널에 너무 많은 프로그램 %1개 제외").arg(overflow);
    if (badTimes > 0)
        parts << QStringLiteral("시간을 읽을 수 없는 프로그램 %1개 제외").arg(badTimes);
    return parts.join(QStringLiteral(" · "));
}
