#pragma once

#include <QProcess>
#include <QStringList>

// A process that reports on its standard output a line at a time (the rotator
// simulator, Hamlib's rotctld), for a test that waits for what it says. The
// test's own event loop keeps running while it waits.
class ReportingProcess {
public:
    ReportingProcess(const QString &program, const QStringList &arguments);
    ~ReportingProcess();
    ReportingProcess(const ReportingProcess &) = delete;
    ReportingProcess &operator=(const ReportingProcess &) = delete;

    // Waits for a line matching pattern whole, passing over the others; a line is
    // matched at most once. False if none comes in time or the process ends.
    bool waitFor(const QString &pattern, int timeoutMs);
    // Every line reported from the start, after `settleMs` more of listening.
    QStringList lines(int settleMs);
    // Ends it with SIGTERM; true when it then exits cleanly.
    bool stop();

private:
    QProcess m_process;
    QStringList m_lines;
    qsizetype m_next = 0;
};
