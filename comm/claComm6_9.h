#pragma once

#include <QPointer>
#include <QString>
#include <cstdint>

#include <QWidget>

// One serial port of the system: line settings, open by name, input that
// never waits, whole-string output, modem lines, queue counts and an
// optional mirror of the traffic into a daily log file and a text box.
//
// Names accepted in portname: "comN" (also "\\.\comN", any case) for
// /dev/ttyS(N-1), a native name such as "ttyUSB0" for /dev/ttyUSB0, or an
// absolute device path (/dev/serial/by-id/..., /dev/pts/7).
class claComm6_9
{
public:
    // Recorded error codes.
    enum : int {
        ErrNone = 0,
        ErrInvalidPropertyValue = 380,
        ErrHardwareNotAvailable = 8000,
        ErrSetCommState = 8001,
        ErrGetCommState = 8002,
        ErrSetCommTimeouts = 8003,
    };

    // The line settings as the open port has them (the platform's record).
    struct LineSettings {
        std::uint32_t flags = 0;  // 0x1 binary, 0x2 parity check, 0x30 DTR, 0x3000 RTS
        std::int32_t baudRate = 0;
        std::uint8_t byteSize = 0;
        std::uint8_t parity = 0;
        std::uint8_t stopBits = 0;
    };

    claComm6_9();
    ~claComm6_9();
    claComm6_9(const claComm6_9 &) = delete;
    claComm6_9 &operator=(const claComm6_9 &) = delete;

    bool OpenPort();
    bool Opened() const { return m_fd >= 0; }
    void ClosePort();

    QString portname() const { return m_portname; }
    void setPortname(const QString &name) { m_portname = name; }

    std::int32_t Parity() const { return m_parity; }
    void setParity(std::int32_t v);
    bool CheckParity() const { return m_checkParity; }
    void setCheckParity(bool v);
    std::int32_t StopBits() const { return m_stopBits; }
    void setStopBits(std::int32_t v);
    std::int32_t ByteSize() const { return m_byteSize; }
    void setByteSize(std::int32_t v);
    std::int32_t BaudRate() const { return m_baudRate; }
    void setBaudRate(std::int32_t v);
    std::int32_t DtrControl() const { return m_dtrControl; }
    void setDtrControl(std::int32_t v);
    std::int32_t RtsControl() const { return m_rtsControl; }
    void setRtsControl(std::int32_t v);

    bool CTSStatus() const;
    bool DSRStatus() const;
    bool RINGStatus() const;
    bool RLSDStatus() const;

    std::int32_t OutBufferCount() const;
    std::int32_t InBufferCount() const;

    void PutToInputBuffer(const QString &vNewValue);
    // Everything received so far; returns at once. comm_error receives the
    // line error flags (0x2 overrun, 0x4 parity, 0x8 framing, 0x10 break)
    // when the port could be asked for them.
    QString CommInput(std::int32_t &comm_error);
    QString CommInput();
    void CommOutput(const QString &vNewValue);

    QWidget *DebugTextbox() const { return m_debugTextbox.data(); }
    // A QPlainTextEdit, QTextEdit or QLineEdit; nullptr switches it off.
    void setDebugTextbox(QWidget *textbox) { m_debugTextbox = textbox; }
    bool DebugFileOn() const { return m_debugFileOn; }
    void setDebugFileOn(bool on) { m_debugFileOn = on; }

    // The last recorded error: its code (0 when none), its text, and the
    // operating system's reason where there is one.
    int LastError() const { return m_lastError; }
    QString LastErrorText() const { return m_lastErrorText; }
    int LastSystemErrno() const { return m_lastErrno; }
    QString LastSystemError() const;
    void ClearError();

    // The settings the open port accepted last (zero while closed).
    LineSettings PortSettings() const { return m_settings; }
    // The device path OpenPort used or would use.
    QString DevicePath() const { return DevicePathFor(m_portname); }

    // Device path for a port name; empty when the name cannot be one (com0).
    static QString DevicePathFor(const QString &portname);
    // Opens and closes the device at once, as the exclusive open would; 0 on
    // success, else the reason (errno).
    static int TrialOpen(const QString &devicePath);
    // How the text box shows traffic: <Cr>, <Lf> and a line break, printable
    // characters, <hex> for the rest.
    static QString RenderTraffic(const QString &text);
    // Path of the day's log file for a port name under a base folder.
    static QString LogFilePath(const QString &baseDir, const QString &portname, const QDate &date);
    // The port name as a file-name part: path separators replaced.
    static QString PortnameForFiles(const QString &portname);

    static constexpr int kTextboxLimit = 2000;
    static constexpr int kReadBufferSize = 2048;

private:
    bool applySettings(const LineSettings &s);
    void setLineProperty(std::int32_t &field, std::int32_t value,
                         void (*change)(LineSettings &, std::int32_t), bool (*valid)(std::int32_t));
    void record(int code, const QString &text, int sysErrno = 0);
    void LogTraffic(const QString &text);
    int modemBits() const;
    void clearBreakAndErrors(std::int32_t *comm_error);

    std::int32_t m_dtrControl = 0;
    std::int32_t m_rtsControl = 0;
    QString m_pendingInput;
    QString m_portname = QStringLiteral("\\\\.\\COM1");
    std::int32_t m_baudRate = 9600;
    std::int32_t m_parity = 0;
    bool m_checkParity = false;
    std::int32_t m_stopBits = 0;
    std::int32_t m_byteSize = 8;
    int m_fd = -1;
    LineSettings m_settings;
    QPointer<QWidget> m_debugTextbox;
    bool m_debugFileOn = false;

    int m_lastError = 0;
    QString m_lastErrorText;
    int m_lastErrno = 0;
    // Line error counters at the last look (where the driver keeps them).
    int m_icountFrame = 0, m_icountOverrun = 0, m_icountParity = 0, m_icountBrk = 0;
    bool m_icountValid = false;
};
