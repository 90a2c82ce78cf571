#include "skin/SkinInventory.h"

#include <algorithm>
#include <iterator>

namespace {

// clang-format off
const SkinPicture kPictures[] = {
    {129, 585, 358, "installer window background: title bar, header, terms frame, buttons", false},
    {131, 113, 29, "caption, left piece (emblem and name)", false},
    {132, 1, 29, "caption, tile", false},
    {133, 85, 29, "caption, right piece", false},
    {134, 7, 1, "left border, tile", false},
    {135, 174, 58, "logo in the idle video area", false},
    {136, 10, 1, "divider between video area and list panel, tile", false},
    {137, 424, 89, "list panel, top piece (status display, tab rows, list frame top)", false},
    {138, 424, 1, "list panel, tile (list frame sides)", false},
    {139, 424, 14, "list panel, bottom piece (list frame bottom)", false},
    {140, 7, 1, "right border, tile", false},
    {141, 140, 34, "bottom bar, left piece", false},
    {142, 1, 34, "bottom bar, tile", false},
    {143, 12, 34, "bottom bar, right piece", false},
    {144, 15, 15, "close button, normal", false},
    {145, 15, 15, "close button, hovered and pressed", true},
    {146, 15, 15, "maximise toggle button, normal", false},
    {147, 15, 15, "maximise toggle button, hovered and pressed", true},
    {148, 15, 15, "minimise button, normal", false},
    {149, 15, 15, "minimise button, hovered and pressed", true},
    {150, 15, 15, "full screen button, normal", false},
    {151, 15, 15, "full screen button, hovered and pressed", true},
    {152, 9, 70, "list panel toggle while the panel is closed, normal", false},
    {153, 9, 70, "list panel toggle while the panel is closed, hovered and pressed", true},
    {154, 9, 70, "list panel toggle while the panel is open, normal", false},
    {155, 9, 70, "list panel toggle while the panel is open, hovered and pressed", true},
    {156, 25, 27, "play button, normal", false},
    {157, 25, 27, "play button, hovered and pressed", true},
    {158, 27, 27, "stop button, normal", false},
    {159, 27, 27, "stop button, hovered and pressed", true},
    {160, 26, 27, "list panel button, normal", false},
    {161, 26, 27, "list panel button, hovered and pressed", true},
    {162, 26, 27, "settings button, normal", false},
    {163, 26, 27, "settings button, hovered and pressed", true},
    {164, 16, 14, "mute button (speaker), normal", false},
    {165, 16, 14, "mute button while muted (crossed speaker), normal", false},
    {166, 16, 14, "mute button (speaker), hovered and pressed", true},
    {167, 16, 14, "mute button while muted (crossed speaker), hovered and pressed", true},
    {168, 100, 30, "main tab: live broadcasts", false},
    {169, 100, 30, "main tab: live broadcasts, current", false},
    {170, 112, 30, "main tab: MP3 download", false},
    {171, 112, 30, "main tab: MP3 download, current", false},
    {172, 104, 30, "main tab: movie/drama", false},
    {173, 104, 30, "main tab: movie/drama, current", false},
    {174, 85, 30, "main tab: home page", false},
    {175, 85, 30, "main tab: home page, current", false},
    {176, 15, 15, "hide button, normal", false},
    {177, 15, 15, "hide button, hovered and pressed", true},
    {178, 61, 15, "status lamp, lit (orange): playing", false},
    {179, 61, 15, "status lamp, unlit (grey): idle or stopped", false},
    {180, 34, 18, "category tab TV, normal", false},
    {181, 34, 18, "category tab TV, hovered and pressed", true},
    {182, 36, 18, "category tab world, normal", false},
    {183, 36, 18, "category tab world, hovered and pressed", true},
    {184, 35, 18, "category tab game, normal", false},
    {185, 35, 18, "category tab game, hovered and pressed", true},
    {186, 47, 18, "category tab radio, normal", false},
    {187, 47, 18, "category tab radio, hovered and pressed", true},
    {188, 56, 18, "category tab music, normal", false},
    {189, 56, 18, "category tab music, hovered and pressed", true},
    {190, 56, 18, "category tab my channels, normal", false},
    {191, 56, 18, "category tab my channels, hovered and pressed", true},
    {192, 55, 18, "music sub-tab latest music, normal", false},
    {193, 55, 18, "music sub-tab latest music, hovered and pressed", true},
    {194, 58, 18, "music sub-tab MP3 download, normal", false},
    {195, 58, 18, "music sub-tab MP3 download, hovered and pressed", true},
    {196, 57, 18, "music sub-tab music chart, normal", false},
    {197, 57, 18, "music sub-tab music chart, hovered and pressed", true},
    {198, 66, 18, "music sub-tab music video, normal", false},
    {199, 66, 18, "music sub-tab music video, hovered and pressed", true},
    {200, 57, 18, "movie sub-tab latest movies, normal", false},
    {201, 57, 18, "movie sub-tab latest movies, hovered and pressed", true},
    {202, 45, 18, "movie sub-tab drama, normal", false},
    {203, 45, 18, "movie sub-tab drama, hovered and pressed", true},
    {204, 45, 18, "movie sub-tab video clips, normal", false},
    {205, 45, 18, "movie sub-tab video clips, hovered and pressed", true},
    {209, 380, 200, "about dialog background: logo, name and version, maker, address, OK face", false},
    {210, 44, 22, "dialog OK button, normal", false},
    {211, 44, 22, "dialog OK button, hovered and pressed", true},
    {212, 15, 15, "dialog close box, normal", false},
    {213, 15, 15, "dialog close box, hovered and pressed", true},
    {215, 332, 200, "open-URL dialog background: heading, prompt, address bar", false},
    {216, 44, 22, "dialog Cancel button, normal", false},
    {217, 44, 22, "dialog Cancel button, hovered and pressed", true},
    {218, 21, 20, "open-URL play button, normal", false},
    {219, 21, 20, "open-URL play button, hovered and pressed", true},
    {220, 400, 300, "settings dialog background: heading, page row, option frame", false},
    {223, 75, 30, "settings page button basic settings", false},
    {224, 75, 30, "settings page button basic settings, current", false},
    {225, 75, 30, "settings page button playback settings", false},
    {226, 75, 30, "settings page button playback settings, current", false},
    {227, 75, 30, "settings page button update", false},
    {228, 75, 30, "settings page button update, current", false},
    {231, 400, 300, "add-channel dialog background: heading, three labels and entry bars", false},
    {232, 100, 5, "volume level bar: left half filled, right half empty", false},
    {235, 380, 200, "region dialog background: logo, icon, two lines of explanation", false},
};
// clang-format on

} // namespace

const SkinPicture* SkinPictures() {
    return kPictures;
}

std::size_t SkinPictureCount() {
    return std::size(kPictures);
}

const SkinPicture* FindSkinPicture(int id) {
    const auto* end = std::end(kPictures);
    const auto* it =
        std::lower_bound(std::begin(kPictures), end, id,
                         [](const SkinPicture& p, int wanted) { return p.id < wanted; });
    return it != end && it->id == id ? it : nullptr;
}

QString SkinPath(int id) {
    return QStringLiteral(":/skin/%1.png").arg(id);
}

QString SkinPath2x(int id) {
    return QStringLiteral(":/skin/%1@2x.png").arg(id);
}

QString SkinPathForRatio(int id, double devicePixelRatio) {
    return devicePixelRatio > 1.0 ? SkinPath2x(id) : SkinPath(id);
}

QString SkinPressedPath(int id) {
    const SkinPicture* p = FindSkinPicture(id);
    if (p != nullptr && p->hasPressedLook)
        return QStringLiteral(":/skin/%1-pressed.png").arg(id);
    return SkinPath(id);
}

QString AppIconPath() {
    return QStringLiteral(":/icons/128.png");
}

QString AppIconPath(int size) {
    return QStringLiteral(":/icons/hicolor/%1x%1/waveorbit.png").arg(size);
}
