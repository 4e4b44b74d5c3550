#include "host/ComPortPin.h"

#include "host/ComPortNames.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool fail(QString *error, int code)
{
    *error = QString::fromLocal8Bit(std::strerror(code));
    return false;
}

} // namespace

bool pinComName(const QString &dosdevicesDir, int number, const QString &target, QString *error)
{
    const QByteArray folder = QFile::encodeName(dosdevicesDir);
    const QByteArray link = QFile::encodeName(dosdevicesDir + QLatin1Char('/') + comLinkName(number));
    // Hidden, so the port list never takes it for a link of its own.
    const QByteArray fresh =
        QFile::encodeName(dosdevicesDir + QStringLiteral("/.") + comLinkName(number) + QStringLiteral(".new"));

    if (::mkdir(folder.constData(), 0777) != 0 && errno != EEXIST)
        return fail(error, errno);
    ::unlink(fresh.constData());
    if (::symlink(QFile::encodeName(target).constData(), fresh.constData()) != 0)
        return fail(error, errno);
    if (::rename(fresh.constData(), link.constData()) != 0) {
        const int code = errno;
        ::unlink(fresh.constData());
        return fail(error, code);
    }
    return true;
}
