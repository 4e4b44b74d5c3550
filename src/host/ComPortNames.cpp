#include "host/ComPortNames.h"

#include <QFileInfo>

#include <array>

namespace {

struct DeviceFamily {
    const char *prefix;
    int firstComNumber;
};

constexpr int FamilySize = 32;

constexpr std::array<DeviceFamily, 3> Families = {{
    {"ttyS", 1},
    {"ttyUSB", 33},
    {"ttyACM", 65},
}};

// A whole number 0..maxValue written as plain digits, without sign, blanks or a
// leading zero (so each number has one spelling); -1 for anything else.
int parsePlainNumber(QStringView digits, int maxValue)
{
    if (digits.isEmpty() || digits.size() > 9 || (digits.size() > 1 && digits.front() == QLatin1Char('0')))
        return -1;
    int value = 0;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value <= maxValue ? value : -1;
}

// n of "<prefix><n>", n in 1..MaxComNumber; 0 for anything else.
int numberAfter(QLatin1String prefix, QStringView name)
{
    if (!name.startsWith(prefix))
        return 0;
    return qMax(0, parsePlainNumber(name.mid(prefix.size()), MaxComNumber));
}

} // namespace

int comNumber(QStringView comName)
{
    return numberAfter(QLatin1String("COM"), comName);
}

int comNumberFromLinkName(QStringView linkName)
{
    return numberAfter(QLatin1String("com"), linkName);
}

QString comLinkName(int number)
{
    return QStringLiteral("com%1").arg(number);
}

QString comNameForDevice(const QString &deviceName)
{
    const QString name = QFileInfo(deviceName).fileName();
    for (const DeviceFamily &family : Families) {
        const QLatin1String prefix(family.prefix);
        if (!name.startsWith(prefix))
            continue;
        const int index = parsePlainNumber(QStringView(name).mid(prefix.size()), FamilySize - 1);
        if (index < 0)
            return {};
        return QStringLiteral("COM%1").arg(family.firstComNumber + index);
    }
    return {};
}

QString deviceNamedByComName(const QString &comName, const QString &dosdevicesDir, const QString &devRoot)
{
    const int number = comNumber(comName);
    if (number == 0)
        return {};
    if (!dosdevicesDir.isEmpty()) {
        const QFileInfo link(dosdevicesDir + QLatin1Char('/') + comLinkName(number));
        if (link.isSymLink())
            return link.symLinkTarget();
    }
    const int family = (number - 1) / FamilySize;
    if (family >= int(Families.size()))
        return {};
    return devRoot + QLatin1Char('/') + QLatin1String(Families[family].prefix) + QString::number((number - 1) % FamilySize);
}

QString devicePathForComName(const QString &comName, const QString &dosdevicesDir, const QString &devRoot)
{
    const QString device = deviceNamedByComName(comName, dosdevicesDir, devRoot);
    // A link whose target is missing counts as no device: the override is never
    // bypassed for the default device.
    return !device.isEmpty() && QFileInfo::exists(device) ? device : QString();
}
