#include "demo/DemoCatalogues.h"

#include "app/LegacyText.h"
#include "catalogue/CatalogueIni.h"
#include "catalogue/CatalogueLoader.h"
#include "demo/DemoStreams.h"

#include <QDir>
#include <QSaveFile>

namespace demo {

const char* const kSchedulePagePath = "/live/schedule.html";

namespace {

const QString kWaiting = QStringLiteral("연결대기");
const QString kNoWebsite = QStringLiteral("N");

enum class Kind { Video, Audio };

struct Station {
    const char* name; // UTF-8 literals
    const char* info;
};

// Builds the records of one catalogue, numbering them in file order the way
// channel numbers run, and giving each a stream of the catalogue's kind.
class Builder {
public:
    Builder(Kind kind, const CatalogueOptions& options) : kind_(kind), options_(options) {}

    ChannelRecord Make(const QString& num, const char* name, const char* info) {
        ChannelRecord r;
        r.fields[ChannelRecord::Num] = num;
        r.fields[ChannelRecord::Name] = QString::fromUtf8(name);
        r.fields[ChannelRecord::Info] = QString::fromUtf8(info);
        r.fields[ChannelRecord::Connect] = kWaiting;
        ++stream_;
        r.fields[ChannelRecord::Url] =
            kind_ == Kind::Video ? VideoStreamUrl(stream_) : AudioStreamUrl(stream_);
        r.fields[ChannelRecord::Website] = kNoWebsite;
        r.fields[ChannelRecord::WebUrl] = options_.serviceBase;
        return r;
    }

    CatalogueFamily Family(const char* name, std::initializer_list<Station> stations,
                           const Station* fallback = nullptr) {
        CatalogueFamily family;
        family.name = QString::fromLatin1(name);
        if (fallback) {
            family.hasFallback = true;
            family.fallback = Make(QStringLiteral("공통"), fallback->name, fallback->info);
        }
        for (const Station& s : stations)
            family.entries.push_back(Make(QString::number(++number_), s.name, s.info));
        return family;
    }

    int NextNumber() { return ++number_; }

private:
    Kind kind_;
    const CatalogueOptions& options_;
    int number_ = 0;
    int stream_ = 0;
};

const Station kMbcTvFallback{"MBC 네트워크", "지역 선택 전 공통 편성"};
const Station kSbsTvFallback{"SBS 네트워크", "지역 선택 전 공통 편성"};
const Station kKbsTvFallback{"KBS 1TV", "전국 · 공영 종합"};
const Station kEtcTvFallback{"EBS 1TV", "교육 · 다큐멘터리"};

DemoCatalogue Tv(const CatalogueOptions& options) {
    Builder b(Kind::Video, options);
    DemoCatalogue c{QStringLiteral("tv.ini"), QStringLiteral("TV"), 0, {}};
    // Every city the region dialog offers for MBC has its station; the INFO
    // names the city (and, for Gangwon, the province) that the filter looks for.
    c.families.push_back(b.Family("MBC",
                                  {{"MBC 서울", "서울 · 수도권 지상파"},
                                   {"부산MBC", "부산 · 경남 동부"},
                                   {"대구MBC", "대구 · 경북"},
                                   {"광주MBC", "광주 · 전남"},
                                   {"대전MBC", "대전 · 세종 · 충남"},
                                   {"전주MBC", "전주 · 전북"},
                                   {"MBC경남 마산", "마산 · 창원"},
                                   {"춘천MBC", "춘천 · 강원 영서"},
                                   {"MBC충북 청주", "청주 · 충북"},
                                   {"제주MBC", "제주 · 서귀포"},
                                   {"울산MBC", "울산 광역시"},
                                   {"MBC강원영동 강릉", "강릉 · 강원 영동"},
                                   {"MBC경남 진주", "진주 · 서부 경남"},
                                   {"목포MBC", "목포 · 전남 서부"},
                                   {"여수MBC", "여수 · 순천 · 광양"},
                                   {"안동MBC", "안동 · 경북 북부"},
                                   {"원주MBC", "원주 · 강원 남부"},
                                   {"MBC충북 충주", "충주 · 충북 북부"},
                                   {"MBC강원영동 삼척", "삼척 · 동해 · 태백"},
                                   {"포항MBC", "포항 · 경북 동부"}},
                                  &kMbcTvFallback));
    c.families.push_back(b.Family("KBS",
                                  {{"KBS 1TV", "전국 · 공영 종합"},
                                   {"KBS 2TV", "전국 · 드라마 · 예능"},
                                   {"KBS 뉴스 특보", "전국 · 재난 · 속보"}},
                                  &kKbsTvFallback));
    c.families.push_back(b.Family("SBS",
                                  {{"SBS 서울", "서울 · 수도권"},
                                   {"SBS 부산 KNN", "부산 · 경남"},
                                   {"SBS 대구 TBC", "대구 · 경북"},
                                   {"SBS 광주 KBC", "광주 · 전남"},
                                   {"SBS 대전 TJB", "대전 · 충남"},
                                   {"SBS 전주 JTV", "전주 · 전북"},
                                   {"SBS 청주 CJB", "청주 · 충북"},
                                   {"SBS 제주 JIBS", "제주"},
                                   {"SBS 울산 UBC", "울산"},
                                   {"SBS 강원 G1", "강원 · 춘천 · 원주 · 강릉"}},
                                  &kSbsTvFallback));
    CatalogueFamily etc = b.Family("ETC",
                                   {{"EBS 1TV", "교육 · 다큐멘터리"},
                                    {"국회방송", "국회 본회의 · 상임위 중계"},
                                    {"교통정보 TV", "실시간 도로 상황"}},
                                   &kEtcTvFallback);
    // A channel that is a web page: the player opens it in the browser.
    ChannelRecord schedule;
    schedule.fields[ChannelRecord::Num] = QString::number(b.NextNumber());
    schedule.fields[ChannelRecord::Name] = QStringLiteral("오늘의 편성표");
    schedule.fields[ChannelRecord::Info] = QStringLiteral("웹 페이지 · 채널별 편성 안내");
    schedule.fields[ChannelRecord::Connect] = kWaiting;
    schedule.fields[ChannelRecord::Website] = QStringLiteral("Y");
    schedule.fields[ChannelRecord::WebUrl] =
        options.serviceBase + QString::fromLatin1(kSchedulePagePath);
    etc.entries.push_back(schedule);
    // A channel whose stream is down, so the failure path can be seen.
    ChannelRecord offline =
        b.Make(QString::number(b.NextNumber()), "점검중 채널", "송출 점검 중 · 연결되지 않음");
    offline.fields[ChannelRecord::Url] = OfflineVideoStreamUrl();
    etc.entries.push_back(offline);
    c.families.push_back(etc);
    return c;
}

DemoCatalogue World(const CatalogueOptions& options) {
    Builder b(Kind::Video, options);
    DemoCatalogue c{QStringLiteral("world.ini"), QStringLiteral("WORLD"), 0, {}};
    c.families.push_back(b.Family("WORLD", {{"아리랑 TV", "한국 · 영어 국제방송"},
                                            {"월드 뉴스 24", "영어 · 국제 뉴스"},
                                            {"도쿄 위성 채널", "일본 · 일본어"},
                                            {"베이징 국제 채널", "중국 · 중국어"},
                                            {"파리 뉴스 라이브", "프랑스 · 영어 자막"},
                                            {"자연 다큐 채널", "영국 · 다큐멘터리"}}));
    return c;
}

DemoCatalogue Game(const CatalogueOptions& options) {
    Builder b(Kind::Video, options);
    DemoCatalogue c{QStringLiteral("game.ini"), QStringLiteral("GAME"), 0, {}};
    c.families.push_back(b.Family("GAME", {{"e스포츠 라이브", "리그 생중계"},
                                           {"스타리그 다시보기", "명경기 재방송"},
                                           {"게임 공략 채널", "공략 · 실황"},
                                           {"격투 게임 대회", "토너먼트 중계"},
                                           {"모바일 게임 소식", "신작 · 업데이트 정보"}}));
    return c;
}

const Station kMbcRadioFallback{"MBC 표준FM", "지역 선택 전 공통 편성"};
const Station kKbsRadioFallback{"KBS 1라디오", "전국 · 뉴스 · 시사"};
const Station kSbsRadioFallback{"SBS 러브FM", "지역 선택 전 공통 편성"};
const Station kFebcFallback{"극동방송", "지역 선택 전 공통 편성"};
const Station kPbcFallback{"평화방송", "지역 선택 전 공통 편성"};
const Station kEtcRadioFallback{"국악방송", "전국 · 국악"};

DemoCatalogue Radio(const CatalogueOptions& options) {
    Builder b(Kind::Audio, options);
    DemoCatalogue c{QStringLiteral("radio.ini"), QStringLiteral("RADIO"), 0, {}};
    c.families.push_back(b.Family("MBC",
                                  {{"MBC 표준FM 서울", "서울 · 95.9MHz"},
                                   {"MBC FM4U 서울", "서울 · 91.9MHz"},
                                   {"부산MBC 라디오", "부산 · 95.9MHz"},
                                   {"대구MBC 라디오", "대구 · 96.5MHz"},
                                   {"광주MBC 라디오", "광주 · 98.7MHz"},
                                   {"대전MBC 라디오", "대전 · 92.5MHz"},
                                   {"춘천MBC 라디오", "춘천 · 강원 영서"},
                                   {"제주MBC 라디오", "제주 · 95.3MHz"}},
                                  &kMbcRadioFallback));
    c.families.push_back(b.Family("KBS",
                                  {{"KBS 1라디오", "전국 · 뉴스 · 시사"},
                                   {"KBS 2라디오 해피FM", "전국 · 가요 · 생활"},
                                   {"KBS 클래식FM", "전국 · 클래식"},
                                   {"KBS 쿨FM", "전국 · 음악 · 예능"},
                                   {"KBS 한민족방송", "국외 동포 방송"}},
                                  &kKbsRadioFallback));
    c.families.push_back(b.Family("SBS",
                                  {{"SBS 러브FM", "서울 · 103.5MHz"},
                                   {"SBS 파워FM", "서울 · 107.7MHz"},
                                   {"SBS 부산 KNN 파워FM", "부산 · 경남"},
                                   {"SBS 대구 TBC 드림FM", "대구 · 경북"},
                                   {"SBS 광주 KBC 라디오", "광주 · 전남"},
                                   {"SBS 대전 TJB 라디오", "대전 · 충남"},
                                   {"SBS 강원 G1 라디오", "강원 · 춘천 · 원주"},
                                   {"SBS 제주 JIBS 라디오", "제주"}},
                                  &kSbsRadioFallback));
    c.families.push_back(b.Family("FEBC",
                                  {{"극동방송 서울", "서울 · 수도권"},
                                   {"극동방송 부산", "부산"},
                                   {"극동방송 대전", "대전 · 충청"},
                                   {"극동방송 목포", "목포 · 전남"},
                                   {"극동방송 포항", "포항 · 경북"},
                                   {"극동방송 제주", "제주"}},
                                  &kFebcFallback));
    c.families.push_back(b.Family("PBC",
                                  {{"평화방송 서울", "서울"},
                                   {"평화방송 부산", "부산"},
                                   {"평화방송 대구", "대구"},
                                   {"평화방송 광주", "광주"},
                                   {"평화방송 대전", "대전"}},
                                  &kPbcFallback));
    c.families.push_back(b.Family("ETC",
                                  {{"교통방송", "도로 교통 · 시사"},
                                   {"기독교 음악FM", "종교 · 음악"},
                                   {"불교방송", "종교 · 교양"},
                                   {"국악방송", "전국 · 국악"},
                                   {"EBS FM", "교육 · 어학"},
                                   {"아리랑 라디오", "영어 방송"}},
                                  &kEtcRadioFallback));
    return c;
}

DemoCatalogue Music(const CatalogueOptions& options) {
    Builder b(Kind::Audio, options);
    DemoCatalogue c{QStringLiteral("music.ini"), QStringLiteral("MUSIC"), 0, {}};
    c.families.push_back(b.Family("MUSIC", {{"가요 히트 100", "최신 가요 · 24시간"},
                                            {"발라드 카페", "발라드 · 감성"},
                                            {"클래식 라운지", "클래식 · 연주곡"},
                                            {"재즈 스테이션", "재즈 · 보사노바"},
                                            {"트로트 메들리", "트로트 · 성인가요"},
                                            {"드라마 OST", "드라마 · 영화 음악"},
                                            {"인디 밴드 라이브", "인디 · 록"},
                                            {"힙합 & R&B", "힙합 · 알앤비"}}));
    return c;
}

void AppendLine(QByteArray* out, const QByteArray& line) {
    out->append(line);
    out->append("\r\n");
}

bool AppendRecord(QByteArray* out, const ChannelRecord& record, const QString& section,
                  QString* error) {
    for (int field = 0; field < ChannelRecord::FieldCount; ++field) {
        bool ok = false;
        const QByteArray value =
            EncodeCatalogueField(record.fields[static_cast<size_t>(field)], &ok);
        if (!ok) {
            if (error)
                *error = QStringLiteral("[%1] %2: cannot be stored as a catalogue value: %3")
                             .arg(section, QString::fromLatin1(ChannelRecord::KeyOf(field)),
                                  record.fields[static_cast<size_t>(field)]);
            return false;
        }
        AppendLine(out, QByteArray(ChannelRecord::KeyOf(field)) + '=' + value);
    }
    return true;
}

bool WriteWhole(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

std::vector<DemoCatalogue> BuildDemoCatalogues(const CatalogueOptions& options) {
    std::vector<DemoCatalogue> all{Tv(options), World(options), Game(options), Radio(options),
                                   Music(options)};
    for (DemoCatalogue& c : all)
        c.version = options.versions.value(c.fileName, options.defaultVersion);
    return all;
}

QByteArray EncodeCatalogueField(const QString& text, bool* ok) {
    bool fits = false;
    const QByteArray cp949 = LegacyText::EncodeCp949(text, &fits);
    const QByteArray value = cp949.toBase64();
    // Readers use at most 259 bytes of a value, and take bytes that happen to
    // be valid UTF-8 as UTF-8: only store what reads back as the same text.
    *ok = fits && value.size() <= CatalogueIni::kValueBytes && DecodeCatalogueField(value) == text;
    return *ok ? value : QByteArray();
}

bool RenderCatalogue(const DemoCatalogue& catalogue, QByteArray* out, QString* error) {
    QByteArray bytes;
    AppendLine(&bytes, "[DB]");
    AppendLine(&bytes, "VER=" + QByteArray::number(catalogue.version));
    for (const CatalogueFamily& family : catalogue.families) {
        const QByteArray name = family.name.toLatin1();
        AppendLine(&bytes, "");
        AppendLine(&bytes, '[' + name + ']');
        AppendLine(&bytes, "COUNT=" + QByteArray::number(static_cast<int>(family.entries.size())));
        if (family.hasFallback && !AppendRecord(&bytes, family.fallback, family.name, error))
            return false;
        for (size_t i = 0; i < family.entries.size(); ++i) {
            const QByteArray section = name + QByteArray::number(static_cast<int>(i + 1));
            AppendLine(&bytes, "");
            AppendLine(&bytes, '[' + section + ']');
            if (!AppendRecord(&bytes, family.entries[i], QString::fromLatin1(section), error))
                return false;
        }
    }
    *out = bytes;
    return true;
}

QByteArray RenderVersionList(const std::vector<DemoCatalogue>& catalogues) {
    QByteArray bytes;
    for (const DemoCatalogue& c : catalogues) {
        AppendLine(&bytes, '[' + c.listSection.toLatin1() + ']');
        AppendLine(&bytes, "VER=" + QByteArray::number(c.version));
    }
    return bytes;
}

bool WriteDemoCatalogues(const QString& folder, const CatalogueOptions& options, QString* error) {
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create folder %1").arg(folder);
        return false;
    }
    const QDir dir(folder);
    const std::vector<DemoCatalogue> catalogues = BuildDemoCatalogues(options);
    for (const DemoCatalogue& c : catalogues) {
        QByteArray bytes;
        if (!RenderCatalogue(c, &bytes, error) ||
            !WriteWhole(dir.filePath(c.fileName), bytes, error))
            return false;
    }
    return WriteWhole(dir.filePath(QStringLiteral("update.php")), RenderVersionList(catalogues),
                      error);
}

} // namespace demo
