#include "catalogue/CatalogueLoader.h"

#include "app/AtoiText.h"
#include "app/LegacyText.h"
#include "catalogue/Base64Decoder.h"

#include <algorithm>

namespace {

ChannelRecord ReadRecord(const CatalogueIni& ini, const QByteArray& section,
                         const QString* decodedInfo) {
    static const char* const kKeys[ChannelRecord::FieldCount] = {
        "NUM", "NAME", "INFO", "CONNECT", "URL", "WEBSITE", "WEBURL"};
    QByteArrayView values[ChannelRecord::FieldCount];
    ini.ValuesOf(section, kKeys, ChannelRecord::FieldCount, values); // one section lookup
    ChannelRecord record;
    for (int field = 0; field < ChannelRecord::FieldCount; ++field) {
        if (field == ChannelRecord::Info && decodedInfo) {
            record.fields[ChannelRecord::Info] = *decodedInfo;
            continue;
        }
        record.fields[static_cast<size_t>(field)] = DecodeCatalogueField(values[field]);
    }
    return record;
}

QByteArray NumberedSection(const QByteArray& family, int i) {
    return family + QByteArray::number(i);
}

// COUNT as atoi reads it, but never more than the file has sections: a garbled
// COUNT of a few billion must not turn into billions of empty rows.
int EntryCount(const CatalogueIni& ini, const QByteArray& family) {
    const int count = AtoiText(ini.Value(family, "COUNT"));
    return std::min(count, ini.SectionCount());
}

} // namespace

QString DecodeCatalogueField(QByteArrayView value) {
    return LegacyText::Decode(Base64Decoder::DecodeText(value));
}

std::vector<ChannelRecord> LoadRegionalGroup(const CatalogueIni& ini, const QString& group,
                                             const QString& region) {
    std::vector<ChannelRecord> records;
    const QByteArray family = group.toUtf8();
    const int count = EntryCount(ini, family);
    const bool unfiltered = group == QStringLiteral("KBS") || group == QStringLiteral("ETC");
    for (int i = 1; i <= count; ++i) {
        const QByteArray section = NumberedSection(family, i);
        const QString info = DecodeCatalogueField(ini.ValueView(section, "INFO"));
        if (!unfiltered && !info.contains(region, Qt::CaseSensitive))
            continue;
        records.push_back(ReadRecord(ini, section, &info));
    }
    if (records.empty())
        records.push_back(ReadRecord(ini, family, nullptr)); // the group's fallback entry
    return records;
}

std::vector<ChannelRecord> LoadRegionalGroup(const QString& path, const QString& group,
                                             const QString& region) {
    return LoadRegionalGroup(CatalogueIni::Load(path), group, region);
}

std::vector<ChannelRecord> LoadCatalogueSection(const CatalogueIni& ini, const QString& family) {
    std::vector<ChannelRecord> records;
    const QByteArray name = family.toUtf8();
    const int count = EntryCount(ini, name);
    if (count > 0)
        records.reserve(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i) {
        const QByteArray section = NumberedSection(name, i);
        if (!ini.HasSection(section)) {
            // A missing entry still shows as a row of empty fields; skip the
            // decoding work for it.
            records.emplace_back();
            continue;
        }
        records.push_back(ReadRecord(ini, section, nullptr));
    }
    return records;
}

std::vector<ChannelRecord> LoadCatalogueSection(const QString& path, const QString& family) {
    return LoadCatalogueSection(CatalogueIni::Load(path), family);
}

CatalogueLayout LayoutOf(const QString& fileName) {
    const QString name = fileName.toLower();
    if (name == QStringLiteral("tv.ini"))
        return {{QStringLiteral("MBC"), QStringLiteral("KBS"), QStringLiteral("SBS"),
                 QStringLiteral("ETC")},
                true};
    if (name == QStringLiteral("radio.ini"))
        return {{QStringLiteral("MBC"), QStringLiteral("KBS"), QStringLiteral("SBS"),
                 QStringLiteral("FEBC"), QStringLiteral("PBC"), QStringLiteral("ETC")},
                true};
    if (name == QStringLiteral("world.ini"))
        return {{QStringLiteral("WORLD")}, false};
    if (name == QStringLiteral("game.ini"))
        return {{QStringLiteral("GAME")}, false};
    if (name == QStringLiteral("music.ini"))
        return {{QStringLiteral("MUSIC")}, false};
    return {};
}

std::vector<ChannelRecord> LoadCatalogueFile(const CatalogueIni& ini, const QString& fileName,
                                             const QString& region, CatalogueFamilyBlocks* blocks) {
    const CatalogueLayout layout = LayoutOf(fileName);
    std::vector<ChannelRecord> all;
    if (blocks)
        blocks->clear();
    for (const QString& family : layout.families) {
        std::vector<ChannelRecord> part = layout.regional ? LoadRegionalGroup(ini, family, region)
                                                          : LoadCatalogueSection(ini, family);
        if (blocks)
            blocks->push_back(CatalogueFamilyBlock{family, static_cast<int>(all.size()),
                                                   static_cast<int>(part.size())});
        all.insert(all.end(), std::make_move_iterator(part.begin()),
                   std::make_move_iterator(part.end()));
    }
    return all;
}

std::vector<ChannelRecord> LoadCatalogueFile(const QString& path, const QString& fileName,
                                             const QString& region, CatalogueFamilyBlocks* blocks) {
    return LoadCatalogueFile(CatalogueIni::Load(path), fileName, region, blocks);
}

bool CatalogueHoldsChannel(const CatalogueIni& ini, const QString& fileName) {
    if (ini.IsEmpty())
        return false;
    for (const QString& family : LayoutOf(fileName).families) {
        const QByteArray name = family.toUtf8();
        const int count = EntryCount(ini, name);
        for (int i = 1; i <= count; ++i) {
            if (ini.HasSection(NumberedSection(name, i)))
                return true;
        }
    }
    return false;
}

bool CatalogueHoldsChannel(const QString& path, const QString& fileName) {
    return CatalogueHoldsChannel(CatalogueIni::Load(path), fileName);
}

int CatalogueVersion(const CatalogueIni& ini) {
    return AtoiText(ini.Value("DB", "VER"));
}
