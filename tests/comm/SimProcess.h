#pragma once

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

// One tebo-sim child process with its pseudo-terminal and state file.
class SimProcess
{
public:
    SimProcess() = default;
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    bool start(const QString &mode, const QStringList &args = {})
    {
        if (!m_dir.isValid())
            return false;
        m_state = m_dir.filePath(QStringLiteral("state.txt"));
        m_proc.setProgram(QStringLiteral(TEBO_SIM_PATH));
        m_proc.setArguments(QStringList{mode, QStringLiteral("--state"), m_state} + args);
        m_proc.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_proc.start();
        if (!m_proc.waitForStarted(5000))
            return false;
        while (!m_proc.canReadLine()) {
            if (!m_proc.waitForReadyRead(5000))
                return false;
        }
        const QString line = QString::fromLocal8Bit(m_proc.readLine()).trimmed();
        if (!line.startsWith(QLatin1String("PTY ")))
            return false;
        m_path = line.mid(4);
        return true;
    }

    void stop()
    {
        if (m_proc.state() != QProcess::NotRunning) {
            m_proc.terminate();
            if (!m_proc.waitForFinished(3000)) {
                m_proc.kill();
                m_proc.waitForFinished(3000);
            }
        }
    }

    QString path() const { return m_path; }
    QString dir() const { return m_dir.path(); }
    QProcess &process() { return m_proc; }

    void command(const QByteArray &cmd)
    {
        m_proc.write(cmd + '\n');
        m_proc.waitForBytesWritten(1000);
    }
    void signalUser1() { ::kill(pid_t(m_proc.processId()), SIGUSR1); }

    QStringList state() const
    {
        QFile f(m_state);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    // Values of one key, in order.
    QStringList values(const QString &key) const
    {
        QStringList out;
        const QString prefix = key + QLatin1Char('=');
        for (const QString &l : state())
            if (l.startsWith(prefix))
                out << l.mid(prefix.size());
        return out;
    }
    QString value(const QString &key) const
    {
        const QStringList v = values(key);
        return v.isEmpty() ? QString() : v.first();
    }

private:
    QTemporaryDir m_dir;
    QString m_state;
    QString m_path;
    QProcess m_proc;
};
