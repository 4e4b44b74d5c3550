#include "config/SettingsFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

} // namespace

SettingsFiles::SettingsFiles(const QString &folder)
    : m_folder(folder), m_existedAtStart(QFileInfo::exists(iniPath()))
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

bool SettingsFiles::read(QByteArray *bytes, QString *errorText) const
{
    QFile file(iniPath());
    bool ok = file.open(QIODevice::ReadOnly);
    if (ok) {
        *bytes = file.readAll();
        ok = file.error() == QFileDevice::NoError;
    }
    if (!ok)
        *errorText = QStringLiteral("Impossible d'ouvrir le fichier \"%1\". %2").arg(iniPath(), file.errorString());
    return ok;
}

bool SettingsFiles::replace(const QByteArray &bytes) const
{
    const QByteArray temporary = QFile::encodeName(temporaryPath());
    // A stale file from an earlier run goes first, read-only or not: removing
    // it needs only the folder to be writable.
    if (::unlink(temporary.constData()) != 0 && errno != ENOENT)
        return false;

    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0 && makeReadOnly(fd);
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.constData(), QFile::encodeName(iniPath()).constData()) == 0;
    if (!ok) {
        ::unlink(temporary.constData());
        return false;
    }
    syncFolder(m_folder);
    return true;
}

QString SettingsFiles::createErrorText(bool french)
{
    return french ? QStringLiteral("Ne peut créer Orvantis.ini") : QStringLiteral("Can't create Orvantis.ini");
}
