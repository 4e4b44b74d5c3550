#pragma once

#include "config/SettingsFiles.h"
#include "core/Station.h"
#include "rotors/RecordingPortIo.h"
#include "support/PseudoTerminal.h"
#include "support/RecordingFeedback.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <memory>

// A station in a temporary program folder: its own Orvantis.ini, host roots that
// hold no device at all, recording feedback and port I/O.
class StationRig {
public:
    // iniLines are written as Orvantis.ini (CR LF endings) when not empty;
    // comLinks names COM ports (e.g. "com3") made present through dosdevices
    // links to pseudo-terminals; withLpt1 adds LPT1 at 0378h with ppdev loaded.
    explicit StationRig(const QStringList &iniLines = {}, const QStringList &comLinks = {}, bool withLpt1 = false);
    virtual ~StationRig();

    // What the headless runner does: the ports listed, then the first activation.
    bool startStation();

    Station &station() { return *m_station; }
    RecordingFeedback &feedback() { return m_feedback; }
    RecordingPortIo &portIo() { return m_portIo; }
    // The controller side of a COM port named in comLinks.
    PseudoTerminal &terminal(const QString &comLink) { return *m_terminals.at(comLink); }
    QString folder() const { return m_dir.path(); }
    // The settings file as the station wrote it.
    QByteArray savedIni() const;

private:
    QTemporaryDir m_dir;
    RecordingFeedback m_feedback;
    RecordingPortIo m_portIo;
    std::map<QString, std::unique_ptr<PseudoTerminal>> m_terminals;
    std::unique_ptr<SettingsFiles> m_files;
    std::unique_ptr<Station> m_station;
};

// Stands in for every GO and STOP operation of the station. Each GO keeps the
// contract a real one keeps: the minimum step of the selected interface, the
// last sent azimuth, the not-sent flag.
class RecordingRotors {
public:
    explicit RecordingRotors(Station &station);
    RecordingRotors(const RecordingRotors &) = delete;
    RecordingRotors &operator=(const RecordingRotors &) = delete;

    void clear()
    {
        commanded.clear();
        sent.clear();
        stops.clear();
    }

    QList<double> commanded; // every GO call, sent or not
    QList<double> sent;      // the GOs that passed the step rule
    QStringList stops;       // STOP operations in call order, by INI name

private:
    void go(InterfaceKind kind, const OutcomeReport &report);

    Station &m_station;
};
