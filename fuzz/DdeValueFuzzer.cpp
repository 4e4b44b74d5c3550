// An azimuth server's item value as it comes over D-Bus: any string, taken here as
// UTF-16 so every code unit, unpaired surrogates included, can occur.
#include "FuzzCheck.h"

#include "sources/DdeValue.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString item = QString::fromUtf16(reinterpret_cast<const char16_t *>(data), qsizetype(size / 2));
    if (const std::optional<QString> value = cleanDdeValue(item)) {
        FUZZ_CHECK(!value->isEmpty());
        FUZZ_CHECK(!value->contains(QLatin1Char(' ')));
        FUZZ_CHECK(value->size() < item.size());
    }
    return 0;
}
