#include "catalogue/ChannelName.h"
#include "catalogue/NameFinder.h"

#include <gtest/gtest.h>

// Names as the public lists write them.
TEST(ChannelName, TheListsNotesBecomeAResolutionAndMarks) {
    const ChannelName::Parts arirang =
        ChannelName::Split(QStringLiteral("Arirang (720p) [Geo-blocked]"));
    EXPECT_EQ(arirang.name, QStringLiteral("Arirang"));
    EXPECT_EQ(arirang.resolution, QStringLiteral("720p"));
    EXPECT_EQ(ChannelName::Marks(arirang), QStringList{QStringLiteral("지역제한")});

    const ChannelName::Parts ebs = ChannelName::Split(QStringLiteral("EBS 1 (400p) [Not 24/7]"));
    EXPECT_EQ(ebs.name, QStringLiteral("EBS 1"));
    EXPECT_EQ(ChannelName::Marks(ebs), QStringList{QStringLiteral("간헐")});

    // Brackets that are part of a name stay; a name of notes only is kept.
    EXPECT_EQ(ChannelName::Split(QStringLiteral("KBS (World)")).name,
              QStringLiteral("KBS (World)"));
    EXPECT_EQ(ChannelName::Split(QStringLiteral("[Geo-blocked]")).name,
              QStringLiteral("[Geo-blocked]"));
}

TEST(ChannelName, OneChannelHasOneKeyWhateverTheListWrites) {
    const QString key = ChannelName::MatchKey(QStringLiteral("Arirang TV"));
    EXPECT_EQ(ChannelName::MatchKey(QStringLiteral("ARIRANG  TV (1080p) [Not 24/7]")), key);
    EXPECT_EQ(ChannelName::MatchKey(QStringLiteral("Arirang TV HD")), key);
    EXPECT_NE(ChannelName::MatchKey(QStringLiteral("Arirang Radio")), key);
    // Hangul written as separate jamo (NFD) is the same name.
    EXPECT_EQ(
        ChannelName::MatchKey(QStringLiteral("국악방송").normalized(QString::NormalizationForm_D)),
        ChannelName::MatchKey(QStringLiteral("국악 방송")));
}

TEST(NameFinder, FindsByInitialConsonantsSyllablesAndLatinLetters) {
    const auto at = [](const QString& query, const QString& name) {
        const NameFinder::Match m = NameFinder(query).Find(name);
        return m.found() ? name.mid(m.start, m.length) : QStringLiteral("-");
    };
    EXPECT_EQ(at(QStringLiteral("ㄱㅇ"), QStringLiteral("국악방송")), QStringLiteral("국악"));
    EXPECT_EQ(at(QStringLiteral("ㅇㄹㄹ"), QStringLiteral("KBS 아리랑")), QStringLiteral("아리랑"));
    EXPECT_EQ(at(QStringLiteral("국ㅇ"), QStringLiteral("국악방송")), QStringLiteral("국악"));
    EXPECT_EQ(at(QStringLiteral("ㅂㅅ"), QStringLiteral("국악방송")), QStringLiteral("방송"));
    // The last syllable may still be growing its final consonant.
    EXPECT_EQ(at(QStringLiteral("아리라"), QStringLiteral("아리랑")), QStringLiteral("아리랑"));
    EXPECT_EQ(at(QStringLiteral("kbs ㅇ"), QStringLiteral("KBS 아리랑")), QStringLiteral("KBS 아"));
    EXPECT_EQ(at(QStringLiteral("ebs"), QStringLiteral("EBS 1")), QStringLiteral("EBS"));
    // No match: a full syllable is not its initial, a wrong letter is wrong.
    EXPECT_EQ(at(QStringLiteral("가"), QStringLiteral("국악")), QStringLiteral("-"));
    EXPECT_EQ(at(QStringLiteral("ㄴ"), QStringLiteral("국악방송")), QStringLiteral("-"));
    EXPECT_EQ(at(QStringLiteral("mbcx"), QStringLiteral("MBC")), QStringLiteral("-"));
    EXPECT_TRUE(NameFinder(QStringLiteral("  ")).IsEmpty());
}
