#include "skin/FontHinting.h"

#include <QFont>
#include <QGuiApplication>

void UseFontsOwnHinting() {
    QFont font = QGuiApplication::font();
    font.setHintingPreference(QFont::PreferFullHinting);
    QGuiApplication::setFont(font);
}

void UseSkinFaceForAllText() {
    QFont font = QGuiApplication::font();
    font.setFamilies({QStringLiteral("NanumGothic")});
    QGuiApplication::setFont(font);
}
