#pragma once

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal for tests: the test holds the master side, the code
// under test opens the slave path. With holdSlave a second slave descriptor
// keeps the terminal alive while the code under test closes and reopens it.
class PtyPair
{
public:
    explicit PtyPair(bool holdSlave = true)
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return;
        char name[128];
        if (::ptsname_r(m_master, name, sizeof name) != 0)
            return;
        m_path = QString::fromLocal8Bit(name);
        if (holdSlave) {
            m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
            termios t{};
            if (m_slave >= 0 && ::tcgetattr(m_slave, &t) == 0) {
                cfmakeraw(&t);
                ::tcsetattr(m_slave, TCSANOW, &t);
            }
        }
        const int fl = ::fcntl(m_master, F_GETFL);
        ::fcntl(m_master, F_SETFL, fl | O_NONBLOCK);
    }
    ~PtyPair()
    {
        closeMaster();
        if (m_slave >= 0)
            ::close(m_slave);
    }
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool ok() const { return m_master >= 0 && !m_path.isEmpty(); }
    QString path() const { return m_path; }
    int master() const { return m_master; }

    bool write(const QByteArray &data)
    {
        qsizetype done = 0;
        while (done < data.size()) {
            const ssize_t n = ::write(m_master, data.constData() + done, size_t(data.size() - done));
            if (n > 0) {
                done += n;
            } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                pollfd p{m_master, POLLOUT, 0};
                ::poll(&p, 1, 100);
            } else {
                return false;
            }
        }
        return true;
    }

    // Whatever the slave side sent, waiting up to timeoutMs for at least
    // `atLeast` bytes.
    QByteArray read(int atLeast = 1, int timeoutMs = 2000)
    {
        QByteArray out;
        for (int waited = 0; waited <= timeoutMs;) {
            char buf[4096];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0) {
                out.append(buf, n);
                if (out.size() >= atLeast)
                    continue;
            }
            if (out.size() >= atLeast && n <= 0)
                break;
            pollfd p{m_master, POLLIN, 0};
            ::poll(&p, 1, 20);
            waited += 20;
        }
        return out;
    }

    bool masterTermios(termios *t) const { return ::tcgetattr(m_master, t) == 0; }
    bool setMasterTermios(const termios &t) { return ::tcsetattr(m_master, TCSANOW, &t) == 0; }

    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }
    void closeSlave()
    {
        if (m_slave >= 0)
            ::close(m_slave);
        m_slave = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};
