#include "rotors/SerialFailure.h"

#include "host/ComPortNames.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

SerialFailure::Kind classifyOpenFailure(QSerialPort::SerialPortError error, const QString &devicePath)
{
    using Kind = SerialFailure::Kind;
    const QByteArray path = QFile::encodeName(devicePath);
    struct stat info {};
    if (devicePath.isEmpty() || error == QSerialPort::DeviceNotFoundError || ::stat(path.constData(), &info) != 0)
        return Kind::Missing;
    if (!S_ISCHR(info.st_mode))
        return Kind::NotSerial;
    if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES)
        return Kind::Permission;
    switch (error) {
    case QSerialPort::PermissionError:
        // The user may open it, so the refusal is the port being taken (EBUSY,
        // or a lock file of another program).
        return Kind::Busy;
    case QSerialPort::UnknownError:
    case QSerialPort::UnsupportedOperationError:
        // A character device without terminal settings (ENOTTY and the like).
        return Kind::NotSerial;
    default:
        return Kind::Refused;
    }
}

namespace {

QString withoutFinalStop(QString text)
{
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString linkName(const SerialFailure &failure)
{
    return comLinkName(comNumber(failure.comName));
}

QString englishText(const SerialFailure &f)
{
    using Kind = SerialFailure::Kind;
    if (f.kind == Kind::NoPort)
        return QStringLiteral("%1 has no COM port.\nPick one under Init (Ctrl+I).").arg(f.interfaceName);
    const QString device = f.devicePath.isEmpty() ? QStringLiteral("no device") : f.devicePath;
    const QString reason = withoutFinalStop(f.reason);
    if (f.kind == Kind::WriteFailed)
        return QStringLiteral("%1 (%2): the command could not be sent: %3.\n"
                              "The adapter stopped answering or was unplugged: check it and its cable; "
                              "the next command opens the port again.")
            .arg(f.comName, device, reason);
    const QString head = QStringLiteral("%1 (%2) cannot be opened: %3.\n").arg(f.comName, device, reason);
    const QString other = QStringLiteral("pick another port under Init (Ctrl+I)");
    switch (f.kind) {
    case Kind::Missing:
        return head
            + QStringLiteral("Plug the adapter in (or correct the link %1 in the dosdevices folder beside "
                             "Orvantis.ini), or %2.")
                  .arg(linkName(f), other);
    case Kind::Permission:
        return head
            + QStringLiteral("Your user may not use serial ports. Run\n    sudo usermod -aG dialout $USER\n"
                             "then log out and in again.");
    case Kind::Busy:
        return head
            + (f.holders.isEmpty()
                   ? QStringLiteral("Another program holds it (fuser -v %1 names it): close that program, or %2.")
                         .arg(device, other)
                   : QStringLiteral("It is held by %1: close that program, or %2.")
                         .arg(f.holders.join(QStringLiteral(", ")), other));
    case Kind::NotSerial:
        return head
            + QStringLiteral("This is not a serial port: correct the link %1 in the dosdevices folder beside "
                             "Orvantis.ini, or %2.")
                  .arg(linkName(f), other);
    default:
        return head + QStringLiteral("Unplug the adapter and plug it in again, or %1.").arg(other);
    }
}

QString frenchText(const SerialFailure &f)
{
    using Kind = SerialFailure::Kind;
    if (f.kind == Kind::NoPort)
        return QStringLiteral("%1 n'a pas de port COM.\nChoisissez-en un dans Init (Ctrl+I).").arg(f.interfaceName);
    const QString device = f.devicePath.isEmpty() ? QStringLiteral("aucun périphérique") : f.devicePath;
    const QString reason = withoutFinalStop(f.reason);
    if (f.kind == Kind::WriteFailed)
        return QStringLiteral("%1 (%2) : la commande n'a pas pu être envoyée : %3.\n"
                              "L'adaptateur ne répond plus ou a été débranché : vérifiez-le ainsi que son câble ; "
                              "la commande suivante rouvre le port.")
            .arg(f.comName, device, reason);
    const QString head = QStringLiteral("%1 (%2) ne peut pas être ouvert : %3.\n").arg(f.comName, device, reason);
    const QString other = QStringLiteral("choisissez un autre port dans Init (Ctrl+I)");
    switch (f.kind) {
    case Kind::Missing:
        return head
            + QStringLiteral("Branchez l'adaptateur (ou corrigez le lien %1 du dossier dosdevices à côté "
                             "d'Orvantis.ini), ou %2.")
                  .arg(linkName(f), other);
    case Kind::Permission:
        return head
            + QStringLiteral("Votre utilisateur n'a pas accès aux ports série. Lancez\n"
                             "    sudo usermod -aG dialout $USER\npuis fermez la session et reconnectez-vous.");
    case Kind::Busy:
        return head
            + (f.holders.isEmpty()
                   ? QStringLiteral("Un autre programme l'utilise (fuser -v %1 le nomme) : fermez ce programme, "
                                    "ou %2.")
                         .arg(device, other)
                   : QStringLiteral("Il est utilisé par %1 : fermez ce programme, ou %2.")
                         .arg(f.holders.join(QStringLiteral(", ")), other));
    case Kind::NotSerial:
        return head
            + QStringLiteral("Ce n'est pas un port série : corrigez le lien %1 du dossier dosdevices à côté "
                             "d'Orvantis.ini, ou %2.")
                  .arg(linkName(f), other);
    default:
        return head + QStringLiteral("Débranchez puis rebranchez l'adaptateur, ou %1.").arg(other);
    }
}

} // namespace

QString serialFailureText(const SerialFailure &failure, bool french)
{
    return french ? frenchText(failure) : englishText(failure);
}
