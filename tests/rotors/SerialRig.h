#pragma once

#include "rotors/CommandSequencer.h"
#include "rotors/SerialRotors.h"
#include "support/PseudoTerminal.h"
#include "support/RecordingFeedback.h"

#include <QElapsedTimer>
#include <QMap>
#include <QStringList>
#include <QTest>
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

    // A GO as the command cycle performs it: the commanded azimuth, then the
    // operation; its outcome joins outcomes when it is known.
    void go(InterfaceKind kind, double azimuth)
    {
        state.commandedAzimuth = azimuth;
        rotors.go(kind, [this](const RotorOutcome &outcome) { outcomes << outcome; });
    }
    void stop(InterfaceKind kind)
    {
        rotors.stop(kind, [this](const RotorOutcome &outcome) { outcomes << outcome; });
    }
    // Until every queued command and its pauses have run.
    bool settle()
    {
        return QTest::qWaitFor([this] { return !sequencer.busy(); });
    }
    // The last operation went out / was given up (held, refused or failed).
    bool sent() const { return !outcomes.isEmpty() && outcomes.last().sent(); }
    bool notSent() const { return !outcomes.isEmpty() && !outcomes.last().sent(); }

    QList<RotorOutcome> outcomes;
};

// A rig with one interface selected on a pseudo-terminal of its own:
// auto [pty, rig] = SerialLine::on(kind, com);
struct SerialLine {
    PseudoTerminal pty;
    SerialRig rig;

    static SerialLine on(InterfaceKind kind, const QString &com) { return SerialLine(kind, com); }

private:
    SerialLine(InterfaceKind kind, const QString &com) { rig.attach(kind, pty, com); }
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
