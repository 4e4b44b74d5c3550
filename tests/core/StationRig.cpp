#include "StationRig.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cmath>

StationRig::StationRig(const QStringList &iniLines, const QStringList &comLinks, bool withLpt1)
{
    const QDir dir(m_dir.path());
    for (const char *root : {"sys", "proc", "dev"})
        dir.mkpath(QString::fromLatin1(root));
    if (!iniLines.isEmpty()) {
        QFile ini(dir.filePath(QStringLiteral("Orvantis.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write((iniLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
    }
    if (!comLinks.isEmpty()) {
        // Real terminals: the first activation opens each saved port to probe it.
        dir.mkpath(QStringLiteral("dosdevices"));
        for (const QString &link : comLinks) {
            auto terminal = std::make_unique<PseudoTerminal>();
            QFile::link(terminal->slavePath(), dir.filePath(QStringLiteral("dosdevices/") + link));
            m_terminals[link] = std::move(terminal);
        }
    }
    if (withLpt1) {
        dir.mkpath(QStringLiteral("sys/module/ppdev"));
        dir.mkpath(QStringLiteral("proc/sys/dev/parport/parport0"));
        QFile base(dir.filePath(QStringLiteral("proc/sys/dev/parport/parport0/base-addr")));
        if (base.open(QIODevice::WriteOnly))
            base.write("888\t1914\n");
    }
    m_files = std::make_unique<SettingsFiles>(m_dir.path());
    HostRoots roots{dir.filePath(QStringLiteral("sys")), dir.filePath(QStringLiteral("proc")),
                    dir.filePath(QStringLiteral("dev"))};
    m_station = std::make_unique<Station>(StationEnvironment{*m_files, m_feedback, m_portIo, roots});
    m_station->load();
}

StationRig::~StationRig() = default;

bool StationRig::startStation()
{
    m_station->EnumerateComPorts();
    m_station->FormActivate();
    return m_station->activatedOnce();
}

QByteArray StationRig::savedIni() const
{
    QFile ini(QDir(m_dir.path()).filePath(QStringLiteral("Orvantis.ini")));
    return ini.open(QIODevice::ReadOnly) ? ini.readAll() : QByteArray();
}

RecordingRotors::RecordingRotors(Station &station) : m_station(station)
{
    for (InterfaceKind kind : AllInterfaceKinds)
        station.dispatch().setGo(kind, [this, kind](OutcomeReport report) { go(kind, report); });
    for (InterfaceKind kind : RotorDispatch::StopOrder)
        station.dispatch().setStop(kind, [this, kind](OutcomeReport report) {
            stops << iniValue(kind);
            report(RotorOutcome::sentNow());
        });
}

void RecordingRotors::go(InterfaceKind kind, const OutcomeReport &report)
{
    CommandState &state = m_station.commandState();
    commanded << state.commandedAzimuth;
    if (state.heldByStep(m_station.configuration().at(kind).minimumStep)) {
        report(RotorOutcome::held());
        return;
    }
    state.lastSentAzimuth = state.commandedAzimuth;
    sent << state.commandedAzimuth;
    report(RotorOutcome::sentNow());
}
