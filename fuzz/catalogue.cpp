// The catalogue reader and loaders on arbitrary files: nothing crashes, no
// value read is longer than 259 bytes, a COUNT of any size never makes more
// rows than the file has sections, the loaders agree with the reader they
// are built on, and loading from the file gives what loading from memory
// gives.
//
// Input: probe section, probe key (split at 0xFF), then the file.

#include "FuzzCheck.h"

#include "app/AtoiText.h"
#include "catalogue/CatalogueIni.h"
#include "catalogue/CatalogueLoader.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

const char* const kKeys[] = {"NUM",     "NAME",   "INFO",  "CONNECT", "URL",
                             "WEBSITE", "WEBURL", "COUNT", "VER"};

void CheckRecords(const std::vector<ChannelRecord>& records, size_t most) {
    FUZZ_CHECK(records.size() <= most, "more rows than the file has entries");
    for (const ChannelRecord& record : records) {
        for (const QString& field : record.fields) {
            // 259 Base64 bytes hold at most 192 bytes, each one character at most.
            FUZZ_CHECK(field.size() <= 192, "a field longer than its 259 bytes allow");
        }
    }
}

const QTemporaryDir& Folder() {
    static const QTemporaryDir dir;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const QByteArray probeSection = in.Piece();
    const QByteArray probeKey = in.Piece();
    const QByteArray file = in.Rest();

    const CatalogueIni ini = CatalogueIni::Parse(file);
    const auto sections = static_cast<size_t>(ini.SectionCount());
    FUZZ_CHECK(ini.ValueView(probeSection, probeKey).size() <= CatalogueIni::kValueBytes,
               "a value longer than 259 bytes");
    FUZZ_CHECK(ini.Value(probeSection, probeKey) ==
                   ini.Value(probeSection.toLower(), probeKey.toLower()),
               "names compare with regard to case");
    for (const char* key : kKeys) {
        for (const char* section : {"DB", "MBC", "MBC1", "KBS1", "WORLD", "WORLD1", "ETC2"})
            FUZZ_CHECK(ini.ValueView(section, key).size() <= CatalogueIni::kValueBytes,
                       "a value longer than 259 bytes");
    }
    FUZZ_CHECK(CatalogueVersion(ini) == AtoiText(ini.Value("DB", "VER")),
               "the version is not [DB] VER");

    for (const char* name : {"tv.ini", "radio.ini", "world.ini", "game.ini", "music.ini"}) {
        const QString fileName = QString::fromLatin1(name);
        const CatalogueLayout layout = LayoutOf(fileName);
        std::vector<ChannelRecord> fromMemory;
        for (const QString& family : layout.families) {
            std::vector<ChannelRecord> part;
            if (layout.regional) {
                part = LoadRegionalGroup(ini, family, QStringLiteral("서울"));
                CheckRecords(part, std::max<size_t>(sections, 1));
                FUZZ_CHECK(!part.empty(), "a regional group without even its fallback row");
                CheckRecords(LoadRegionalGroup(ini, family, QString()),
                             std::max<size_t>(sections, 1));
            } else {
                part = LoadCatalogueSection(ini, family);
                CheckRecords(part, sections);
            }
            fromMemory.insert(fromMemory.end(), part.begin(), part.end());
        }
        if (fileName == QLatin1String("tv.ini") || fileName == QLatin1String("world.ini")) {
            const QString path = Folder().filePath(fileName);
            QFile out(path);
            FUZZ_CHECK(out.open(QIODevice::WriteOnly | QIODevice::Truncate), "temporary file");
            out.write(file);
            out.close();
            FUZZ_CHECK(LoadCatalogueFile(path, fileName, QStringLiteral("서울")) == fromMemory,
                       "loading the file differs from loading its bytes");
        }
    }
    return 0;
}
