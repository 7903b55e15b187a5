#pragma once
#include <QString>
#include <cstdint>
#include <memory>

// Why a port did not open. The register's result stays 1 whatever the reason; the reason is for the
// user, who can do something about each one.
enum class PortOpenFailure {
    None,
    Missing,   // no such device (unplugged adapter, wrong name)
    Busy,      // another program holds it
    Denied,    // the system refuses this user access to the device
    Settings,  // it opened but refused the speed or the line settings
};

// One serial line, opened exclusively by name. The register link uses it synchronously; each
// system has its implementation in files of its own (posix/, win/).
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Exclusive open of a port name (see portnames.h), raw 8 data bits, no parity, one stop bit at
    // `speed` baud. False, with the port closed, when the port is missing, busy or refuses the
    // settings; openFailure() and errorString() then say why.
    virtual bool open(const QString& name, int32_t speed) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // A read ends when `max` bytes arrived, when `intervalMs` pass after a byte without another one,
    // or when `totalMs` passed since the read began.
    virtual void setReadTimeouts(int intervalMs, int totalMs) = 0;
    // Discards pending output and input.
    virtual void purge() = 0;
    // Blocking write of all bytes (bounded by the total read time-out); returns the bytes written.
    virtual int64_t write(const uint8_t* data, int64_t size) = 0;
    // Blocking read by the time-outs above; returns the bytes received (0 on silence or a lost line).
    virtual int64_t read(uint8_t* data, int64_t max) = 0;
    // Bytes received and not yet read.
    virtual int bytesQueued() const = 0;

    // The reason of the last failed open, and the system's own text for it.
    virtual PortOpenFailure openFailure() const = 0;
    virtual QString errorString() const = 0;
};

std::unique_ptr<SerialPort> CreateSerialPort();

// The reason of a failed open in words, with the system's text: "порт занят другой программой (...)".
QString PortOpenFailureText(PortOpenFailure failure, const QString& systemText);
