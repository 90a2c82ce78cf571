#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

// What the status panel and the caption strip show, and how: the program's
// texts, the lamp pictures, and the font, colour and box of each line. The
// window draws from these; nothing here paints.
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
QString MessageCaption();    // "WAVEORBIT"
QString TimeoutQuestion();   // the Yes/No question after a timed-out connection
QString ChooseChannel();     // "방송을 선택해주세요"
QString AddChannelFirst();   // "채널을 추가 해주세요."
QString ListToggleRefused(); // "최대 화면에서는 크기를 조절 할 수 없습니다."

// Lamp pictures (bitmap ids), 61 x 15, copied to the panel strip at (0, 7).
constexpr int kLampLit = 178;
constexpr int kLampUnlit = 179;
constexpr QPoint kLampOrigin{0, 7};
constexpr int kLampWidth = 61;
constexpr int kLampHeight = 15;

// Mute button 1010 pictures: normal, hover, pressed.
struct ButtonImages {
    int normal, hover, pressed;
};
constexpr ButtonImages kSpeakerImages{164, 166, 166};
constexpr ButtonImages kMutedImages{165, 167, 167};

// Font and colour of a line. The face is the program's; where it is missing
// the fallback (installed with the program) stands in at the same size.
struct TextStyle {
    const char* face;
    const char* fallbackFace;
    int pixelHeight;
    int weight; // 700 = bold
    QColor colour;
};
TextStyle CaptionStyle(); // "돋움" 11 px bold, white
TextStyle StatusStyle();  // "돋움" 12 px bold, (255, 204, 51)

// Boxes in strip coordinates; the text starts at the top-left corner, one
// line, cut at the right edge (no wrap, no ellipsis).
QRect CaptionTextBox(int clientWidth); // (95, 12) to (clientWidth - 94, 25)
QRect StatusTextBox();                 // (65, 9) to (415, 24)

// The volume level bar: the 50-pixel window of bitmap 232 (100 x 5) that
// starts at the indicator offset, drawn at the volume area's left edge,
// 11 pixels down the bottom strip.
constexpr int kLevelBitmap = 232;
constexpr int kLevelWindowWidth = 50;
constexpr int kLevelBarHeight = 5;
constexpr int kLevelBarTop = 11;
QRect LevelSourceRect(int indicatorOffset); // clamped inside the bitmap

} // namespace StatusDisplay
