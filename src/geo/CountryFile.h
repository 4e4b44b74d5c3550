#pragma once

#include "geo/GeoPoint.h"

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The country file cty.dat (country-files.com, packaged by Debian's hamradio-files):
// one record per DXCC entity, "name: CQ: ITU: continent: lat: lon: UTC offset:
// prefix:" followed by its prefixes and "=" whole calls, separated by commas and
// ended by ";". Longitudes and UTC offsets in the file are west positive; here they
// are east positive like everything else in geo/.
struct CountryEntity {
    QString name;
    QString primaryPrefix; // without the "*" of entities counted only for WAE
    bool waeOnly = false;
};

// What a prefix or a whole call stands for, its own overrides applied:
// (CQ zone), [ITU zone], <lat/lon>, {continent}, ~UTC offset~.
struct CountryDetails {
    int entity = -1; // index into CountryFile::entities()
    int cqZone = 0;
    int ituZone = 0;
    QString continent;
    GeoPoint location;
    double utcOffset = 0; // hours east of UTC
};

struct CountryMatch {
    CountryDetails details;
    QString matched; // the prefix or whole call that matched
    bool wholeCall = false;
};

class CountryFile {
public:
    static QString defaultPath();

    struct Loaded;
    // Reads and parses the file; on failure the error says what went wrong and
    // where to get the file.
    static Loaded load(const QString &path);
    struct Parsed;
    static Parsed parse(QByteArrayView text);

    const QList<CountryEntity> &entities() const { return m_entities; }
    const CountryEntity &entityOf(const CountryMatch &match) const { return m_entities.at(match.details.entity); }

    enum class Refusal { None, Empty, NotACall, MaritimeMobile, NoMatch };
    struct Resolution {
        Refusal refusal = Refusal::None;
        CountryMatch match;
        bool ok() const { return refusal == Refusal::None; }
    };
    // As loggers do: the whole call among the "=" entries, then its longest prefix.
    // Portable calls: "/P", "/M", "/QRP" (and the like) are dropped; "/MM" and "/AM"
    // are in no entity; of "W1AW/KH6" and "KH6/W1AW" the shorter part is the prefix;
    // a lone digit ("W1AW/4") changes the call area.
    Resolution resolve(QStringView call) const;
    static QString describe(Refusal refusal, QStringView call);

private:
    std::optional<CountryMatch> exact(const QString &call) const;
    std::optional<CountryMatch> longestPrefix(QStringView text) const;

    QList<CountryEntity> m_entities;
    QHash<QString, CountryDetails> m_prefixes;
    QHash<QString, CountryDetails> m_calls;
    qsizetype m_longestPrefix = 0;
};

struct CountryFile::Parsed {
    std::optional<CountryFile> file;
    QString error; // with the line it was found on
    int line = 0;
};

struct CountryFile::Loaded {
    std::optional<CountryFile> file;
    QString error;
};
