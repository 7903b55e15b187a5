#pragma once
#include "link/serialport.h"

#include <windows.h>

// The Win32 communications functions, synchronous: CreateFileW on "\\.\COMn" (exclusive),
// GetCommState/SetCommState, GetCommTimeouts/SetCommTimeouts, PurgeComm, WriteFile, ReadFile,
// ClearCommError, CloseHandle. While a port is open the system timer runs at 1 ms, so that the
// pause after each purge is not stretched to a 15.6 ms tick.
class WinSerialPort final : public SerialPort {
public:
    WinSerialPort() = default;
    ~WinSerialPort() override;
    WinSerialPort(const WinSerialPort&) = delete;
    WinSerialPort& operator=(const WinSerialPort&) = delete;

    bool open(const QString& name, int32_t speed) override;
    void close() override;
    bool isOpen() const override { return m_handle != INVALID_HANDLE_VALUE; }
    void setReadTimeouts(int intervalMs, int totalMs) override;
    void purge() override;
    int64_t write(const uint8_t* data, int64_t size) override;
    int64_t read(uint8_t* data, int64_t max) override;
    int bytesQueued() const override;
    PortOpenFailure openFailure() const override { return m_failure; }
    QString errorString() const override { return m_error; }

private:
    bool fail(PortOpenFailure failure, DWORD code);
    bool applyTimeouts();

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    int m_intervalMs = 1500;
    int m_totalMs = 3500;
    PortOpenFailure m_failure = PortOpenFailure::None;
    QString m_error;
};

// How a failed CreateFileW on a port reads to the user.
PortOpenFailure PortOpenFailureOf(DWORD code);
