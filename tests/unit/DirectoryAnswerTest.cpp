// The radio directory's answer as the reader takes it: what a station is
// made of, what is stepped over, and what is no answer at all.
#include "catalogue/DirectoryAnswerReader.h"

#include <gtest/gtest.h>

namespace {

std::vector<RadioDirectory::Station> Read(const QByteArray& json) {
    const auto stations = ReadDirectoryAnswer(json);
    EXPECT_TRUE(stations.has_value()) << json.constData();
    return stations.value_or(std::vector<RadioDirectory::Station>{});
}

TEST(DirectoryAnswer, StringsDecodedAndUnknownValuesSteppedOver) {
    const auto stations = Read(QByteArray(
        "\xEF\xBB\xBF [ {\"name\" : \"  \\uD55C\\uAD6D \\\"FM\\\"\\t\\\\ \\ud83c\\udfb5 \\uD800x "
        "\\/\\q \",\n"
        "   \"url_resolved\":\"http://127.0.0.1/a\\u0026b\",\"url\":\"http://127.0.0.1/raw\",\n"
        "   \"geo\":{\"lat\":[1,2,{\"x\":null}],\"s\":\"}]\"},\"has_extended_info\":false,\n"
        "   \"favicon\":null,\"votes\":-1.5e2,\"bitrate\":\"96\",\"clickcount\":12.,\n"
        "   \"st\\u0061te\":\"Busan\",\"state\":\"Seoul\",\"tags\":\"\xED\x95\x9C\"}\r\n]\n"));
    ASSERT_EQ(stations.size(), 1u);
    const RadioDirectory::Station& s = stations.front();
    // Escapes of every kind (an unknown one stands for its character), a
    // surrogate pair, a lone half as U+FFFD; trimmed.
    EXPECT_EQ(s.name, QString::fromUtf8("한국 \"FM\"\t\\ 🎵 \xEF\xBF\xBDx /q"));
    EXPECT_EQ(s.url, QStringLiteral("http://127.0.0.1/a&b")); // url_resolved before url
    EXPECT_EQ(s.tags, QStringLiteral("한"));
    // A later key wins; an escaped key is the same key.
    EXPECT_EQ(s.state, QStringLiteral("Seoul"));
    // Numbers as numbers or text; a fraction is no count.
    EXPECT_EQ(s.bitrate, 96);
    EXPECT_EQ(s.clickCount, 12);
    EXPECT_EQ(s.votes, -150);
}

TEST(DirectoryAnswer, StationsThatCannotPlayAreLeftOut) {
    const auto stations = Read(R"([
        {"name":"checked","url":"http://127.0.0.1/1","lastcheckok":1},
        {"name":"broken","url":"http://127.0.0.1/2","lastcheckok":0},
        {"name":"broken as text","url":"http://127.0.0.1/3","lastcheckok":"0"},
        {"name":"checked as true","url":"http://127.0.0.1/4","lastcheckok":true},
        {"name":"unknown","url":"http://127.0.0.1/5","lastcheckok":null},
        {"name":"never checked","url":"http://127.0.0.1/6"},
        {"name":"no address","url":"  "},
        {"name":"","url":"http://127.0.0.1/7"},
        {"name":{"a":1},"url":"http://127.0.0.1/8"},
        "a string", 7, null, [], {}
    ])");
    QStringList names;
    for (const auto& s : stations)
        names << s.name;
    EXPECT_EQ(names, (QStringList{"checked", "checked as true", "never checked"}));
    EXPECT_TRUE(Read("[]").empty());
    EXPECT_TRUE(Read("[1e308, -0, 0.5e-300]").empty());
    EXPECT_TRUE(Read(" [ \n ] ").empty());
}

TEST(DirectoryAnswer, AnythingButAWholeJsonArrayIsNoAnswer) {
    const QByteArray deep =
        QByteArray("[{\"a\":") + QByteArray(100, '[') + QByteArray(100, ']') + QByteArray("}]");
    for (const QByteArray& bad : {
             QByteArray(""),
             QByteArray("   "),
             QByteArray("<html><body>Service unavailable</body></html>"),
             QByteArray("{\"name\":\"x\",\"url\":\"http://127.0.0.1/\"}"),
             QByteArray("[{\"name\":\"x\",\"url\":\"http://127.0.0.1/\"}"), // cut off
             QByteArray("[{\"name\":\"x\",\"url\":\"http://127.0.0.1/"),    // inside a string
             QByteArray("[{\"name\":\"x\\u12\"}]"),                         // short escape
             QByteArray("[{\"name\":\"x\",}]"),
             QByteArray("[{\"name\":\"x\"},]"),
             QByteArray("[{\"name\" \"x\"}]"),
             QByteArray("[{name:\"x\"}]"),
             QByteArray("[{\"votes\":01}]"),
             QByteArray("[{\"votes\":.}]"),
             QByteArray("[{\"votes\":-}]"),
             QByteArray("[{\"votes\":1e}]"),
             QByteArray("[{\"votes\":+1}]"),
             QByteArray("[{\"votes\":1e309}]"),   // beyond a double
             QByteArray("[{\"votes\":-1e-330}]"), // below one
             QByteArray("[") + QByteArray(400, '9') + QByteArray("]"),
             QByteArray("[{\"ok\":tru}]"),
             QByteArray("[{\"ok\":nul"),
             QByteArray("[] []"),
             QByteArray("[]x"),
             deep,
         })
        EXPECT_FALSE(ReadDirectoryAnswer(bad).has_value()) << bad.constData();
}

} // namespace
