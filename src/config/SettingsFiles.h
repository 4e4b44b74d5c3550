#pragma once

#include <QByteArray>
#include <QString>

// Where Orvantis.ini lives and how it is read and replaced on disk.
class SettingsFiles {
public:
    // Tests whether Orvantis.ini exists, once, now.
    explicit SettingsFiles(const QString &folder);

    QString folder() const { return m_folder; }
    QString iniPath() const;
    QString temporaryPath() const;
    QString dosdevicesPath() const;
    bool existedAtStart() const { return m_existedAtStart; }

    // The whole file. On failure *errorText holds the message to show.
    bool read(QByteArray *bytes, QString *errorText) const;

    // Writes Orvantis.~in, flushes it to disk, makes it read-only and renames
    // it over Orvantis.ini in one step, so there is never a moment without a
    // settings file. On failure Orvantis.ini is untouched and no Orvantis.~in
    // is left behind.
    bool replace(const QByteArray &bytes) const;

    static QString createErrorText(bool french);

private:
    QString m_folder;
    bool m_existedAtStart = false;
};
