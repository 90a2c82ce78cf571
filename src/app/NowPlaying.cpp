#include "app/NowPlaying.h"

QString NowPlaying::TrayToolTip() const {
    QString tip = QStringLiteral("WAVEORBIT");
    if (state == State::Stopped || channel.isEmpty())
        return tip;
    tip += QLatin1Char('\n') + channel;
    if (state == State::Connecting)
        tip += QStringLiteral(" (연결중)");
    else if (!streamTitle.isEmpty())
        tip += QLatin1Char('\n') + streamTitle;
    else if (!programme.isEmpty())
        tip += QLatin1Char('\n') + programme;
    return tip;
}
