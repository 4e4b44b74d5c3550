#include "geo/CountryFile.h"

#include <QFile>

#include <cmath>

namespace {

constexpr const char *DebianPath = "/usr/share/hamradio-files/cty.dat";
constexpr int HeadingFields = 8;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::optional<int> wholeNumber(QByteArrayView text, int lowest, int highest)
{
    bool ok = false;
    const int value = text.trimmed().toByteArray().toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

std::optional<double> decimal(QByteArrayView text, double limit)
{
    bool ok = false;
    const double value = text.trimmed().toByteArray().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > limit)
        return std::nullopt;
    return value;
}

bool isContinent(QByteArrayView text)
{
    static const QByteArrayView known[] = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};
    for (QByteArrayView continent : known) {
        if (text == continent)
            return true;
    }
    return false;
}

bool isCallCharacter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'/';
}

// Reads the file's records from a byte position, counting lines for the errors.
class Reader {
public:
    explicit Reader(QByteArrayView text) : m_text(text) {}

    bool atEnd()
    {
        while (m_at < m_text.size() && isBlank(m_text.at(m_at)))
            step();
        return m_at >= m_text.size();
    }
    int line() const { return m_line; }

    // The text up to `stop`, which is passed; nothing when `forbidden` or the
    // end comes first.
    std::optional<QByteArrayView> until(char stop, char forbidden)
    {
        const qsizetype start = m_at;
        while (m_at < m_text.size()) {
            const char c = m_text.at(m_at);
            if (c == stop) {
                const QByteArrayView field = m_text.sliced(start, m_at - start);
                step();
                return field;
            }
            if (c == forbidden)
                return std::nullopt;
            step();
        }
        return std::nullopt;
    }

private:
    void step()
    {
        if (m_text.at(m_at) == '\n')
            ++m_line;
        ++m_at;
    }

    QByteArrayView m_text;
    qsizetype m_at = 0;
    int m_line = 1;
};

struct Alias {
    QString call;
    bool wholeCall = false;
    CountryDetails details;
};

// One entry of a record's list: "=" for a whole call, then the call, then its
// overrides in any order. The file's west-positive longitudes and offsets are
// turned round here, the overrides' too.
std::optional<Alias> parseAlias(QByteArrayView text, const CountryDetails &heading)
{
    Alias alias;
    alias.details = heading;
    qsizetype i = 0;
    if (text.startsWith('=')) {
        alias.wholeCall = true;
        ++i;
    }
    while (i < text.size() && isCallCharacter(QChar::fromLatin1(text.at(i)).toUpper().unicode()))
        alias.call.append(QChar::fromLatin1(text.at(i++)).toUpper());
    if (alias.call.isEmpty())
        return std::nullopt;
    while (i < text.size()) {
        const char open = text.at(i);
        const char close = open == '(' ? ')' : open == '[' ? ']' : open == '<' ? '>' : open == '{' ? '}'
                         : open == '~' ? '~' : 0;
        if (close == 0)
            return std::nullopt;
        const qsizetype end = text.indexOf(close, i + 1);
        if (end < 0)
            return std::nullopt;
        const QByteArrayView inside = text.sliced(i + 1, end - i - 1);
        i = end + 1;
        switch (open) {
        case '(': {
            const auto zone = wholeNumber(inside, 1, 40);
            if (!zone)
                return std::nullopt;
            alias.details.cqZone = *zone;
            break;
        }
        case '[': {
            const auto zone = wholeNumber(inside, 1, 90);
            if (!zone)
                return std::nullopt;
            alias.details.ituZone = *zone;
            break;
        }
        case '<': {
            const qsizetype slash = inside.indexOf('/');
            if (slash < 0)
                return std::nullopt;
            const auto latitude = decimal(inside.first(slash), 90);
            const auto longitude = decimal(inside.sliced(slash + 1), 180);
            if (!latitude || !longitude)
                return std::nullopt;
            alias.details.location = {*latitude, -*longitude};
            break;
        }
        case '{':
            if (!isContinent(inside))
                return std::nullopt;
            alias.details.continent = QString::fromLatin1(inside);
            break;
        default: {
            const auto offset = decimal(inside, 24);
            if (!offset)
                return std::nullopt;
            alias.details.utcOffset = -*offset;
            break;
        }
        }
    }
    return alias;
}

// The part that names a prefix in a portable call is the shorter one; a lone digit
// only moves the home call to another call area of its country.
QString prefixPartOf(const QStringList &parts)
{
    const QString &first = parts.at(0);
    const QString &second = parts.at(1);
    const auto areaChanged = [](const QString &call, QChar digit) -> QString {
        QString moved = call;
        qsizetype i = 0;
        while (i < moved.size() && !moved.at(i).isDigit())
            ++i;
        if (i == moved.size())
            return call + digit;
        moved[i++] = digit;
        while (i < moved.size() && moved.at(i).isDigit())
            moved.remove(i, 1);
        return moved;
    };
    if (second.size() == 1 && second.at(0).isDigit())
        return areaChanged(first, second.at(0));
    if (first.size() == 1 && first.at(0).isDigit())
        return areaChanged(second, first.at(0));
    return second.size() < first.size() ? second : first;
}

} // namespace

QString CountryFile::defaultPath()
{
    return QString::fromLatin1(DebianPath);
}

CountryFile::Loaded CountryFile::load(const QString &path)
{
    Loaded loaded;
    const QString whereToGetIt =
        QStringLiteral("Install Debian's hamradio-files package (sudo apt install hamradio-files), which puts it "
                       "in %1, or take cty.dat from country-files.com.")
            .arg(defaultPath());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        loaded.error = QStringLiteral("The country file %1 cannot be read (%2). %3")
                           .arg(path, file.errorString(), whereToGetIt);
        return loaded;
    }
    // The packaged file is some 250 KB; anything far larger is not a country file.
    constexpr qint64 Limit = 16 * 1024 * 1024;
    const QByteArray text = file.read(Limit + 1);
    if (file.error() != QFileDevice::NoError || text.size() > Limit) {
        loaded.error = QStringLiteral("The country file %1 cannot be read (%2). %3")
                           .arg(path, text.size() > Limit ? QStringLiteral("too large") : file.errorString(),
                                whereToGetIt);
        return loaded;
    }
    Parsed parsed = parse(text);
    if (!parsed.file) {
        loaded.error = QStringLiteral("The country file %1 is damaged at line %2: %3. %4")
                           .arg(path, QString::number(parsed.line), parsed.error, whereToGetIt);
        return loaded;
    }
    loaded.file = std::move(parsed.file);
    return loaded;
}

CountryFile::Parsed CountryFile::parse(QByteArrayView text)
{
    Parsed parsed;
    CountryFile file;
    Reader reader(text);
    const auto fail = [&parsed](int line, const char *why) {
        parsed.line = line;
        parsed.error = QString::fromLatin1(why);
        return parsed;
    };
    while (!reader.atEnd()) {
        const int line = reader.line();
        QByteArrayView fields[HeadingFields];
        for (QByteArrayView &field : fields) {
            const auto read = reader.until(':', ';');
            if (!read)
                return fail(line, "an entity's heading needs eight fields, each ended by ':'");
            field = read->trimmed();
        }
        CountryEntity entity;
        entity.name = QString::fromLatin1(fields[0]);
        QByteArrayView prefix = fields[7];
        if (prefix.startsWith('*')) {
            entity.waeOnly = true;
            prefix = prefix.sliced(1);
        }
        entity.primaryPrefix = QString::fromLatin1(prefix);
        CountryDetails heading;
        heading.entity = int(file.m_entities.size());
        const auto cq = wholeNumber(fields[1], 1, 40);
        const auto itu = wholeNumber(fields[2], 1, 90);
        const auto latitude = decimal(fields[4], 90);
        const auto longitude = decimal(fields[5], 180);
        const auto offset = decimal(fields[6], 24);
        if (entity.name.isEmpty() || entity.primaryPrefix.isEmpty())
            return fail(line, "an entity without a name or a prefix");
        if (!cq || !itu)
            return fail(line, "a CQ zone beyond 1-40 or an ITU zone beyond 1-90");
        if (!isContinent(fields[3]))
            return fail(line, "an unknown continent");
        if (!latitude || !longitude || !offset)
            return fail(line, "a latitude, longitude or UTC offset that is not a number in range");
        heading.cqZone = *cq;
        heading.ituZone = *itu;
        heading.continent = QString::fromLatin1(fields[3]);
        heading.location = {*latitude, -*longitude};
        heading.utcOffset = -*offset;

        reader.atEnd(); // to the list's first line
        const int listLine = reader.line();
        const auto list = reader.until(';', 0);
        if (!list)
            return fail(listLine, "an entity's list of prefixes is not ended by ';'");
        int entryLine = listLine;
        for (QByteArrayView entry : list->toByteArray().split(',')) {
            qsizetype lead = 0;
            while (lead < entry.size() && isBlank(entry.at(lead)))
                ++lead;
            const int lineOfEntry = entryLine + int(entry.first(lead).count('\n'));
            entryLine += int(entry.count('\n'));
            entry = entry.trimmed();
            if (entry.isEmpty())
                continue;
            const auto alias = parseAlias(entry, heading);
            if (!alias)
                return fail(lineOfEntry, "a prefix or call that cannot be read");
            // A call or prefix listed twice keeps its first entity.
            QHash<QString, CountryDetails> &table = alias->wholeCall ? file.m_calls : file.m_prefixes;
            if (!table.contains(alias->call))
                table.insert(alias->call, alias->details);
            if (!alias->wholeCall)
                file.m_longestPrefix = std::max(file.m_longestPrefix, alias->call.size());
        }
        file.m_entities.append(entity);
    }
    if (file.m_entities.isEmpty())
        return fail(reader.line(), "no entity");
    parsed.file = std::move(file);
    return parsed;
}

std::optional<CountryMatch> CountryFile::exact(const QString &call) const
{
    const auto found = m_calls.constFind(call);
    if (found == m_calls.cend())
        return std::nullopt;
    return CountryMatch {*found, call, true};
}

std::optional<CountryMatch> CountryFile::longestPrefix(QStringView text) const
{
    for (qsizetype length = std::min(text.size(), m_longestPrefix); length > 0; --length) {
        const QString prefix = text.first(length).toString();
        const auto found = m_prefixes.constFind(prefix);
        if (found != m_prefixes.cend())
            return CountryMatch {*found, prefix, false};
    }
    return std::nullopt;
}

CountryFile::Resolution CountryFile::resolve(QStringView text) const
{
    Resolution resolution;
    const QString call = text.trimmed().toString().toUpper();
    if (call.isEmpty()) {
        resolution.refusal = Refusal::Empty;
        return resolution;
    }
    for (QChar c : call) {
        if (!isCallCharacter(c.unicode())) {
            resolution.refusal = Refusal::NotACall;
            return resolution;
        }
    }
    if (const auto whole = exact(call)) {
        resolution.match = *whole;
        return resolution;
    }
    QStringList parts;
    for (const QString &part : call.split(u'/', Qt::SkipEmptyParts)) {
        // Operating on a ship or an aircraft: no entity, wherever the call is from.
        if (part == u"MM" || part == u"AM") {
            resolution.refusal = Refusal::MaritimeMobile;
            return resolution;
        }
        // Portable, mobile and low power say nothing of the place.
        if (part == u"P" || part == u"M" || part == u"QRP" || part == u"QRPP")
            continue;
        parts.append(part);
    }
    if (parts.isEmpty()) {
        resolution.refusal = Refusal::NotACall;
        return resolution;
    }
    std::optional<CountryMatch> match = exact(parts.join(u'/'));
    if (!match)
        match = longestPrefix(parts.size() == 1 ? parts.at(0) : prefixPartOf(parts));
    if (!match) {
        resolution.refusal = Refusal::NoMatch;
        return resolution;
    }
    resolution.match = *match;
    return resolution;
}

QString CountryFile::describe(Refusal refusal, QStringView call)
{
    switch (refusal) {
    case Refusal::None:
        return {};
    case Refusal::Empty:
        return QStringLiteral("Type a callsign or a prefix.");
    case Refusal::NotACall:
        return QStringLiteral("%1 is not a callsign: letters, digits and '/' only.").arg(call);
    case Refusal::MaritimeMobile:
        return QStringLiteral("%1 is maritime or aeronautical mobile, in no country.").arg(call);
    case Refusal::NoMatch:
        return QStringLiteral("%1 matches no prefix of the country file.").arg(call);
    }
    return {};
}
