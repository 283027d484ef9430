#include "comm/claComm6_9.h"

#include "app/modMain.h"
#include "platform/TeboClock.h"
#include "platform/Win1250Codec.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <linux/serial.h>

namespace {

constexpr std::uint32_t kBinary = 0x1;
constexpr std::uint32_t kParityCheck = 0x2;
constexpr std::uint32_t kDtrMask = 0x30;
constexpr std::uint32_t kRtsMask = 0x3000;
// Upper bound of one CommInput, so that a flooding peer cannot keep it busy.
constexpr qsizetype kMaxInputPerCall = 1 << 20;

bool speedFor(std::int32_t baud, speed_t *out)
{
    static const struct { std::int32_t baud; speed_t speed; } table[] = {
        {50, B50}, {75, B75}, {110, B110}, {134, B134}, {150, B150}, {200, B200},
        {300, B300}, {600, B600}, {1200, B1200}, {1800, B1800}, {2400, B2400},
        {4800, B4800}, {9600, B9600}, {19200, B19200}, {38400, B38400},
        {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800},
        {500000, B500000}, {576000, B576000}, {921600, B921600}, {1000000, B1000000},
        {1152000, B1152000}, {1500000, B1500000}, {2000000, B2000000},
        {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
    };
    for (const auto &e : table) {
        if (e.baud == baud) {
            *out = e.speed;
            return true;
        }
    }
    return false;
}

// Devices without modem lines (pseudo-terminals, some adapters) refuse
// these calls; that is not a failure of the port.
bool modemCallRefusedByDevice(int err)
{
    return err == ENOTTY || err == EINVAL || err == ENOTSUP || err == EOPNOTSUPP || err == 515;
}

bool setModemLine(int fd, int bit, bool on, int *err)
{
    const unsigned long req = on ? TIOCMBIS : TIOCMBIC;
    if (::ioctl(fd, req, &bit) == 0)
        return true;
    if (modemCallRefusedByDevice(errno))
        return true;
    *err = errno;
    return false;
}

// Builds the terminal settings for a line settings record; false (with
// EINVAL) for values the terminal cannot take.
bool buildTermios(termios &t, const claComm6_9::LineSettings &s)
{
    speed_t speed;
    if (!speedFor(s.baudRate, &speed))
        return false;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD | HUPCL;
    t.c_cflag &= ~(CRTSCTS | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | PARMRK | IGNPAR);
    switch (s.byteSize) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    case 8: t.c_cflag |= CS8; break;
    default: return false;
    }
    switch (s.parity) {
    case 0: break;
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: return false;
    }
    switch (s.stopBits) {
    case 0: break;
    case 1:
        // One and a half stop bits exist only with five data bits.
        if (s.byteSize != 5)
            return false;
        t.c_cflag |= CSTOPB;
        break;
    case 2: t.c_cflag |= CSTOPB; break;
    default: return false;
    }
    if (s.flags & kParityCheck)
        t.c_iflag |= INPCK;
    else
        t.c_iflag |= IGNPAR;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    return true;
}

qint64 monotonicMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int openExclusive(const QString &devicePath, int *fdOut)
{
    *fdOut = -1;
    if (devicePath.isEmpty())
        return ENOENT;
    const QByteArray path = QFile::encodeName(devicePath);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // Another program of ours (or one that locks the same way) has it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = (errno == EWOULDBLOCK) ? EBUSY : errno;
        ::close(fd);
        return e;
    }
    // Keeps programs that do not lock from opening it behind our back.
    ::ioctl(fd, TIOCEXCL);
    *fdOut = fd;
    return 0;
}

void closeExclusive(int fd)
{
    // The exclusive mark stays on the terminal while any other descriptor is
    // open, so it is taken back before closing.
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

QString widgetText(QWidget *w)
{
    if (auto *p = qobject_cast<QPlainTextEdit *>(w))
        return p->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (auto *t = qobject_cast<QTextEdit *>(w))
        return t->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (auto *l = qobject_cast<QLineEdit *>(w))
        return l->text();
    return QString();
}

void setWidgetText(QWidget *w, const QString &text)
{
    if (auto *p = qobject_cast<QPlainTextEdit *>(w)) {
        p->setPlainText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
        p->moveCursor(QTextCursor::End);
    } else if (auto *t = qobject_cast<QTextEdit *>(w)) {
        t->setPlainText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
        t->moveCursor(QTextCursor::End);
    } else if (auto *l = qobject_cast<QLineEdit *>(w)) {
        l->setText(text);
        l->end(false);
    }
}

} // namespace

claComm6_9::claComm6_9() = default;

claComm6_9::~claComm6_9()
{
    ClosePort();
}

QString claComm6_9::DevicePathFor(const QString &portname)
{
    QString name = portname.trimmed();
    if (name.startsWith(QLatin1String("\\\\.\\")))
        name = name.mid(4);
    if (name.isEmpty())
        return QString();
    static const QRegularExpression com(QStringLiteral("^com(\\d+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto m = com.match(name);
    if (m.hasMatch()) {
        bool ok = false;
        const int n = m.captured(1).toInt(&ok);
        if (!ok || n < 1)
            return QString();
        return QStringLiteral("/dev/ttyS%1").arg(n - 1);
    }
    if (name.startsWith(QLatin1Char('/')))
        return name;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name == QLatin1String(".")
        || name == QLatin1String(".."))
        return QString();
    return QStringLiteral("/dev/") + name;
}

int claComm6_9::TrialOpen(const QString &devicePath)
{
    int fd = -1;
    const int err = openExclusive(devicePath, &fd);
    if (err == 0)
        closeExclusive(fd);
    return err;
}

void claComm6_9::record(int code, const QString &text, int sysErrno)
{
    m_lastError = code;
    m_lastErrorText = text;
    m_lastErrno = sysErrno;
}

void claComm6_9::ClearError()
{
    record(0, QString(), 0);
}

QString claComm6_9::LastSystemError() const
{
    return m_lastErrno ? QString::fromLocal8Bit(std::strerror(m_lastErrno)) : QString();
}

bool claComm6_9::OpenPort()
{
    ClosePort();
    int fd = -1;
    const int err = openExclusive(DevicePath(), &fd);
    if (err != 0) {
        record(ErrHardwareNotAvailable, QStringLiteral("The hardware is not available"), err);
        return false;
    }
    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        const int e = errno;
        closeExclusive(fd);
        record(ErrGetCommState, QStringLiteral("Get comm state failed"), e);
        return false;
    }
    LineSettings s;
    s.baudRate = m_baudRate;
    s.flags = kBinary;
    if (m_checkParity)
        s.flags |= kParityCheck;
    if (m_dtrControl == 1)
        s.flags |= 0x10;
    else if (m_dtrControl == 2)
        s.flags |= 0x20;
    s.byteSize = std::uint8_t(m_byteSize);
    s.parity = std::uint8_t(m_parity);
    s.stopBits = std::uint8_t(m_stopBits);
    const bool inRange = m_byteSize >= 0 && m_byteSize <= 255 && m_parity >= 0 && m_parity <= 255
        && m_stopBits >= 0 && m_stopBits <= 255;
    m_fd = fd;
    if (!inRange || !applySettings(s)) {
        const int e = m_lastErrno ? m_lastErrno : EINVAL;
        m_fd = -1;
        closeExclusive(fd);
        record(ErrSetCommState, QStringLiteral("Set comm state failed"), e);
        return false;
    }
    // Reads and writes never block at the descriptor; CommOutput waits
    // itself for the driver to take the bytes.
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl < 0 || ::fcntl(fd, F_SETFL, fl | O_NONBLOCK) != 0) {
        const int e = errno;
        m_fd = -1;
        closeExclusive(fd);
        record(ErrSetCommTimeouts, QStringLiteral("Set comm timeouts failed"), e);
        return false;
    }
    m_settings = s;
    m_icountValid = false;
    clearBreakAndErrors(nullptr);
    return true;
}

bool claComm6_9::applySettings(const LineSettings &s)
{
    m_lastErrno = 0;
    termios t{};
    if (::tcgetattr(m_fd, &t) != 0) {
        m_lastErrno = errno;
        return false;
    }
    if (!buildTermios(t, s)) {
        m_lastErrno = EINVAL;
        return false;
    }
    if (::tcsetattr(m_fd, TCSANOW, &t) != 0) {
        m_lastErrno = errno;
        return false;
    }
    // tcsetattr succeeds when any part was taken; a driver that cannot run
    // the speed puts back another one. (Pseudo-terminals always keep eight
    // data bits without parity, which is no failure.)
    termios back{};
    if (::tcgetattr(m_fd, &back) == 0 && cfgetospeed(&back) != cfgetospeed(&t)) {
        m_lastErrno = EINVAL;
        return false;
    }
    int err = 0;
    const bool dtrOn = (s.flags & kDtrMask) != 0;
    const bool rtsOn = (s.flags & kRtsMask) != 0;
    if (!setModemLine(m_fd, TIOCM_DTR, dtrOn, &err) || !setModemLine(m_fd, TIOCM_RTS, rtsOn, &err)) {
        m_lastErrno = err;
        return false;
    }
    return true;
}

void claComm6_9::ClosePort()
{
    if (m_fd >= 0) {
        closeExclusive(m_fd);
        m_fd = -1;
        m_settings = LineSettings();
    }
}

void claComm6_9::setLineProperty(std::int32_t &field, std::int32_t value,
                                 void (*change)(LineSettings &, std::int32_t),
                                 bool (*valid)(std::int32_t))
{
    if (field == value)
        return;
    if (!Opened()) {
        field = value;
        return;
    }
    if (valid && !valid(value)) {
        record(ErrInvalidPropertyValue, QStringLiteral("Invalid property value"), EINVAL);
        return;
    }
    LineSettings copy = m_settings;
    change(copy, value);
    if (!applySettings(copy)) {
        // Put back what the port had, in case part of the change was taken.
        const int e = m_lastErrno;
        applySettings(m_settings);
        record(ErrInvalidPropertyValue, QStringLiteral("Invalid property value"), e);
        return;
    }
    m_settings = copy;
    field = value;
}

namespace {
bool byteRange(std::int32_t v) { return v >= 0 && v <= 255; }
}

void claComm6_9::setBaudRate(std::int32_t v)
{
    setLineProperty(m_baudRate, v, [](LineSettings &s, std::int32_t x) { s.baudRate = x; }, nullptr);
}

void claComm6_9::setParity(std::int32_t v)
{
    setLineProperty(m_parity, v, [](LineSettings &s, std::int32_t x) { s.parity = std::uint8_t(x); },
                    byteRange);
}

void claComm6_9::setStopBits(std::int32_t v)
{
    setLineProperty(m_stopBits, v, [](LineSettings &s, std::int32_t x) { s.stopBits = std::uint8_t(x); },
                    byteRange);
}

void claComm6_9::setByteSize(std::int32_t v)
{
    setLineProperty(m_byteSize, v, [](LineSettings &s, std::int32_t x) { s.byteSize = std::uint8_t(x); },
                    byteRange);
}

void claComm6_9::setCheckParity(bool v)
{
    std::int32_t cur = m_checkParity ? 1 : 0;
    setLineProperty(cur, v ? 1 : 0, [](LineSettings &s, std::int32_t x) {
        s.flags = x ? (s.flags | kParityCheck) : (s.flags & ~kParityCheck);
    }, nullptr);
    m_checkParity = cur != 0;
}

void claComm6_9::setDtrControl(std::int32_t v)
{
    setLineProperty(m_dtrControl, v, [](LineSettings &s, std::int32_t x) {
        s.flags &= ~kDtrMask;
        if (x == 1)
            s.flags |= 0x10;
        else if (x == 2)
            s.flags |= 0x20;
    }, [](std::int32_t x) { return x >= 0 && x <= 2; });
}

void claComm6_9::setRtsControl(std::int32_t v)
{
    setLineProperty(m_rtsControl, v, [](LineSettings &s, std::int32_t x) {
        s.flags &= ~kRtsMask;
        s.flags |= std::uint32_t(x) << 12;
    }, [](std::int32_t x) { return x >= 0 && x <= 3; });
}

int claComm6_9::modemBits() const
{
    if (!Opened())
        return 0;
    int bits = 0;
    if (::ioctl(m_fd, TIOCMGET, &bits) != 0)
        return 0;
    return bits;
}

bool claComm6_9::CTSStatus() const { return modemBits() & TIOCM_CTS; }
bool claComm6_9::DSRStatus() const { return modemBits() & TIOCM_DSR; }
bool claComm6_9::RINGStatus() const { return modemBits() & TIOCM_RI; }
bool claComm6_9::RLSDStatus() const { return modemBits() & TIOCM_CD; }

std::int32_t claComm6_9::OutBufferCount() const
{
    if (!Opened())
        return 0;
    int n = 0;
    if (::ioctl(m_fd, TIOCOUTQ, &n) != 0)
        return 0;
    return n;
}

std::int32_t claComm6_9::InBufferCount() const
{
    if (!Opened())
        return 0;
    int n = 0;
    if (::ioctl(m_fd, FIONREAD, &n) != 0)
        n = 0;
    return std::int32_t(n + m_pendingInput.size());
}

void claComm6_9::PutToInputBuffer(const QString &vNewValue)
{
    m_pendingInput += vNewValue;
}

void claComm6_9::clearBreakAndErrors(std::int32_t *comm_error)
{
    ::ioctl(m_fd, TIOCCBRK);
    std::int32_t flags = 0;
    serial_icounter_struct ic{};
    if (::ioctl(m_fd, TIOCGICOUNT, &ic) == 0) {
        if (m_icountValid) {
            if (ic.overrun != m_icountOverrun || ic.buf_overrun != 0)
                flags |= 0x2;
            if (ic.parity != m_icountParity)
                flags |= 0x4;
            if (ic.frame != m_icountFrame)
                flags |= 0x8;
            if (ic.brk != m_icountBrk)
                flags |= 0x10;
        }
        m_icountOverrun = ic.overrun;
        m_icountParity = ic.parity;
        m_icountFrame = ic.frame;
        m_icountBrk = ic.brk;
        m_icountValid = true;
    }
    if (comm_error)
        *comm_error = flags;
}

QString claComm6_9::CommInput(std::int32_t &comm_error)
{
    QString result = m_pendingInput;
    m_pendingInput.clear();
    if (Opened()) {
        int waiting = 0;
        if (::ioctl(m_fd, FIONREAD, &waiting) == 0) {
            clearBreakAndErrors(&comm_error);
            // The terminal hands out at most its own buffer at a time and
            // refills it from the driver as it is read, so read on until it
            // has nothing more rather than trusting the first count.
            QByteArray bytes;
            char buf[kReadBufferSize];
            while (bytes.size() < kMaxInputPerCall) {
                const ssize_t n = ::read(m_fd, buf, sizeof buf);
                if (n > 0) {
                    bytes.append(buf, n);
                    continue;
                }
                if (n < 0 && errno == EINTR)
                    continue;
                break; // nothing more, or the device is gone
            }
            result += Win1250Codec::toUnicode(bytes);
        }
    }
    LogTraffic(result);
    return result;
}

QString claComm6_9::CommInput()
{
    std::int32_t e = 0;
    return CommInput(e);
}

void claComm6_9::CommOutput(const QString &vNewValue)
{
    if (vNewValue.isEmpty())
        return;
    LogTraffic(vNewValue);
    if (!Opened())
        return;
    const QByteArray bytes = Win1250Codec::fromUnicode(vNewValue);
    clearBreakAndErrors(nullptr);
    // The driver normally takes the bytes at once; a line that does not
    // drain (flow stopped, device gone) gets the time the bytes need plus a
    // margin, then the rest is dropped rather than hanging the program.
    const qint64 needMs = qint64(bytes.size()) * 10 * 1000 / qMax(1, m_baudRate);
    const qint64 deadline = monotonicMs() + 2 * needMs + 2000;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            break;
        const qint64 left = deadline - monotonicMs();
        if (left <= 0)
            break;
        pollfd p{m_fd, POLLOUT, 0};
        const int r = ::poll(&p, 1, int(qMin<qint64>(left, 200)));
        if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)))
            break;
    }
}

QString claComm6_9::RenderTraffic(const QString &text)
{
    QString out;
    const QByteArray bytes = Win1250Codec::fromUnicode(text);
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        if (b == 13)
            out += QLatin1String("<Cr>");
        else if (b == 10)
            out += QLatin1String("<Lf>\r\n");
        else if (b >= 32 && b <= 127)
            out += QLatin1Char(char(b));
        else
            out += QLatin1Char('<') + QString::number(b, 16).toUpper() + QLatin1Char('>');
    }
    return out;
}

QString claComm6_9::PortnameForFiles(const QString &portname)
{
    QString p = portname;
    while (p.startsWith(QLatin1Char('/')))
        p.remove(0, 1);
    p.replace(QLatin1Char('/'), QLatin1Char('_'));
    p.replace(QLatin1Char('\\'), QLatin1Char('_'));
    p.replace(QChar(0), QLatin1Char('_'));
    if (p.isEmpty() || p == QLatin1String(".") || p == QLatin1String(".."))
        p = QStringLiteral("_");
    return p;
}

QString claComm6_9::LogFilePath(const QString &baseDir, const QString &portname, const QDate &date)
{
    QString base = baseDir;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QString p = QStringLiteral("DEBUG_") + PortnameForFiles(portname);
    const QString y = date.toString(QStringLiteral("yyyy"));
    const QString ym = date.toString(QStringLiteral("yyyyMM"));
    const QString ymd = date.toString(QStringLiteral("yyyyMMdd"));
    return base + p + QLatin1Char('/') + p + QLatin1Char('_') + y + QLatin1Char('/') + p
        + QLatin1Char('_') + ym + QLatin1Char('/') + p + QLatin1Char('_') + ymd
        + QStringLiteral(".log");
}

void claComm6_9::LogTraffic(const QString &text)
{
    if (text.isEmpty())
        return;
    if (m_debugFileOn) {
        QString base = AdresarAplikacie;
        if (base.isEmpty())
            base = QCoreApplication::applicationDirPath();
        const QString file = LogFilePath(base, m_portname, TeboClock::now().date());
        const QFileInfo fi(file);
        // Each of the three folder levels is made when missing; a failure
        // only means the traffic is not logged.
        const QString l3 = fi.absolutePath();
        const QString l2 = QFileInfo(l3).absolutePath();
        const QString l1 = QFileInfo(l2).absolutePath();
        QDir d;
        for (const QString &level : {l1, l2, l3}) {
            if (!QFileInfo(level).isDir())
                d.mkdir(level);
        }
        QFile f(file);
        if (f.open(QIODevice::WriteOnly | QIODevice::Append))
            f.write(Win1250Codec::fromUnicode(text));
    }
    if (QWidget *w = m_debugTextbox.data()) {
        QString t = widgetText(w) + RenderTraffic(text);
        if (t.size() > kTextboxLimit)
            t = t.right(kTextboxLimit);
        setWidgetText(w, t);
    }
}
