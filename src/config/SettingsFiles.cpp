#include "config/SettingsFiles.h"

#include "config/ConfigurationReader.h"
#include "config/SettingsFileTexts.h"
#include "config/Translation.h"

#include <QFile>
#include <QFileInfo>

#include <QDeadlineTimer>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Another copy holds the lock only while it writes and renames a few kilobytes.
constexpr int LockWaitMs = 2000;

// An advisory lock on the folder that holds the settings file, held while the
// temporary file is written and renamed. The folder, not the file: the file is
// replaced by rename, so a lock on it would stay on the old version.
class FolderLock {
public:
    explicit FolderLock(const QString &folder)
        : m_fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        const QDeadlineTimer deadline(LockWaitMs);
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            // A file system without locks cannot be shared safely anyway; saving
            // alone must still work there.
            if (errno != EWOULDBLOCK && errno != EINTR)
                return;
            if (deadline.hasExpired()) {
                m_refused = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // True only when another holder kept the lock past the wait.
    bool refused() const { return m_refused; }

private:
    int m_fd = -1;
    bool m_refused = false;
};

// Writes everything, riding over short writes and interrupted calls.
bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

bool makeReadOnly(int fd)
{
    struct stat status {};
    return ::fstat(fd, &status) == 0 && ::fchmod(fd, status.st_mode & 07555) == 0;
}

// Makes the rename itself durable; a folder that refuses fsync changes nothing
// about the result, so its failure is not one.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::optional<SettingsFileTexts::OddFileKind> oddFileKind(mode_t mode)
{
    using SettingsFileTexts::OddFileKind;
    if (S_ISREG(mode))
        return std::nullopt;
    if (S_ISFIFO(mode))
        return OddFileKind::Fifo;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return OddFileKind::Device;
    if (S_ISSOCK(mode))
        return OddFileKind::Socket;
    return OddFileKind::Folder; // the last kind stat() reports
}

// Following the path meets the same link again (or more links than the kernel
// follows): there is no file behind it, and replacing its last link would break
// someone's arrangement of links without a word.
bool linkLoops(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) != 0 && errno == ELOOP;
}

} // namespace

SettingsFiles::SettingsFiles(const QString &folder)
    : m_folder(folder), m_existedAtStart(QFileInfo::exists(iniPath()) || linkLoops(iniPath()))
{
}

QString SettingsFiles::iniPath() const
{
    return m_folder + QStringLiteral("/Orvantis.ini");
}

QString SettingsFiles::temporaryPath() const
{
    return m_folder + QStringLiteral("/Orvantis.~in");
}

QString SettingsFiles::dosdevicesPath() const
{
    return m_folder + QStringLiteral("/dosdevices");
}

bool SettingsFiles::read(QByteArray *bytes, QString *errorText)
{
    m_leftAlone = LeftAlone::No;
    // Looked at, never opened: opening a FIFO waits for a writer that may never
    // come, and opening a device may act on it.
    struct stat status {};
    if (::stat(QFile::encodeName(iniPath()).constData(), &status) == 0) {
        if (const auto kind = oddFileKind(status.st_mode))
            return refuse(LeftAlone::NotRegular, SettingsFileTexts::notRegularText(iniPath(), *kind), errorText);
    } else if (errno == ELOOP) {
        return refuse(LeftAlone::LinkLoop, SettingsFileTexts::linkLoopText(iniPath()), errorText);
    }

    QFile file(iniPath());
    const bool opened = file.open(QIODevice::ReadOnly);
    if (opened)
        *bytes = file.readAll();
    if (!opened || file.error() != QFileDevice::NoError) {
        return refuse(LeftAlone::Unreadable,
                      QStringLiteral("Impossible d'ouvrir le fichier \"%1\". %2").arg(iniPath(), file.errorString()),
                      errorText);
    }
    if (!holdsSettings(*bytes))
        return refuse(LeftAlone::Unrecognised, SettingsFileTexts::unrecognisedText(iniPath()), errorText);
    return true;
}

bool SettingsFiles::refuse(LeftAlone why, const QString &text, QString *errorText)
{
    m_leftAlone = why;
    *errorText = text;
    return false;
}

QString SettingsFiles::replacedPath() const
{
    const QFileInfo info(iniPath());
    if (!info.isSymLink())
        return iniPath();
    // The whole chain when the target exists; a dangling link names the file to create.
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.symLinkTarget() : resolved;
}

bool SettingsFiles::replace(const QByteArray &bytes) const
{
    if (linkLoops(iniPath()))
        return false;
    const QFileInfo target(replacedPath());
    const QString folder = target.absolutePath();
    // Orvantis.~in for Orvantis.ini; beside a link's target, named after it.
    const QByteArray temporary =
        QFile::encodeName(folder + QLatin1Char('/') + target.completeBaseName() + QStringLiteral(".~in"));

    const FolderLock lock(folder);
    if (lock.refused())
        return false;
    // With the lock held, a temporary file already there is nobody's: a run that
    // ended while saving left it. Read-only or not, removing it needs only the
    // folder to be writable.
    if (::unlink(temporary.constData()) != 0 && errno != ENOENT)
        return false;

    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0 && makeReadOnly(fd);
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) == 0;
    if (!ok) {
        ::unlink(temporary.constData());
        return false;
    }
    syncFolder(folder);
    return true;
}

QString SettingsFiles::createErrorText(const Language &language)
{
    return Translation::text(language, "SettingsFiles", QT_TRANSLATE_NOOP("SettingsFiles", "Can't create Orvantis.ini"));
}

QString SettingsFiles::leftUnreadText(const Language &language) const
{
    using SettingsFileTexts::LeftAloneReason;
    const LeftAloneReason reason = m_leftAlone == LeftAlone::NotRegular ? LeftAloneReason::NotRegular
        : m_leftAlone == LeftAlone::Unrecognised                        ? LeftAloneReason::Unrecognised
        : m_leftAlone == LeftAlone::LinkLoop                            ? LeftAloneReason::LinkLoop
                                                                        : LeftAloneReason::Unreadable;
    return SettingsFileTexts::leftAloneText(language, iniPath(), reason);
}
