#pragma once

#include "config/Configuration.h"
#include "config/Language.h"
#include "rotors/CommandState.h"
#include "rotors/HamlibModels.h"
#include "rotors/HamlibRotor.h"
#include "rotors/RotorOutcome.h"
#include "core/NoticeOnce.h"
#include "core/UserFeedback.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

struct HamlibRotorsContext {
    CommandState &state;
    Configuration &config;
    UserFeedback &feedback;
    // The device behind a COM name; empty when it is unknown.
    std::function<QString(const QString &comName)> devicePath;
    // The hidden diagnostic label that shows the last command.
    std::function<void(const QString &)> setInterfaceLabel;
    std::function<Language()> language;
    // Where the antenna is, as the read-back reports it; none when unknown.
    std::function<void(std::optional<double>)> reportPosition;
};

// The HAMLIB interface's GO and STOP: the command state turned into a target
// for the library, with the stop side, offset and minimum step applied as on
// the serial controllers, handed to the rotator's worker; the outcome is the
// library's answer.
class HamlibRotors : public QObject {
    Q_OBJECT

public:
    explicit HamlibRotors(HamlibRotorsContext context, QObject *parent = nullptr);
    ~HamlibRotors() override;

    void GoHamlib(OutcomeReport report);
    void StopHamlib(OutcomeReport report);
    // Asks where the antenna points, when the user wants it read back.
    void readPosition();
    // Closes the rotator once what was asked of it is done; never waits for it.
    void close();
    // Nothing is waiting for the library or under way in it.
    bool idle() const { return !m_rotor || m_rotor->idle(); }

    // "COM5", or the host:port of a network model; empty when none is set.
    static QString where(const Configuration &config, const HamlibModel &model);

Q_SIGNALS:
    // The library has nothing left to do (after close(), the rotator is closed).
    void becameIdle();

private:
    // The connection the settings ask for; none after telling the user why not
    // (failure, when given, receives what was told).
    std::optional<HamlibConnection> wantedConnection(const HamlibModel &model, QString *failure = nullptr);
    HamlibRotor &rotor();
    RotorOutcome outcomeOf(int status);
    void positionRead(std::optional<double> azimuth);
    QString tell(const QString &reason, const QString &text);

    HamlibRotorsContext m_context;
    NoticeOnce m_notices;
    std::unique_ptr<HamlibRotor> m_rotor;
    std::optional<HamlibConnection> m_connection;
    QString m_where;
};
