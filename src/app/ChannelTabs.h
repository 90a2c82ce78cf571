#pragma once

// The main tabs and the channel categories. Their values are the numbers
// the stored values "Menu" and "SubMenu" hold, so they convert only through
// the helpers below.
enum class MainTab {
    Channels = 1,
    Music = 2,
    Movie = 3,
};

enum class Category {
    None = 0, // no category shown yet
    Tv = 1,
    World = 2,
    Game = 3,
    Radio = 4,
    Music = 5,
    User = 6,
};

// The stored number of a main tab or a category.
constexpr int StoredNumberOf(MainTab tab) {
    return static_cast<int>(tab);
}
constexpr int StoredNumberOf(Category category) {
    return static_cast<int>(category);
}

// The category a stored number names; None for a number out of range.
constexpr Category CategoryFromStored(int number) {
    return number >= StoredNumberOf(Category::Tv) && number <= StoredNumberOf(Category::User)
               ? static_cast<Category>(number)
               : Category::None;
}

// The catalogue categories in tab order (the user's channels last).
constexpr Category kAllCategories[] = {Category::Tv,    Category::World, Category::Game,
                                       Category::Radio, Category::Music, Category::User};
constexpr MainTab kAllMainTabs[] = {MainTab::Channels, MainTab::Music, MainTab::Movie};

// Radio and music play sound only: no video over the picture.
constexpr bool IsSoundOnly(Category category) {
    return category == Category::Radio || category == Category::Music;
}
