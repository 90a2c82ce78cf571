#include "demo/DemoPages.h"

#include "demo/DemoCatalogues.h"

#include <vector>

namespace demo {

namespace {

struct Item {
    const char* title;
    const char* detail;
};

struct PageDef {
    const char* path;
    const char* heading;
    const char* lead;
    std::vector<Item> items;
    // The hint of the page's search field; pages without one leave it out.
    const char* search = nullptr;
};

const std::vector<PageDef>& Pages() {
    static const std::vector<PageDef> pages = {
        {"/zenith/tab/mp3/new.html",
         "최신 음악",
         "이번 주 새로 나온 노래를 모았습니다.",
         {{"봄날의 정류장", "하늘빛 밴드 · 정규 2집"},
          {"새벽 세 시", "윤서 · 디지털 싱글"},
          {"너의 계절", "모래시계 · 미니 앨범"},
          {"파도 위의 편지", "바다소년 · 싱글"},
          {"다시 여름", "노을 프로젝트 · OST"}},
         "노래 제목이나 가수 이름"},
        {"/zenith/tab/mp3/download.html",
         "MP3 다운로드",
         "고음질 MP3 파일을 곡 단위로 받을 수 있습니다.",
         {{"별빛 산책 (320kbps)", "4.1MB · 3분 52초"},
          {"시간의 숲 (320kbps)", "3.8MB · 3분 35초"},
          {"오래된 라디오 (192kbps)", "2.9MB · 4분 10초"},
          {"첫눈 오는 날 (320kbps)", "4.4MB · 4분 03초"}}},
        {"/zenith/tab/mp3/chart.html",
         "음악 차트",
         "실시간 인기 순위입니다. 매시 정각에 갱신됩니다.",
         {{"1위 · 봄날의 정류장", "하늘빛 밴드 · ▲2"},
          {"2위 · 새벽 세 시", "윤서 · ▼1"},
          {"3위 · 너의 계절", "모래시계 · 신규"},
          {"4위 · 달빛 고백", "은하수 · -"},
          {"5위 · 파도 위의 편지", "바다소년 · ▲5"}}},
        {"/zenith/tab/mp3/musicvideo.html",
         "뮤직비디오",
         "새로 공개된 뮤직비디오를 감상하세요.",
         {{"너의 계절 (Official MV)", "모래시계 · 4분 12초"},
          {"다시 여름 (Live Clip)", "노을 프로젝트 · 3분 48초"},
          {"달빛 고백 (Dance Ver.)", "은하수 · 3분 30초"}}},
        {"/zenith/tab/movie/movie.html",
         "최신 영화",
         "이번 달 개봉작과 화제작입니다.",
         {{"마지막 항구", "드라마 · 15세 관람가 · 128분"},
          {"은빛 추격자", "액션 · 15세 관람가 · 114분"},
          {"우리 동네 탐정", "코미디 · 12세 관람가 · 102분"},
          {"푸른 별의 아이", "애니메이션 · 전체 관람가 · 95분"}},
         "영화 제목"},
        {"/zenith/tab/movie/drama.html",
         "드라마",
         "지난 회차를 다시 볼 수 있습니다.",
         {{"바람의 정원 12회", "주말 드라마 · 토일 21시"},
          {"한강 변호사 8회", "법정 드라마 · 수목 21시"},
          {"사랑은 계속된다 45회", "일일 드라마 · 평일 19시"}}},
        {"/zenith/tab/movie/etc.html",
         "동영상",
         "짧은 영상과 예고편 모음입니다.",
         {{"마지막 항구 · 메인 예고편", "2분 14초"},
          {"촬영 현장 스케치", "5분 40초"},
          {"감독과의 대화 하이라이트", "8분 02초"},
          {"주간 연예 소식", "6분 25초"}}},
        {kSchedulePagePath,
         "오늘의 편성표",
         "주요 채널의 오늘 방송 시간입니다.",
         {{"06:00 아침 뉴스", "MBC · KBS 1TV · SBS"},
          {"09:30 생활 정보", "KBS 2TV"},
          {"12:00 정오 뉴스", "MBC · SBS"},
          {"19:00 일일 드라마", "KBS 1TV"},
          {"21:00 메인 뉴스", "KBS 1TV · MBC · SBS"},
          {"23:00 심야 영화", "EBS 1TV"}}},
    };
    return pages;
}

QByteArray Escape(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

QByteArray Document(const QString& heading, const QByteArray& body) {
    QByteArray html;
    html += "<!DOCTYPE html>\n<html lang=\"ko\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<title>" + Escape(heading) + "</title>\n";
    html += "<style>\n"
            "html,body{margin:0;padding:0;background:#14171c;color:#d9dee7;"
            "font-family:'NanumGothic','Noto Sans CJK KR',sans-serif;font-size:13px;}\n"
            "header{background:linear-gradient(#262b34,#1b1f26);border-bottom:1px solid #0b0d10;"
            "padding:10px 14px;}\n"
            "h1{margin:0;font-size:17px;color:#ffffff;letter-spacing:1px;}\n"
            "p.lead{margin:4px 0 0;color:#8c96a6;font-size:12px;}\n"
            "ul{list-style:none;margin:0;padding:6px 10px;}\n"
            "li{display:flex;justify-content:space-between;gap:10px;padding:8px 6px;"
            "border-bottom:1px solid #232831;}\n"
            "li:hover{background:#1d232c;}\n"
            ".title{color:#e9edf3;}\n.detail{color:#7fb2ff;font-size:12px;white-space:nowrap;}\n"
            "a{color:#7fb2ff;text-decoration:none;}\na:hover{text-decoration:underline;}\n"
            "footer{padding:10px 14px;color:#5d6675;font-size:11px;}\n"
            "form.search{margin:8px 0 0;}\n"
            "form.search input{box-sizing:border-box;width:100%;padding:5px 8px;font:inherit;"
            "background:#1f2631;color:#e9edf3;border:1px solid #3b4556;border-radius:3px;}\n"
            "</style>\n</head>\n<body>\n";
    html += body;
    html += "<footer>WAVEORBIT 데모 서비스 · 127.0.0.1</footer>\n</body>\n</html>\n";
    return html;
}

// The heading, its lead line and, when the page has one, a search field that
// asks the same page again with the words as "q" (the service answers any
// query with the page itself).
QByteArray Header(const QString& heading, const QString& lead, const char* search = nullptr) {
    QByteArray header =
        "<header><h1>" + Escape(heading) + "</h1><p class=\"lead\">" + Escape(lead) + "</p>";
    if (search) {
        header += "<form class=\"search\" method=\"get\"><input type=\"text\" name=\"q\" "
                  "placeholder=\"" +
                  Escape(QString::fromUtf8(search)) + "\" aria-label=\"" +
                  Escape(QStringLiteral("검색")) + "\"></form>";
    }
    return header + "</header>\n";
}

QByteArray ListPage(const PageDef& page) {
    const QString heading = QString::fromUtf8(page.heading);
    QByteArray body = Header(heading, QString::fromUtf8(page.lead), page.search);
    body += "<ul>\n";
    for (const Item& item : page.items) {
        body += "<li><span class=\"title\">" + Escape(QString::fromUtf8(item.title)) +
                "</span><span class=\"detail\">" + Escape(QString::fromUtf8(item.detail)) +
                "</span></li>\n";
    }
    body += "</ul>\n";
    return Document(heading, body);
}

const char* const kHomeHeading = "WAVEORBIT 데모 서비스";

QByteArray HomePage() {
    const QString heading = QString::fromUtf8(kHomeHeading);
    QByteArray body =
        Header(heading, QStringLiteral("이 컴퓨터 안에서만 동작하는 방송 목록과 웹 페이지입니다."));
    body += "<ul>\n";
    for (const PageDef& page : Pages()) {
        body += "<li><a class=\"title\" href=\"" + QByteArray(page.path) + "\">" +
                Escape(QString::fromUtf8(page.heading)) + "</a><span class=\"detail\">" +
                QByteArray(page.path) + "</span></li>\n";
    }
    for (const char* file : {"tv.ini", "world.ini", "game.ini", "radio.ini", "music.ini"}) {
        body += "<li><a class=\"title\" href=\"/ver/live/file/" + QByteArray(file) + "\">" +
                QByteArray(file) + "</a><span class=\"detail\">" +
                Escape(QStringLiteral("채널 목록")) + "</span></li>\n";
    }
    body += "<li><a class=\"title\" href=\"/ver/5.0/live/update.php\">update.php</a>"
            "<span class=\"detail\">" +
            Escape(QStringLiteral("목록 버전")) + "</span></li>\n";
    body += "</ul>\n";
    return Document(heading, body);
}

} // namespace

QStringList DemoPagePaths() {
    QStringList paths{QStringLiteral("/")};
    for (const PageDef& page : Pages())
        paths.append(QString::fromLatin1(page.path));
    return paths;
}

QByteArray DemoPage(const QString& path) {
    if (path == QStringLiteral("/") || path == QStringLiteral("/index.html"))
        return HomePage();
    for (const PageDef& page : Pages()) {
        if (path == QLatin1String(page.path))
            return ListPage(page);
    }
    return {};
}

QString DemoPageHeading(const QString& path) {
    if (path == QStringLiteral("/") || path == QStringLiteral("/index.html"))
        return QString::fromUtf8(kHomeHeading);
    for (const PageDef& page : Pages()) {
        if (path == QLatin1String(page.path))
            return QString::fromUtf8(page.heading);
    }
    return {};
}

} // namespace demo
