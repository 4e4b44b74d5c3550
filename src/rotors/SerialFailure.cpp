#include "rotors/SerialFailure.h"

#include "config/Translation.h"
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

// The texts of one language. Placeholders: see serialFailureText.
struct FailureTexts {
    QString noPort;      // interface
    QString noDevice;
    QString writeFailed; // COM name, device, reason
    QString openFailed;  // COM name, device, reason
    QString otherPort;
    QString missing;     // link, otherPort
    QString permission;
    QString busy;        // device, otherPort
    QString heldBy;      // holders, otherPort
    QString notSerial;   // link, otherPort
    QString refused;     // otherPort
};

FailureTexts textsIn(const Language &language)
{
    const auto translated = [language](const char *source) { return Translation::text(language, "SerialFailure", source); };
    return {
        translated(QT_TRANSLATE_NOOP("SerialFailure", "%1 has no COM port.\nPick one under Init (Ctrl+I).")),
        translated(QT_TRANSLATE_NOOP("SerialFailure", "no device")),
        translated(QT_TRANSLATE_NOOP("SerialFailure", "%1 (%2): the command could not be sent: %3.\nThe adapter stopped "
                                              "answering or was unplugged: check it and its cable; the next command "
                                              "opens the port again.")),
        translated(QT_TRANSLATE_NOOP("SerialFailure", "%1 (%2) cannot be opened: %3.\n")),
        translated(QT_TRANSLATE_NOOP("SerialFailure", "pick another port under Init (Ctrl+I)")),
        translated(QT_TRANSLATE_NOOP("SerialFailure", "Plug the adapter in (or correct the link %1 in the dosdevices folder "
                                              "beside Orvantis.ini), or %2.")),
        translated(QT_TRANSLATE_NOOP("SerialFailure", "Your user may not use serial ports. Run\n    sudo usermod -aG "
                                              "dialout $USER\nthen log out and in again.")),
        translated(QT_TRANSLATE_NOOP("SerialFailure",
                             "Another program holds it (fuser -v %1 names it): close that program, or %2.")),
        translated(QT_TRANSLATE_NOOP("SerialFailure", "It is held by %1: close that program, or %2.")),
        translated(QT_TRANSLATE_NOOP("SerialFailure", "This is not a serial port: correct the link %1 in the dosdevices "
                                              "folder beside Orvantis.ini, or %2.")),
        translated(QT_TRANSLATE_NOOP("SerialFailure", "Unplug the adapter and plug it in again, or %1.")),
    };
}

const FailureTexts &failureTexts(const Language &language)
{
    return Translation::tableIn(language, &textsIn);
}

} // namespace

QString serialFailureText(const SerialFailure &f, const Language &language)
{
    using Kind = SerialFailure::Kind;
    const FailureTexts &t = failureTexts(language);
    if (f.kind == Kind::NoPort)
        return t.noPort.arg(f.interfaceName);
    const QString device = f.devicePath.isEmpty() ? t.noDevice : f.devicePath;
    const QString reason = withoutFinalStop(f.reason);
    if (f.kind == Kind::WriteFailed)
        return t.writeFailed.arg(f.comName, device, reason);
    const QString head = t.openFailed.arg(f.comName, device, reason);
    switch (f.kind) {
    case Kind::Missing:
        return head + t.missing.arg(linkName(f), t.otherPort);
    case Kind::Permission:
        return head + t.permission;
    case Kind::Busy:
        return head
            + (f.holders.isEmpty() ? t.busy.arg(device, t.otherPort)
                                   : t.heldBy.arg(f.holders.join(QStringLiteral(", ")), t.otherPort));
    case Kind::NotSerial:
        return head + t.notSerial.arg(linkName(f), t.otherPort);
    default:
        return head + t.refused.arg(t.otherPort);
    }
}
