#include "playback/StatusDisplay.h"

namespace StatusDisplay {

QString NotWatching() {
    return QStringLiteral("현재 방송을 시청중이지 않습니다.");
}
QString Connecting() {
    return QStringLiteral("방송을 연결중입니다. 잠시만 기다려주세요.");
}
QString BufferingPrefix() {
    return QStringLiteral("방송연결 : ");
}
QString Connected() {
    return QStringLiteral("방송연결이 성공하였습니다.");
}
QString ConnectedWithoutSound() {
    return QStringLiteral("소리 장치를 찾지 못해 소리 없이 재생합니다.");
}
QString Failed() {
    return QStringLiteral("방송연결이 실패 하였습니다.");
}
QString Stopped() {
    return QStringLiteral("현재 방송연결이 정지되었습니다.");
}
QString UserBroadcastName() {
    return QStringLiteral("사용자방송");
}

QString TryingSpareAddress(int address, int addresses) {
    return QStringLiteral("다른 주소로 연결중 (%1/%2)").arg(address).arg(addresses);
}
QString RefusedAddress() {
    return QStringLiteral("이 채널의 주소는 재생할 수 없는 형식이라 열지 않았습니다.");
}
QString Reconnecting(int attempt, int attempts) {
    return QStringLiteral("방송연결이 끊어져 다시 연결중입니다. (%1/%2)")
        .arg(attempt)
        .arg(attempts);
}

QString ElapsedText(int hours, int minutes, int seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'));
}

QString PlayingLine(const QString& channelName, int hours, int minutes, int seconds) {
    return channelName + QStringLiteral(" : ") + ElapsedText(hours, minutes, seconds);
}

QString CellConnecting() {
    return QStringLiteral("연결중");
}
QString CellConnected() {
    return QStringLiteral("연결성공");
}
QString CellFailed() {
    return QStringLiteral("연결실패");
}
QString CellReconnecting() {
    return QStringLiteral("재연결중");
}

QString VolumeCaption(int volume) {
    return QStringLiteral("소리크기 : %1%").arg(volume);
}
QString MutedCaption() {
    return QStringLiteral("소리크기 : 없음");
}

QString MessageCaption() {
    return QStringLiteral("WAVEORBIT");
}

QString TimeoutQuestion() {
    return QStringLiteral("현재 방송연결에 실패했습니다.\n\r\n\r"
                          "일시적인 문제일 수도 있으니 잠시 후 다시 시도 해보시기 바랍니다.\n"
                          "그래도 방송 연결이 안 되면 홈페이지에 문의해 주시기 바랍니다.");
}

QString TimeoutRetryQuestion() {
    return QStringLiteral("현재 방송연결에 실패했습니다.\n\r\n\r"
                          "일시적인 문제일 수도 있습니다. 지금 다시 연결해 볼까요?\n"
                          "그래도 방송 연결이 안 되면 메뉴의 업데이트로 채널 목록을 새로 받아 "
                          "보시기 바랍니다.");
}

QString ChooseChannel() {
    return QStringLiteral("방송을 선택해주세요");
}
QString AddChannelFirst() {
    return QStringLiteral("채널을 추가 해주세요.");
}
QString ListToggleRefused() {
    return QStringLiteral("최대 화면에서는 크기를 조절 할 수 없습니다.");
}

} // namespace StatusDisplay
