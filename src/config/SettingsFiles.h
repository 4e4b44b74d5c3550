#pragma once

#include "config/Language.h"

#include <QByteArray>
#include <QString>

// Where Orvantis.ini lives and how it is read and replaced on disk.
class SettingsFiles {
public:
    // Tests whether Orvantis.ini exists, once, now. A symbolic link that loops
    // counts: it is there, and must be told about rather than replaced.
    explicit SettingsFiles(const QString &folder);

    QString folder() const { return m_folder; }
    QString iniPath() const;
    QString temporaryPath() const;
    QString dosdevicesPath() const;
    bool existedAtStart() const { return m_existedAtStart; }

    // The whole file. On failure *errorText holds the message to show, and
    // readFailed() says so from then on. Fails without opening anything when
    // the path names no regular file (a FIFO would block the open) or is a
    // symbolic link that loops, and fails after reading a file that is not blank
    // but holds no known key.
    bool read(QByteArray *bytes, QString *errorText);
    // A file that exists but could not be read, or could not be understood, must
    // not be overwritten with defaults: what it holds was never seen.
    bool readFailed() const { return m_leftAlone != LeftAlone::No; }

    // Writes Orvantis.~in, flushes it to disk, makes it read-only and renames
    // it over Orvantis.ini in one step, so there is never a moment without a
    // settings file. A symbolic link Orvantis.ini stays a link: its target is
    // replaced, through a temporary file beside the target; a link that loops
    // has no target, and is left as it is (a failure). Copies of the
    // program in one folder take turns (an advisory lock on the folder), so
    // each sees its own temporary file and the last to save wins. On failure
    // Orvantis.ini is untouched and no temporary file of ours is left behind.
    bool replace(const QByteArray &bytes) const;

    static QString createErrorText(const Language &language);
    // Why the run's settings were not saved over a file that read() refused.
    QString leftUnreadText(const Language &language) const;

private:
    enum class LeftAlone { No, Unreadable, NotRegular, Unrecognised, LinkLoop };

    // The file that replace() writes: Orvantis.ini, or what it links to.
    QString replacedPath() const;
    bool refuse(LeftAlone why, const QString &text, QString *errorText);

    QString m_folder;
    bool m_existedAtStart = false;
    LeftAlone m_leftAlone = LeftAlone::No;
};
