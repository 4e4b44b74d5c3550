#include "support/ReportingProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRegularExpression>

ReportingProcess::ReportingProcess(const QString &program, const QStringList &arguments)
{
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
}

ReportingProcess::~ReportingProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool ReportingProcess::waitFor(const QString &pattern, int timeoutMs)
{
    const QRegularExpression wanted(QRegularExpression::anchoredPattern(pattern));
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        while (m_next < m_lines.size()) {
            if (wanted.match(m_lines.at(m_next++)).hasMatch())
                return true;
        }
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return false;
        QCoreApplication::processEvents();
        m_process.waitForReadyRead(50);
        while (m_process.canReadLine())
            m_lines.append(QString::fromUtf8(m_process.readLine()).trimmed());
    }
}

QStringList ReportingProcess::lines(int settleMs)
{
    waitFor(QStringLiteral("(?!)"), settleMs);
    return m_lines;
}

bool ReportingProcess::stop()
{
    m_process.terminate();
    return m_process.waitForFinished(5000) && m_process.exitStatus() == QProcess::NormalExit
        && m_process.exitCode() == 0;
}
