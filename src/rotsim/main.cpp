// orvantis-rotsim: a serial rotator controller on a pseudo-terminal, for trying
// Orvantis (or any rotator program) without a rotator.
#include "process/SignalCloser.h"
#include "rotsim/ControllerModel.h"
#include "rotsim/PseudoTerminalController.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

constexpr double DefaultRate = 6.0;

int refuse(const QString &message)
{
    QTextStream(stderr) << "orvantis-rotsim: " << message << Qt::endl
                        << "Try 'orvantis-rotsim --help' for the options." << Qt::endl;
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvantis-rotsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulates a serial rotator controller on a pseudo-terminal linked at PATH, and prints one line "
                       "per change of the antenna's position or of the controller's state."));
    parser.addHelpOption();
    const QString protocols = ControllerModel::protocols().join(u'|');
    const QCommandLineOption protocol(QStringLiteral("protocol"), QStringLiteral("The controller: %1.").arg(protocols),
                                      QStringLiteral("NAME"));
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Where to link the serial device, e.g. dosdevices/com5."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption rate(QStringLiteral("rate"),
                                  QStringLiteral("Turning rate in degrees per second (default 6)."),
                                  QStringLiteral("DEG_PER_S"), QString::number(DefaultRate));
    const QCommandLineOption start(QStringLiteral("start"),
                                   QStringLiteral("The antenna's azimuth at start (default 0)."), QStringLiteral("AZ"),
                                   QStringLiteral("0"));
    parser.addOptions({protocol, link, rate, start});
    parser.process(application);

    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    if (!parser.isSet(protocol) || !parser.isSet(link))
        return refuse(QStringLiteral("--protocol and --link are required"));
    bool rateOk = false;
    const double degreesPerSecond = parser.value(rate).toDouble(&rateOk);
    if (!rateOk || !(degreesPerSecond > 0 && degreesPerSecond <= 360))
        return refuse(QStringLiteral("--rate must be a number of degrees per second above 0 and at most 360"));
    bool startOk = false;
    const double azimuth = parser.value(start).toDouble(&startOk);
    if (!startOk || !(azimuth >= 0 && azimuth <= 360))
        return refuse(QStringLiteral("--start must be an azimuth from 0 to 360"));
    auto model = ControllerModel::create(parser.value(protocol), azimuth, degreesPerSecond);
    if (!model)
        return refuse(QStringLiteral("unknown protocol '%1'; choose one of %2")
                          .arg(parser.value(protocol), ControllerModel::protocols().join(QStringLiteral(", "))));

    QTextStream out(stdout);
    PseudoTerminalController controller(std::move(model), parser.value(link), out);
    QString error;
    if (!controller.start(error)) {
        QTextStream(stderr) << "orvantis-rotsim: " << error << Qt::endl;
        return 1;
    }
    SignalCloser closer;
    QObject::connect(&closer, &SignalCloser::closeRequested, &application, &QCoreApplication::quit);
    const int status = QCoreApplication::exec();
    out << "end" << Qt::endl;
    return status;
}
