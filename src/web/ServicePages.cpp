#include "web/ServicePages.h"

#include "app/Endpoints.h"
#include "catalogue/SourceSettings.h"

namespace ServicePages {

QString NoServiceMessage() {
    return QStringLiteral("음악·영화 페이지와 홈페이지는 채널 서비스에서 받아 옵니다. 지금은 "
                          "서비스를 쓰는 탭이 없습니다.\n설정 → 채널 목록에서 한 탭의 종류를 "
                          "\"서비스\"로 바꾸고 서비스 주소를 입력하세요.");
}

QString NoServiceHtml() {
    // Small type and margins: the panel is a few hundred pixels across, and
    // the way to the settings must show without scrolling.
    return QStringLiteral(
        "<!DOCTYPE html><html lang=\"ko\"><head><meta charset=\"utf-8\">"
        "<title>WAVEORBIT</title></head>"
        "<body style=\"background:#0d0d0d;color:#33cdff;font:13px/1.45 sans-serif;"
        "margin:0;padding:12px 14px\"><h3 style=\"font-size:15px;margin:0 0 8px\">"
        "서비스 주소가 없습니다</h3>"
        "<p style=\"margin:0 0 8px\">음악·영화 페이지는 채널 서비스에서 받아 옵니다. 지금은 "
        "서비스를 쓰는 탭이 없습니다.</p><p style=\"margin:0\"><b>설정 → 채널 목록</b>에서 "
        "한 탭의 종류를 &quot;서비스&quot;로 바꾸고 서비스 주소(예: http://서버:포트)를 "
        "입력하세요.</p></body></html>");
}

QString PageAddress(const SourceSettings& settings, const QString& buildTimeAddress,
                    const QString& buildTimeBase) {
    const QString service = settings.ServiceAddress();
    if (service.isEmpty())
        return QString();
    // The build's own service keeps the pages as they were built.
    for (const ChannelSource& tab : settings.Defaults().tabs) {
        if (tab.kind == ChannelSource::Kind::Service && tab.address == service)
            return buildTimeAddress;
    }
    const QString base = Endpoints::WithoutTrailingSlashes(service);
    if (buildTimeAddress.startsWith(buildTimeBase))
        return base + buildTimeAddress.mid(buildTimeBase.size());
    return buildTimeAddress;
}

QString HomePage(const SourceSettings& settings) {
    return PageAddress(settings, Endpoints::HomePageAddress(), Endpoints::ServiceBaseAddress());
}

} // namespace ServicePages
