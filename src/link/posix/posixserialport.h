#pragma once
#include "link/serialport.h"

// termios + poll. Exclusivity is an flock() on the device: TIOCEXCL alone does not stop root.
class PosixSerialPort final : public SerialPort {
public:
    PosixSerialPort() = default;
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool open(const QString& name, int32_t speed) override;
    void close() override;
    bool isOpen() const override { return m_fd >= 0; }
    void setReadTimeouts(int intervalMs, int totalMs) override;
    void purge() override;
    int64_t write(const uint8_t* data, int64_t size) override;
    int64_t read(uint8_t* data, int64_t max) override;
    int bytesQueued() const override;
    PortOpenFailure openFailure() const override { return m_failure; }
    QString errorString() const override { return m_error; }

    // For waiting on the line together with other descriptors (poll).
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
    int m_intervalMs = 1500;
    int m_totalMs = 3500;
    PortOpenFailure m_failure = PortOpenFailure::None;
    QString m_error;

    bool fail(PortOpenFailure failure, const QString& text);
    bool failErrno(int error);
};

// termios speed constant for a baud rate; 0 when the rate is not supported.
unsigned BaudToTermios(int32_t speed);
// Baud rate of a termios speed constant; 0 for one BaudToTermios does not give.
int32_t TermiosToBaud(unsigned constant);
