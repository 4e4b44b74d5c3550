#pragma once

#include "rotors/CommandSequencer.h"
#include "rotors/SerialRotors.h"
#include "support/PseudoTerminal.h"
#include "support/RecordingFeedback.h"

#include <QElapsedTimer>
#include <QMap>
#include <QStringList>
#include <QTimer>

// Everything a SerialRotors needs, with COM names mapped onto pseudo-terminals.
struct SerialRig {
    CommandState state;
    Configuration config;
    RecordingFeedback feedback;
    CommandSequencer sequencer;
    QMap<InterfaceKind, QString> selected; // the port list's selection per interface
    QMap<QString, QString> devices;        // COM name -> device path
    QStringList labels;
    bool french = false; // the language of the notices
    SerialRotors rotors {SerialRotorsContext {state, config, feedback,
                                              [this](InterfaceKind kind) { return selected.value(kind); },
                                              [this](const QString &com) { return devices.value(com); },
                                              [this](const QString &text) { labels << text; },
                                              [this] { return french ? Language::french() : Language::english(); }},
                         sequencer};

    // Selects com for kind and maps it onto the pseudo-terminal.
    void attach(InterfaceKind kind, const PseudoTerminal &pty, const QString &com)
    {
        selected[kind] = com;
        devices[com] = pty.slavePath();
    }

    // A GO as the command cycle performs it: the commanded azimuth, then the operation.
    void go(InterfaceKind kind, double azimuth)
    {
        state.commandedAzimuth = azimuth;
        switch (kind) {
        case InterfaceKind::Gs232: rotors.GoGs232(); break;
        case InterfaceKind::EasyComm: rotors.GoEasyComm(); break;
        case InterfaceKind::TrakBox: rotors.GoTrakBox(); break;
        case InterfaceKind::ProSisTel: rotors.GoProSisTel(); break;
        case InterfaceKind::Dcu1: rotors.GoDcu1(); break;
        case InterfaceKind::M2Orion: rotors.GoM2Orion(); break;
        case InterfaceKind::Egis: rotors.GoEgis(); break;
        default: break;
        }
    }

    void stop(InterfaceKind kind)
    {
        switch (kind) {
        case InterfaceKind::Gs232: rotors.StopGs232(); break;
        case InterfaceKind::EasyComm: rotors.StopEasyComm(); break;
        case InterfaceKind::TrakBox: rotors.StopTrakBox(); break;
        case InterfaceKind::ProSisTel: rotors.StopProSisTel(); break;
        case InterfaceKind::Dcu1: rotors.StopDcu1(); break;
        case InterfaceKind::M2Orion: rotors.StopM2Orion(); break;
        case InterfaceKind::Egis: rotors.StopEgis(); break;
        default: break;
        }
    }
};

// Watches the controller's side of a pseudo-terminal from a timer while the code
// under test sits in its own pauses, stamping each arrival on one clock.
class ArrivalLog {
public:
    struct Arrival {
        QByteArray bytes;
        qint64 atMs;
    };

    explicit ArrivalLog(PseudoTerminal &pty) : m_pty(pty)
    {
        m_clock.start();
        m_timer.setInterval(2);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { collect(); });
        m_timer.start();
    }

    void collect()
    {
        for (const PseudoTerminal::Chunk &chunk : m_pty.readChunks(1))
            m_arrivals.append({chunk.bytes, m_clock.elapsed()});
    }

    QByteArray all() const
    {
        QByteArray bytes;
        for (const Arrival &arrival : m_arrivals)
            bytes += arrival.bytes;
        return bytes;
    }

    // When the byte at position index of all() arrived.
    qint64 arrivalOf(qsizetype index) const
    {
        for (const Arrival &arrival : m_arrivals) {
            if (index < arrival.bytes.size())
                return arrival.atMs;
            index -= arrival.bytes.size();
        }
        return -1;
    }

private:
    PseudoTerminal &m_pty;
    QElapsedTimer m_clock;
    QTimer m_timer;
    QList<Arrival> m_arrivals;
};
