#include "PlaybackFakes.h"
#include "TestFolders.h"

#include "app/PlayerSession.h"
#include "app/SessionSettings.h"
#include "app/SettingsTable.h"
#include "playback/StatusDisplay.h"
#include "playback/VolumeControl.h"

#include <gtest/gtest.h>

namespace {

class VolumeControlTest : public ::testing::Test {
protected:
    VolumeControlTest() : volume(player, timers, session) {
        view.Follow(session);
        timers.onTick = [this](PlaybackTimer id) { volume.OnTimer(id); };
    }

    void StartWith(const char* sound) {
        Settings::WriteText(Settings::Sound, QString::fromUtf8(sound));
        volume.StartUp(SessionSettings::StoredVolume());
    }
    int PlayerVolume() const { return player.volumes.empty() ? -1 : player.volumes.back(); }

    ScopedXdgHome home;
    FakePlayer player;
    VolumeShown view;
    FakeTimers timers;
    PlayerSession session;
    VolumeControl volume;
};

TEST_F(VolumeControlTest, PointerMapsPixelsToEvenLevels) {
    StartWith("100");
    for (int x = 0; x <= 3; ++x) {
        volume.FromPointer(x);
        EXPECT_EQ(volume.Volume(), 0) << x;
        EXPECT_EQ(volume.IndicatorOffset(), 49) << x;
    }
    volume.FromPointer(4);
    EXPECT_EQ(volume.Volume(), 2);
    EXPECT_EQ(volume.IndicatorOffset(), 49);
    volume.FromPointer(10);
    EXPECT_EQ(volume.Volume(), 14);
    EXPECT_EQ(volume.IndicatorOffset(), 40);
    volume.FromPointer(49);
    EXPECT_EQ(volume.Volume(), 92);
    EXPECT_EQ(volume.IndicatorOffset(), 1);
    EXPECT_EQ(PlayerVolume(), 92);
    // No caption line and no timer for the pointer.
    EXPECT_TRUE(view.captions.isEmpty());
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Caption));
    // A drag past either end stays on the bar.
    volume.FromPointer(300);
    EXPECT_EQ(volume.Volume(), 92);
    EXPECT_EQ(volume.IndicatorOffset(), 1);
    volume.FromPointer(-40);
    EXPECT_EQ(volume.Volume(), 0);
    EXPECT_EQ(volume.IndicatorOffset(), 49);
}

TEST_F(VolumeControlTest, KeysStepByFiveAndHoldAtTheEnds) {
    StartWith("100");
    volume.FromPointer(49);
    volume.Up();
    EXPECT_EQ(volume.Volume(), 97);
    EXPECT_EQ(view.caption, QStringLiteral("소리크기 : 97%"));
    EXPECT_EQ(volume.IndicatorOffset(), 4);
    volume.Up();
    EXPECT_EQ(volume.Volume(), 100);
    EXPECT_EQ(view.caption, QStringLiteral("소리크기 : 100%"));
    EXPECT_EQ(PlayerVolume(), 100);

    // At 100 the key still shows the line; the wheel does nothing at all.
    const int told = static_cast<int>(player.volumes.size());
    timers.Advance(2000);
    volume.Up();
    EXPECT_EQ(volume.Volume(), 100);
    timers.Advance(2000);
    EXPECT_EQ(view.caption, QStringLiteral("소리크기 : 100%")); // three seconds anew
    timers.Advance(1000);
    EXPECT_TRUE(view.caption.isEmpty());
    const int captions = static_cast<int>(view.captions.size());
    volume.WheelUp();
    EXPECT_EQ(view.captions.size(), captions);
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Caption));
    EXPECT_EQ(static_cast<int>(player.volumes.size()), told);

    volume.FromPointer(4);
    volume.Down();
    EXPECT_EQ(volume.Volume(), 0);
    EXPECT_EQ(view.caption, QStringLiteral("소리크기 : 0%"));
    EXPECT_EQ(volume.IndicatorOffset(), 46);
    timers.Advance(3000);
    volume.WheelDown();
    EXPECT_TRUE(view.caption.isEmpty());
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Caption));
    EXPECT_EQ(volume.Volume(), 0);
}

TEST_F(VolumeControlTest, KeyOffsetRule) {
    EXPECT_EQ(VolumeControl::KeyOffset(0), 46);
    EXPECT_EQ(VolumeControl::KeyOffset(10), 46);
    EXPECT_EQ(VolumeControl::KeyOffset(11), 47);
    EXPECT_EQ(VolumeControl::KeyOffset(55), 25);
    EXPECT_EQ(VolumeControl::KeyOffset(93), 6);
    EXPECT_EQ(VolumeControl::KeyOffset(94), 4);
}

TEST_F(VolumeControlTest, MutedKeysMoveTheLevelButStaySilent) {
    StartWith("60");
    volume.ToggleMute();
    EXPECT_TRUE(volume.Muted());
    EXPECT_TRUE(view.muteImages);
    EXPECT_EQ(PlayerVolume(), 0);
    EXPECT_EQ(view.caption, QStringLiteral("소리크기 : 없음"));
    volume.Up();
    volume.Up();
    EXPECT_EQ(volume.Volume(), 70);
    EXPECT_EQ(view.caption, QStringLiteral("소리크기 : 70%"));
    EXPECT_EQ(PlayerVolume(), 0);
    volume.ToggleMute();
    EXPECT_FALSE(volume.Muted());
    EXPECT_FALSE(view.muteImages);
    EXPECT_EQ(PlayerVolume(), 70);
    EXPECT_EQ(view.caption, QStringLiteral("소리크기 : 70%"));
}

TEST_F(VolumeControlTest, PointerSoundsWhileMutedAndUnmuteKeepsDraggedLevel) {
    StartWith("60");
    volume.ToggleMute();
    volume.FromPointer(20);
    EXPECT_EQ(PlayerVolume(), 34);
    EXPECT_TRUE(volume.Muted());
    EXPECT_TRUE(view.muteImages);
    volume.ToggleMute();
    EXPECT_FALSE(volume.Muted());
    EXPECT_EQ(PlayerVolume(), 34);
}

TEST_F(VolumeControlTest, StartUpOffsetsAndOutOfRangeSavedLevels) {
    StartWith("100");
    EXPECT_EQ(volume.IndicatorOffset(), 0);
    EXPECT_EQ(PlayerVolume(), 100);
    volume.Up(); // nothing to step: the start-up bar stays
    EXPECT_EQ(volume.IndicatorOffset(), 0);
    volume.Down();
    EXPECT_EQ(volume.IndicatorOffset(), 4);

    StartWith("0");
    EXPECT_EQ(volume.IndicatorOffset(), 50);

    StartWith("loud");
    EXPECT_EQ(volume.Volume(), 0);

    // Out of range: held to the range from the start, drawn and saved so.
    StartWith("150");
    EXPECT_EQ(volume.Volume(), 100);
    EXPECT_EQ(PlayerVolume(), 100);
    EXPECT_EQ(volume.IndicatorOffset(), 0);
    SessionSettings::WriteAtShutdown(session);
    EXPECT_EQ(Settings::ReadText(Settings::Sound), QStringLiteral("100"));

    StartWith("-7");
    EXPECT_EQ(volume.Volume(), 0);
    EXPECT_EQ(PlayerVolume(), 0);
    EXPECT_EQ(volume.IndicatorOffset(), 50);
    SessionSettings::WriteAtShutdown(session);
    EXPECT_EQ(Settings::ReadText(Settings::Sound), QStringLiteral("0"));
}

TEST_F(VolumeControlTest, CaptionLastsThreeSecondsAfterTheLastChange) {
    StartWith("50");
    volume.Up();
    timers.Advance(2000);
    volume.Down();
    timers.Advance(2000);
    EXPECT_EQ(view.caption, QStringLiteral("소리크기 : 50%"));
    timers.Advance(1000);
    EXPECT_TRUE(view.caption.isEmpty());
    EXPECT_TRUE(volume.CaptionText().isEmpty());
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Caption));
}

TEST_F(VolumeControlTest, ExitSavesLevelNotMute) {
    StartWith("40");
    volume.Up();
    volume.ToggleMute();
    SessionSettings::WriteAtShutdown(session);
    EXPECT_EQ(Settings::ReadText(Settings::Sound), QStringLiteral("45"));
    volume.StartUp(SessionSettings::StoredVolume());
    EXPECT_FALSE(volume.Muted());
    EXPECT_EQ(PlayerVolume(), 45);
}

TEST(StatusDisplayTest, PlayingLineGrowsPastTwoHourDigits) {
    EXPECT_EQ(StatusDisplay::PlayingLine(QStringLiteral("KBS"), 100, 2, 3),
              QStringLiteral("KBS : 100:02:03"));
}

} // namespace
