#pragma once

#include "skin/SkinInventory.h"

#include <QString>

// What the status panel and the caption strip show: the program's texts and
// the lamp and mute pictures. Where and how the lines are drawn is the
// skin's (skin/SkinMetrics.h); nothing here paints.
namespace StatusDisplay {

// Status line texts.
QString NotWatching();     // "현재 방송을 시청중이지 않습니다." (start-up)
QString Connecting();      // "방송을 연결중입니다. 잠시만 기다려주세요."
QString BufferingPrefix(); // "방송연결 : " followed by the shortened buffering text
QString Connected();       // "방송연결이 성공하였습니다."
// Said once instead of the success line when no sound device plays the sound.
QString ConnectedWithoutSound(); // "소리 장치를 찾지 못해 소리 없이 재생합니다."
QString Failed();                // "방송연결이 실패 하였습니다."
QString Stopped();               // "현재 방송연결이 정지되었습니다."
QString UserBroadcastName();     // "사용자방송": a broadcast opened by address
// Shown while a channel's next address is tried after the one before failed.
QString TryingSpareAddress(int address, int addresses); // "다른 주소로 연결중 (2/4)"
// A list row whose address has no stream's scheme (file:, av:, ...): refused.
QString RefusedAddress();
// Shown while a broken stream waits for, or makes, its next try.
QString Reconnecting(int attempt, int attempts);

// The playing line: channel name, " : " and the clock as hh:mm:ss (hours
// grow to three digits and beyond).
QString ElapsedText(int hours, int minutes, int seconds);
QString PlayingLine(const QString& channelName, int hours, int minutes, int seconds);

// CONNECT cell texts of the channel list.
QString CellConnecting();   // "연결중"
QString CellConnected();    // "연결성공"
QString CellFailed();       // "연결실패"
QString CellReconnecting(); // "재연결중"

// Caption line of the volume.
QString VolumeCaption(int volume); // "소리크기 : " + "%d" + "%"
QString MutedCaption();            // "소리크기 : 없음"

// Message boxes.
QString MessageCaption();       // "WAVEORBIT"
QString TimeoutQuestion();      // the Yes/No question after a timed-out connection
QString TimeoutRetryQuestion(); // the same where no service has a home page: try again?
QString ChooseChannel();        // "방송을 선택해주세요"
QString AddChannelFirst();      // "채널을 추가 해주세요."
QString ListToggleRefused();    // "최대 화면에서는 크기를 조절 할 수 없습니다."

// Lamp pictures: lit while a broadcast plays, unlit otherwise.
constexpr PictureId kLampLit = PictureId::LampLit;
constexpr PictureId kLampUnlit = PictureId::LampUnlit;

// Mute button 1010 pictures: normal, hover, pressed.
struct ButtonImages {
    PictureId normal, hover, pressed;
};
constexpr ButtonImages kSpeakerImages{PictureId::Speaker, PictureId::SpeakerHover,
                                      PictureId::SpeakerHover};
constexpr ButtonImages kMutedImages{PictureId::Muted, PictureId::MutedHover, PictureId::MutedHover};

} // namespace StatusDisplay
