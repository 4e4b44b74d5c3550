#include "app/ServiceProgram.h"

#include "process/StandardError.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <unistd.h>

int execServiceProgram(const QString &programFolder, int argc, char *argv[])
{
    const QString service = programFolder + QLatin1Char('/') + QLatin1String(ServiceProgramName);
    // An empty folder would make the path relative, that is the current directory's.
    if (!programFolder.startsWith(QLatin1Char('/'))) {
        writeStandardErrorLine(QStringLiteral("--headless: the folder of this program is unknown (is /proc mounted?), "
                                              "so %1 cannot be found beside it")
                                   .arg(QLatin1String(ServiceProgramName)));
        return EXIT_FAILURE;
    }
    QByteArray path = QFile::encodeName(service);
    std::vector<char *> arguments {path.data()};
    for (int i = 1; i < argc; ++i) {
        // A folder may be named like an option: the value of -s is passed as it is.
        if ((std::strcmp(argv[i], "-s") == 0 || std::strcmp(argv[i], "--settings-folder") == 0) && i + 1 < argc) {
            arguments.push_back(argv[i]);
            arguments.push_back(argv[++i]);
        } else if (std::strcmp(argv[i], "--headless") != 0) {
            arguments.push_back(argv[i]);
        }
    }
    arguments.push_back(nullptr);
    ::execv(path.constData(), arguments.data());
    const int error = errno;
    if (error == ENOENT) {
        writeStandardErrorLine(QStringLiteral("--headless runs the service program %1, which is missing; reinstall "
                                              "Orvantis, or copy %2 beside this program")
                                   .arg(service, QLatin1String(ServiceProgramName)));
    } else {
        writeStandardErrorLine(QStringLiteral("--headless runs the service program %1, which cannot be started: %2")
                                   .arg(service, QString::fromLocal8Bit(std::strerror(error))));
    }
    return EXIT_FAILURE;
}
