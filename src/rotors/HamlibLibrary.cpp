#include "rotors/HamlibLibrary.h"

#include "process/LogCategories.h"
#include "process/StandardError.h"
#include "rotors/HamlibBackend.h"

#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <cstring>
#include <mutex>

#include <dlfcn.h>
#include <elf.h>
#include <unistd.h>

namespace {

struct Loaded {
    HamlibBackend *backend = nullptr;
    QString error;
};

// Absolute places only, fixed when the program was built: the installed plugin
// folder (of the configured prefix, then of the Debian package's /usr), then the
// build tree. A folder beside the program could be anyone's, so none is searched.
QStringList candidates()
{
    return {QStringLiteral(ORVANTIS_HAMLIB_INSTALLED), QStringLiteral(ORVANTIS_HAMLIB_PACKAGED),
            QStringLiteral(ORVANTIS_HAMLIB_BUILT)};
}

// What is wrong with `path` as a module for this program, or nothing. The loader
// maps the file as its headers say, and a file shorter than they say kills the
// program with SIGBUS at the first touch, so that is checked before it is opened.
QString damage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray bytes = file.readAll();
    if (bytes.size() < qsizetype(sizeof(Elf64_Ehdr)) || std::memcmp(bytes.constData(), ELFMAG, SELFMAG) != 0)
        return QStringLiteral("not a shared library");
    Elf64_Ehdr header;
    std::memcpy(&header, bytes.constData(), sizeof header);
    Elf64_Ehdr own {};
    QFile self(QStringLiteral("/proc/self/exe"));
    if (!self.open(QIODevice::ReadOnly) || self.read(reinterpret_cast<char *>(&own), sizeof own) != sizeof own)
        return QStringLiteral("this program's own header cannot be read");
    if (header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_CLASS] != own.e_ident[EI_CLASS]
        || header.e_machine != own.e_machine || header.e_type != ET_DYN)
        return QStringLiteral("built for another machine");
    const auto within = [&bytes](quint64 offset, quint64 length) {
        return offset <= quint64(bytes.size()) && length <= quint64(bytes.size()) - offset;
    };
    if (header.e_phentsize != sizeof(Elf64_Phdr) || !within(header.e_phoff, quint64(header.e_phnum) * sizeof(Elf64_Phdr))
        || !within(header.e_shoff, quint64(header.e_shnum) * header.e_shentsize))
        return QStringLiteral("truncated");
    for (int i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment;
        std::memcpy(&segment, bytes.constData() + header.e_phoff + i * sizeof segment, sizeof segment);
        if (segment.p_type == PT_LOAD && !within(segment.p_offset, segment.p_filesz))
            return QStringLiteral("truncated");
    }
    return {};
}

// A module that is there but unusable is not a missing library the user could
// install: carrying on would crash or run a foreign file, so the program stops.
[[noreturn]] void refuseDamaged(const QString &path, const QString &why)
{
    writeStandardErrorLine(
        QStringLiteral("Hamlib's module %1 is damaged (%2); reinstall Orvantis").arg(path, why));
    ::_exit(EXIT_FAILURE);
}

const Loaded &loaded()
{
    static Loaded result;
    static std::once_flag once;
    std::call_once(once, [] {
        QString path;
        for (const QString &candidate : candidates()) {
            if (QFileInfo::exists(candidate)) {
                path = candidate;
                break;
            }
        }
        if (path.isEmpty()) {
            result.error = QStringLiteral("%1 not found").arg(candidates().join(QStringLiteral(", ")));
            return;
        }
        if (const QString why = damage(path); !why.isEmpty())
            refuseDamaged(path, why);
        // Every call bound now: a Hamlib library that does not fit is told at once.
        void *module = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            // Hamlib's library itself missing or too old is something the user can mend.
            result.error = QString::fromLocal8Bit(::dlerror());
            return;
        }
        const auto version = reinterpret_cast<HamlibVersionEntry>(::dlsym(module, ORVANTIS_HAMLIB_VERSION_ENTRY));
        const auto entry = reinterpret_cast<HamlibBackendEntry>(::dlsym(module, ORVANTIS_HAMLIB_ENTRY));
        if (!version || !entry)
            refuseDamaged(path, QStringLiteral("not Orvantis's Hamlib module"));
        if (std::strcmp(version(), ORVANTIS_VERSION) != 0)
            refuseDamaged(path, QStringLiteral("made for Orvantis %1, not %2")
                                    .arg(QString::fromLatin1(version()), QStringLiteral(ORVANTIS_VERSION)));
        result.backend = entry();
        result.backend->routeMessages([](const QByteArray &line) { qCDebug(hamlibLog, "%s", line.constData()); },
                                      hamlibLog().isDebugEnabled());
    });
    return result;
}

} // namespace

HamlibBackend *HamlibLibrary::backend()
{
    return loaded().backend;
}

QString HamlibLibrary::loadError()
{
    return loaded().error;
}
