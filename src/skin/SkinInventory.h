#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <cstddef>
#include <iterator>

// Every picture of the skin: its name in the code, its resource number, the
// exact size the layout and the composition rules rely on, whether the
// generator also draws a pressed look for it, and what it shows. The
// pictures are PNG files compiled in with Qt's resource system
// (resources/skin/<number>.png, drawn by tools/skingen, with a twice-as-sharp
// "<number>@2x.png" beside each).
//
// Buttons show one picture when hovered and when pressed. For those "hover"
// pictures the generator also draws a darker, shifted pressed look, so a
// button can show three distinct states when it wants to.
//
// This one list makes both the ids and the table below, so a picture cannot
// have an id without an entry or the other way round.
// clang-format off
#define WAVEORBIT_SKIN_PICTURES(X) \
    X(InstallerBackground, 129, 585, 358, false, "installer window background: title bar, header, terms frame, buttons") \
    X(CaptionLeft, 131, 113, 29, false, "caption, left piece (emblem and name)") \
    X(CaptionTile, 132, 1, 29, false, "caption, tile") \
    X(CaptionRight, 133, 85, 29, false, "caption, right piece") \
    X(LeftTile, 134, 7, 1, false, "left border, tile") \
    X(Logo, 135, 174, 58, false, "logo in the idle video area") \
    X(DividerTile, 136, 10, 1, false, "divider between video area and list panel, tile") \
    X(PanelTop, 137, 424, 89, false, "list panel, top piece (status display, tab rows, list frame top)") \
    X(PanelTile, 138, 424, 1, false, "list panel, tile (list frame sides)") \
    X(PanelBottom, 139, 424, 14, false, "list panel, bottom piece (list frame bottom)") \
    X(RightTile, 140, 7, 1, false, "right border, tile") \
    X(BottomLeft, 141, 140, 34, false, "bottom bar, left piece") \
    X(BottomTile, 142, 1, 34, false, "bottom bar, tile") \
    X(BottomRight, 143, 12, 34, false, "bottom bar, right piece") \
    X(Close, 144, 15, 15, false, "close button, normal") \
    X(CloseHover, 145, 15, 15, true, "close button, hovered and pressed") \
    X(Maximise, 146, 15, 15, false, "maximise toggle button, normal") \
    X(MaximiseHover, 147, 15, 15, true, "maximise toggle button, hovered and pressed") \
    X(Minimise, 148, 15, 15, false, "minimise button, normal") \
    X(MinimiseHover, 149, 15, 15, true, "minimise button, hovered and pressed") \
    X(FullScreen, 150, 15, 15, false, "full screen button, normal") \
    X(FullScreenHover, 151, 15, 15, true, "full screen button, hovered and pressed") \
    X(ListToggleClosed, 152, 9, 70, false, "list panel toggle while the panel is closed, normal") \
    X(ListToggleClosedHover, 153, 9, 70, true, "list panel toggle while the panel is closed, hovered and pressed") \
    X(ListToggleOpen, 154, 9, 70, false, "list panel toggle while the panel is open, normal") \
    X(ListToggleOpenHover, 155, 9, 70, true, "list panel toggle while the panel is open, hovered and pressed") \
    X(Play, 156, 25, 27, false, "play button, normal") \
    X(PlayHover, 157, 25, 27, true, "play button, hovered and pressed") \
    X(Stop, 158, 27, 27, false, "stop button, normal") \
    X(StopHover, 159, 27, 27, true, "stop button, hovered and pressed") \
    X(ListPanel, 160, 26, 27, false, "list panel button, normal") \
    X(ListPanelHover, 161, 26, 27, true, "list panel button, hovered and pressed") \
    X(Settings, 162, 26, 27, false, "settings button, normal") \
    X(SettingsHover, 163, 26, 27, true, "settings button, hovered and pressed") \
    X(Speaker, 164, 16, 14, false, "mute button (speaker), normal") \
    X(Muted, 165, 16, 14, false, "mute button while muted (crossed speaker), normal") \
    X(SpeakerHover, 166, 16, 14, true, "mute button (speaker), hovered and pressed") \
    X(MutedHover, 167, 16, 14, true, "mute button while muted (crossed speaker), hovered and pressed") \
    X(TabChannels, 168, 100, 30, false, "main tab: live broadcasts") \
    X(TabChannelsCurrent, 169, 100, 30, false, "main tab: live broadcasts, current") \
    X(TabMusic, 170, 112, 30, false, "main tab: MP3 download") \
    X(TabMusicCurrent, 171, 112, 30, false, "main tab: MP3 download, current") \
    X(TabMovie, 172, 104, 30, false, "main tab: movie/drama") \
    X(TabMovieCurrent, 173, 104, 30, false, "main tab: movie/drama, current") \
    X(TabHome, 174, 85, 30, false, "main tab: home page") \
    X(TabHomeCurrent, 175, 85, 30, false, "main tab: home page, current") \
    X(Hide, 176, 15, 15, false, "hide button, normal") \
    X(HideHover, 177, 15, 15, true, "hide button, hovered and pressed") \
    X(LampLit, 178, 61, 15, false, "status lamp, lit (orange): playing") \
    X(LampUnlit, 179, 61, 15, false, "status lamp, unlit (grey): idle or stopped") \
    X(CategoryTv, 180, 34, 18, false, "category tab TV, normal") \
    X(CategoryTvHover, 181, 34, 18, true, "category tab TV, hovered and pressed") \
    X(CategoryWorld, 182, 36, 18, false, "category tab world, normal") \
    X(CategoryWorldHover, 183, 36, 18, true, "category tab world, hovered and pressed") \
    X(CategoryGame, 184, 35, 18, false, "category tab game, normal") \
    X(CategoryGameHover, 185, 35, 18, true, "category tab game, hovered and pressed") \
    X(CategoryRadio, 186, 47, 18, false, "category tab radio, normal") \
    X(CategoryRadioHover, 187, 47, 18, true, "category tab radio, hovered and pressed") \
    X(CategoryMusic, 188, 56, 18, false, "category tab music, normal") \
    X(CategoryMusicHover, 189, 56, 18, true, "category tab music, hovered and pressed") \
    X(CategoryUser, 190, 56, 18, false, "category tab my channels, normal") \
    X(CategoryUserHover, 191, 56, 18, true, "category tab my channels, hovered and pressed") \
    X(MusicLatest, 192, 55, 18, false, "music sub-tab latest music, normal") \
    X(MusicLatestHover, 193, 55, 18, true, "music sub-tab latest music, hovered and pressed") \
    X(MusicDownload, 194, 58, 18, false, "music sub-tab MP3 download, normal") \
    X(MusicDownloadHover, 195, 58, 18, true, "music sub-tab MP3 download, hovered and pressed") \
    X(MusicChart, 196, 57, 18, false, "music sub-tab music chart, normal") \
    X(MusicChartHover, 197, 57, 18, true, "music sub-tab music chart, hovered and pressed") \
    X(MusicVideo, 198, 66, 18, false, "music sub-tab music video, normal") \
    X(MusicVideoHover, 199, 66, 18, true, "music sub-tab music video, hovered and pressed") \
    X(MovieLatest, 200, 57, 18, false, "movie sub-tab latest movies, normal") \
    X(MovieLatestHover, 201, 57, 18, true, "movie sub-tab latest movies, hovered and pressed") \
    X(MovieDrama, 202, 45, 18, false, "movie sub-tab drama, normal") \
    X(MovieDramaHover, 203, 45, 18, true, "movie sub-tab drama, hovered and pressed") \
    X(MovieClips, 204, 45, 18, false, "movie sub-tab video clips, normal") \
    X(MovieClipsHover, 205, 45, 18, true, "movie sub-tab video clips, hovered and pressed") \
    X(PageSources, 206, 75, 30, false, "settings page button channel lists") \
    X(PageSourcesCurrent, 207, 75, 30, false, "settings page button channel lists, current") \
    X(AboutBackground, 209, 380, 200, false, "about dialog background: logo, name and version, maker, address, OK face") \
    X(DialogOk, 210, 44, 22, false, "dialog OK button, normal") \
    X(DialogOkHover, 211, 44, 22, true, "dialog OK button, hovered and pressed") \
    X(DialogClose, 212, 15, 15, false, "dialog close box, normal") \
    X(DialogCloseHover, 213, 15, 15, true, "dialog close box, hovered and pressed") \
    X(OpenUrlBackground, 215, 332, 200, false, "open-URL dialog background: heading, prompt, address bar") \
    X(DialogCancel, 216, 44, 22, false, "dialog Cancel button, normal") \
    X(DialogCancelHover, 217, 44, 22, true, "dialog Cancel button, hovered and pressed") \
    X(OpenUrlPlay, 218, 21, 20, false, "open-URL play button, normal") \
    X(OpenUrlPlayHover, 219, 21, 20, true, "open-URL play button, hovered and pressed") \
    X(SettingsBackground, 220, 400, 300, false, "settings dialog background: heading, page row, option frame") \
    X(PageBasic, 223, 75, 30, false, "settings page button basic settings") \
    X(PageBasicCurrent, 224, 75, 30, false, "settings page button basic settings, current") \
    X(PagePlayback, 225, 75, 30, false, "settings page button playback settings") \
    X(PagePlaybackCurrent, 226, 75, 30, false, "settings page button playback settings, current") \
    X(PageUpdate, 227, 75, 30, false, "settings page button update") \
    X(PageUpdateCurrent, 228, 75, 30, false, "settings page button update, current") \
    X(AddChannelBackground, 231, 400, 300, false, "add-channel dialog background: heading, three labels and entry bars") \
    X(VolumeBar, 232, 100, 5, false, "volume level bar: left half filled, right half empty") \
    X(GuideBackground, 234, 400, 300, false, "programme guide dialog background: caption bar, list and description wells, OK face") \
    X(RegionBackground, 235, 380, 200, false, "region dialog background: logo, icon, two lines of explanation")
// clang-format on

// A skin picture, by its resource number.
enum class PictureId : int {
    AppIcon = 128, // the application icon: a set of sizes of its own (AppIconPath)
#define WAVEORBIT_PICTURE_ID(name, number, width, height, pressed, purpose) name = number,
    WAVEORBIT_SKIN_PICTURES(WAVEORBIT_PICTURE_ID)
#undef WAVEORBIT_PICTURE_ID
};

constexpr int PictureNumber(PictureId id) {
    return static_cast<int>(id);
}

struct SkinPicture {
    PictureId id;
    int width;
    int height;
    bool hasPressedLook;
    const char* purpose;

    constexpr QSize Size() const { return QSize(width, height); }
};

// The whole table, sorted by id.
inline constexpr SkinPicture kSkinPictures[] = {
#define WAVEORBIT_PICTURE_ENTRY(name, number, width, height, pressed, purpose)                     \
    {PictureId::name, width, height, pressed, purpose},
    WAVEORBIT_SKIN_PICTURES(WAVEORBIT_PICTURE_ENTRY)
#undef WAVEORBIT_PICTURE_ENTRY
};

const SkinPicture* SkinPictures();
std::size_t SkinPictureCount();

namespace skin_detail {
constexpr bool TableIsSorted() {
    for (std::size_t i = 1; i < std::size(kSkinPictures); ++i)
        if (PictureNumber(kSkinPictures[i - 1].id) >= PictureNumber(kSkinPictures[i].id))
            return false;
    return true;
}
} // namespace skin_detail

// The lookup below is a binary search: it needs the order.
static_assert(skin_detail::TableIsSorted(), "the skin picture table must be sorted by id");

// The place of a resource number in the table, or -1 when the skin has no
// such picture. (Indices rather than pointers: a pointer compared with null
// is no constant expression to every compiler, with the sanitizers on.)
constexpr int SkinPictureIndex(int number) {
    std::size_t low = 0, high = std::size(kSkinPictures);
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        const int at = PictureNumber(kSkinPictures[mid].id);
        if (at == number)
            return static_cast<int>(mid);
        if (at < number)
            low = mid + 1;
        else
            high = mid;
    }
    return -1;
}

// The entry for a resource number or an id, or nullptr when the skin has no
// such picture.
constexpr const SkinPicture* FindSkinPicture(int number) {
    const int index = SkinPictureIndex(number);
    return index < 0 ? nullptr : &kSkinPictures[index];
}
constexpr const SkinPicture* FindSkinPicture(PictureId id) {
    return FindSkinPicture(PictureNumber(id));
}

// Every id of the list is found in the table, at its size, and the skin's
// numbers stay in the range kept for pictures.
#define WAVEORBIT_PICTURE_CHECK(name, number, width, height, pressed, purpose)                     \
    static_assert(SkinPictureIndex(number) >= 0 &&                                                 \
                      kSkinPictures[SkinPictureIndex(number)].Size() == QSize(width, height) &&    \
                      (number) > 128 && (number) <= 235,                                           \
                  "skin picture " #name " is missing from the table or out of range");
WAVEORBIT_SKIN_PICTURES(WAVEORBIT_PICTURE_CHECK)
#undef WAVEORBIT_PICTURE_CHECK

// The size of a picture of the table (an empty size for the icon).
constexpr QSize PictureSize(PictureId id) {
    const int index = SkinPictureIndex(PictureNumber(id));
    return index < 0 ? QSize() : kSkinPictures[index].Size();
}

// The device pixel ratio from which the twice-as-sharp pictures are drawn.
// Below it the plain pictures are sharper than the large ones scaled down.
constexpr double kSharpPictureRatio = 1.5;
bool UsesSharpPictures(double devicePixelRatio);

// ":/skin/<id>.png".
QString SkinPath(PictureId id);

// ":/skin/<id>@2x.png": the same picture drawn at twice the resolution.
QString SkinPath2x(PictureId id);

// The path to load on a screen with the given device pixel ratio: the @2x
// picture from kSharpPictureRatio on, else the plain one.
QString SkinPathForRatio(PictureId id, double devicePixelRatio);

// ":/skin/<id>-pressed.png" for a hover picture that has a pressed look, else
// SkinPath(id): callers can ask for it unconditionally.
QString SkinPressedPath(PictureId id);

// The picture for a screen with the given device pixel ratio. The @2x picture
// carries the device pixel ratio 2, so it draws at the picture's logical size
// (QPixmap does not look for "@2x" files by itself; only QIcon does). A
// missing picture is a null image.
QImage LoadSkinImage(PictureId id, double devicePixelRatio);
QPixmap LoadSkinPixmap(PictureId id, double devicePixelRatio);

// Where the installer background (129) paints the frames and button faces
// that the wizard's own controls sit on, in client pixels (left, top, right,
// bottom; right and bottom exclusive). They match the wizard's layout
// (src/installer/InstallerLayout.h): the template's places at 1.75 pixels
// per dialog unit across and 1.5 down, the buttons on the painted faces.
struct SkinRect {
    int left, top, right, bottom;
};
constexpr SkinRect kInstallerTermsBox{33, 120, 549, 270}; // edit 1001
constexpr SkinRect kInstallerAgreeBox{33, 275, 210, 290}; // check box 1000
constexpr SkinRect kInstallerBack{292, 319, 382, 341};    // button 1002
constexpr SkinRect kInstallerNext{386, 319, 472, 341};    // button 1003
constexpr SkinRect kInstallerCancel{486, 319, 572, 341};  // button 1004
constexpr SkinRect kInstallerCloseSpot{564, 5, 580, 19};
constexpr SkinRect kInstallerMinimiseSpot{530, 5, 546, 19};

// ":/icons/128.png" (256 x 256, with alpha).
QString AppIconPath();

// The application icon in the sizes from 16 to 128 pixels (AppIconPath(n)),
// decoded once; the window and the tray icon share it.
QIcon AppIcon();

// ":/icons/hicolor/<n>x<n>/waveorbit.png" for n in 16, 22, 24, 32, 48, 64, 128, 256.
QString AppIconPath(int size);
