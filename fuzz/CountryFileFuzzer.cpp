// A country file (cty.dat) of any content, as a user may point the program at a
// damaged or foreign one: it is read or refused with a line number, and every call
// resolved in it lands on one of its entities at a valid place.
#include "FuzzCheck.h"

#include "geo/CountryFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char *>(data), qsizetype(size));
    const CountryFile::Parsed parsed = CountryFile::parse(text);
    if (!parsed.file) {
        FUZZ_CHECK(!parsed.error.isEmpty());
        FUZZ_CHECK(parsed.line >= 1 && parsed.line <= text.count('\n') + 1);
        return 0;
    }
    const CountryFile &file = *parsed.file;
    FUZZ_CHECK(!file.entities().isEmpty());
    // Calls made of the file's own words, so the lookups find something.
    QStringList calls {QStringLiteral("W1AW"), QStringLiteral("KH6/W1AW"), QStringLiteral("W1AW/4"),
                       QStringLiteral("G4ABC/P")};
    for (const QByteArray &word : text.toByteArray().split(','))
        calls.append(QString::fromLatin1(word.trimmed().left(16)));
    for (const QString &call : calls) {
        const CountryFile::Resolution resolution = file.resolve(call);
        if (!resolution.ok()) {
            FUZZ_CHECK(!CountryFile::describe(resolution.refusal, call).isEmpty());
            continue;
        }
        const CountryDetails &details = resolution.match.details;
        FUZZ_CHECK(details.entity >= 0 && details.entity < file.entities().size());
        FUZZ_CHECK(isValidPoint(details.location));
        FUZZ_CHECK(details.cqZone >= 1 && details.cqZone <= 40);
        FUZZ_CHECK(details.ituZone >= 1 && details.ituZone <= 90);
        FUZZ_CHECK(!resolution.match.matched.isEmpty());
        FUZZ_CHECK(!file.entityOf(resolution.match).name.isEmpty());
    }
    return 0;
}
