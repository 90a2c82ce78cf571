// The settings file reader and writer on arbitrary files and names: nothing
// crashes, saving a file changes none of its values, a value set is the value
// read (also after a save and a fresh read), one value set or removed leaves
// the others alone, and any text survives the quoting of the file.
//
// Input: file bytes, section, name, value, second name (split at 0xFF).

#include "FuzzCheck.h"

#include "app/IniDocument.h"

namespace {

bool StorableSection(const QString& section) {
    return !section.contains(QLatin1Char('\n')) && !section.contains(QLatin1Char('\r')) &&
           !section.contains(QLatin1Char(']'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const QByteArray file = in.Piece();
    const QString section = in.Text();
    const QString name = in.Text();
    const QString value = in.Text();
    const QString other = in.Text();

    FUZZ_CHECK(IniDocument::DecodeValue(IniDocument::EncodeValue(value)) == value,
               "a value does not survive its quoting");

    IniDocument doc = IniDocument::Parse(file);
    const QByteArray saved = doc.Serialize();
    const IniDocument reread = IniDocument::Parse(saved);
    FUZZ_CHECK(reread.Serialize() == saved, "saving a saved file changes it");
    FUZZ_CHECK(reread.Value(section, name) == doc.Value(section, name),
               "saving the file changes a value");
    FUZZ_CHECK(reread.Value(section, other) == doc.Value(section, other),
               "saving the file changes a value");

    const bool sameName = name.compare(other, Qt::CaseInsensitive) == 0;
    const std::optional<QString> otherBefore = doc.Value(section, other);
    const bool storable = IniDocument::IsStorableName(name) && StorableSection(section);
    FUZZ_CHECK(doc.SetValue(section, name, value) == storable,
               "SetValue refuses a storable name or takes an unstorable one");
    if (!storable)
        return 0;
    FUZZ_CHECK(doc.Value(section, name) == value, "the value set is not the value read");
    if (!sameName)
        FUZZ_CHECK(doc.Value(section, other) == otherBefore, "setting a value changed another");

    const IniDocument written = IniDocument::Parse(doc.Serialize());
    FUZZ_CHECK(written.Value(section, name) == value, "a value set is lost on saving");
    if (!sameName)
        FUZZ_CHECK(written.Value(section, other) == otherBefore, "saving lost another value");

    FUZZ_CHECK(doc.RemoveValue(section, name), "a value just set cannot be removed");
    FUZZ_CHECK(!doc.Value(section, name).has_value(), "a removed value still reads");
    FUZZ_CHECK(!IniDocument::Parse(doc.Serialize()).Value(section, name).has_value(),
               "a removed value comes back after saving");
    if (!sameName)
        FUZZ_CHECK(doc.Value(section, other) == otherBefore, "removing a value changed another");
    return 0;
}
