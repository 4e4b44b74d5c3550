// An Orvantis.ini edited by hand, damaged, or not one at all: read as the program
// reads it at start, then written and read again as at the next start.
#include "FuzzCheck.h"

#include "config/ConfigurationReader.h"
#include "config/ConfigurationWriter.h"

#include <cstddef>
#include <cstdint>

namespace {

// The window's side of reading: nothing to show here.
class NoWindow final : public LoadActions {
public:
    void applyLanguage(const Language &) override {}
    void pressAuto() override {}
    void chooseServer(AzimuthSource) override {}
    void setFavouriteCaption(int, const QString &) override {}
    void setWindowGeometry(WindowField, int) override {}
    void setChannelBaud(InterfaceKind, int) override {}
};

QByteArray readThenWrite(const QByteArray &bytes, bool lptUsable, LoadReport *report)
{
    Configuration config;
    NoWindow window;
    *report = LoadConfiguration(bytes, QStringLiteral("Orvantis.ini"), config, window, lptUsable, QLocale::c());
    return writeConfiguration(config, WriterInputs(), QLocale::c());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool lptUsable = data[0] & 1;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    holdsSettings(bytes);

    LoadReport first;
    const QByteArray written = readThenWrite(bytes, lptUsable, &first);
    FUZZ_CHECK(holdsSettings(written));
    // What Orvantis writes it reads back without a complaint and writes again the same:
    // a file is never worn down by being used.
    LoadReport second;
    const QByteArray rewritten = readThenWrite(written, lptUsable, &second);
    if (!second.conversionErrors.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(second.conversionErrors.first()));
    FUZZ_CHECK(second.conversionErrors.isEmpty());
    FUZZ_CHECK(rewritten == written);
    return 0;
}
