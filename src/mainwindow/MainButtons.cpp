#include "mainwindow/MainButtons.h"

const ButtonEntry kButtons[28] = {
    {ControlId::Hide, "트레이로 숨기기", PictureId::Hide, PictureId::HideHover,
     PictureId::HideHover},
    {ControlId::TabMusic, "MP3 다운로드", PictureId::TabMusic, PictureId::TabMusic,
     PictureId::TabMusic},
    {ControlId::TabMovie, "영화/드라마", PictureId::TabMovie, PictureId::TabMovie,
     PictureId::TabMovie},
    {ControlId::TabChannels, "실시간 방송", PictureId::TabChannels, PictureId::TabChannels,
     PictureId::TabChannels},
    {ControlId::TabHome, "홈페이지", PictureId::TabHome, PictureId::TabHome, PictureId::TabHome},
    {ControlId::ListToggle, "채널 목록 닫기", PictureId::ListToggleOpen,
     PictureId::ListToggleOpenHover, PictureId::ListToggleOpenHover},
    {ControlId::Mute, "음소거", PictureId::Speaker, PictureId::SpeakerHover,
     PictureId::SpeakerHover},
    {ControlId::Stop, "정지", PictureId::Stop, PictureId::StopHover, PictureId::StopHover},
    {ControlId::Play, "재생", PictureId::Play, PictureId::PlayHover, PictureId::PlayHover},
    {ControlId::Settings, "설정", PictureId::Settings, PictureId::SettingsHover,
     PictureId::SettingsHover},
    {ControlId::ListToggleBottom, "목록 숨기기", PictureId::ListPanel, PictureId::ListPanelHover,
     PictureId::ListPanelHover},
    {ControlId::Minimise, "최소화", PictureId::Minimise, PictureId::MinimiseHover,
     PictureId::MinimiseHover},
    {ControlId::MaximiseToggle, "최대화", PictureId::Maximise, PictureId::MaximiseHover,
     PictureId::MaximiseHover},
    {ControlId::FullScreen, "전체화면", PictureId::FullScreen, PictureId::FullScreenHover,
     PictureId::FullScreenHover},
    {ControlId::Close, "닫기", PictureId::Close, PictureId::CloseHover, PictureId::CloseHover},
    {ControlId::CategoryTv, "TV", PictureId::CategoryTv, PictureId::CategoryTvHover,
     PictureId::CategoryTvHover},
    {ControlId::CategoryWorld, "해외", PictureId::CategoryWorld, PictureId::CategoryWorldHover,
     PictureId::CategoryWorldHover},
    {ControlId::CategoryGame, "게임", PictureId::CategoryGame, PictureId::CategoryGameHover,
     PictureId::CategoryGameHover},
    {ControlId::CategoryRadio, "라디오", PictureId::CategoryRadio, PictureId::CategoryRadioHover,
     PictureId::CategoryRadioHover},
    {ControlId::CategoryMusic, "음악방송", PictureId::CategoryMusic, PictureId::CategoryMusicHover,
     PictureId::CategoryMusicHover},
    {ControlId::CategoryUser, "마이채널", PictureId::CategoryUser, PictureId::CategoryUserHover,
     PictureId::CategoryUserHover},
    {ControlId::MusicSubTab1, "최신음악", PictureId::MusicLatest, PictureId::MusicLatestHover,
     PictureId::MusicLatestHover},
    {ControlId::MusicSubTab2, "MP3다운", PictureId::MusicDownload, PictureId::MusicDownloadHover,
     PictureId::MusicDownloadHover},
    {ControlId::MusicSubTab3, "음악차트", PictureId::MusicChart, PictureId::MusicChartHover,
     PictureId::MusicChartHover},
    {ControlId::MusicSubTab4, "뮤직비디오", PictureId::MusicVideo, PictureId::MusicVideoHover,
     PictureId::MusicVideoHover},
    {ControlId::MovieSubTab1, "최신영화", PictureId::MovieLatest, PictureId::MovieLatestHover,
     PictureId::MovieLatestHover},
    {ControlId::MovieSubTab2, "드라마", PictureId::MovieDrama, PictureId::MovieDramaHover,
     PictureId::MovieDramaHover},
    {ControlId::MovieSubTab3, "동영상", PictureId::MovieClips, PictureId::MovieClipsHover,
     PictureId::MovieClipsHover},
};

const TabPictures kMainTabPictures[4] = {
    {ControlId::TabChannels, PictureId::TabChannels, PictureId::TabChannelsCurrent},
    {ControlId::TabMusic, PictureId::TabMusic, PictureId::TabMusicCurrent},
    {ControlId::TabMovie, PictureId::TabMovie, PictureId::TabMovieCurrent},
    {ControlId::TabHome, PictureId::TabHome,
     PictureId::TabHomeCurrent}, // plain again once a main tab is chosen
};

ButtonEntry ListToggleLook(bool panelOpen) {
    const PictureId normal = panelOpen ? PictureId::ListToggleOpen : PictureId::ListToggleClosed;
    const PictureId hovered =
        panelOpen ? PictureId::ListToggleOpenHover : PictureId::ListToggleClosedHover;
    return ButtonEntry{ControlId::ListToggle, ListPanelButtonNames(panelOpen).toggle, normal,
                       hovered, hovered};
}

ListButtonNames ListPanelButtonNames(bool panelOpen) {
    return panelOpen ? ListButtonNames{"채널 목록 닫기", "목록 숨기기"}
                     : ListButtonNames{"채널 목록 열기", "목록 보이기"};
}

std::vector<ControlId> ButtonsAfterFullScreen(bool panelOpen, MainTab tab) {
    std::vector<ControlId> shown = {ControlId::Hide,
                                    ControlId::MaximiseToggle,
                                    ControlId::Minimise,
                                    ControlId::Close,
                                    ControlId::FullScreen,
                                    ControlId::ListToggle,
                                    ControlId::Play,
                                    ControlId::Stop,
                                    ControlId::ListToggleBottom,
                                    ControlId::Settings,
                                    ControlId::Mute};
    if (!panelOpen)
        return shown;
    auto group = [&shown](ControlId tabButton, bool current, const auto& subTabs) {
        shown.push_back(tabButton);
        if (current)
            shown.insert(shown.end(), std::begin(subTabs), std::end(subTabs));
    };
    group(ControlId::TabChannels, tab == MainTab::Channels, kCategoryTabButtons);
    group(ControlId::TabMusic, tab == MainTab::Music, kMusicSubTabButtons);
    group(ControlId::TabMovie, tab == MainTab::Movie, kMovieSubTabButtons);
    shown.push_back(ControlId::TabHome);
    return shown;
}
