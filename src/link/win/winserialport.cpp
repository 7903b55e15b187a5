#include "link/win/winserialport.h"

#include "link/portnames.h"
#include "link/win/winerror.h"

#include <timeapi.h>

std::unique_ptr<SerialPort> CreateSerialPort()
{
    return std::make_unique<WinSerialPort>();
}

PortOpenFailure PortOpenFailureOf(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_UNIT:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_GEN_FAILURE:  // an adapter unplugged while its port number is still known
        return PortOpenFailure::Missing;
    case ERROR_ACCESS_DENIED:  // what a COM port answers while another program has it open
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        return PortOpenFailure::Busy;
    default:
        return PortOpenFailure::Denied;
    }
}

WinSerialPort::~WinSerialPort()
{
    close();
}

bool WinSerialPort::fail(PortOpenFailure failure, DWORD code)
{
    m_failure = failure;
    m_error = WindowsErrorText(code);
    return false;
}

bool WinSerialPort::open(const QString& name, int32_t speed)
{
    close();
    if (name.isEmpty()) {
        m_failure = PortOpenFailure::Missing;
        m_error = QStringLiteral("имя порта не задано");
        return false;
    }
    const QString path = ResolvePortPath(name);
    HANDLE handle = CreateFileW(WideName(path), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return fail(PortOpenFailureOf(code), code);
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb)) {
        const DWORD code = GetLastError();
        CloseHandle(handle);
        return fail(PortOpenFailure::Settings, code);
    }
    // Speed and 8N1; flow control and special characters stay as the driver reported them.
    dcb.BaudRate = DWORD(speed);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    if (!SetCommState(handle, &dcb)) {
        const DWORD code = GetLastError();
        CloseHandle(handle);
        return fail(PortOpenFailure::Settings, code);
    }
    m_handle = handle;
    if (!applyTimeouts()) {
        const DWORD code = GetLastError();
        CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return fail(PortOpenFailure::Settings, code);
    }
    timeBeginPeriod(1);
    m_failure = PortOpenFailure::None;
    m_error.clear();
    return true;
}

bool WinSerialPort::applyTimeouts()
{
    COMMTIMEOUTS timeouts{};
    if (!GetCommTimeouts(m_handle, &timeouts))
        return false;
    // The interval time-out runs from a received byte to the next; the total one bounds the read.
    timeouts.ReadIntervalTimeout = DWORD(m_intervalMs);
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = DWORD(m_totalMs);
    // The driver's write time-outs are kept, unless they say "never": a line held by flow control
    // would then block the program for good.
    if (timeouts.WriteTotalTimeoutMultiplier == 0 && timeouts.WriteTotalTimeoutConstant == 0)
        timeouts.WriteTotalTimeoutConstant = DWORD(m_totalMs);
    return SetCommTimeouts(m_handle, &timeouts) != 0;
}

void WinSerialPort::close()
{
    if (m_handle == INVALID_HANDLE_VALUE)
        return;
    CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    timeEndPeriod(1);
}

void WinSerialPort::setReadTimeouts(int intervalMs, int totalMs)
{
    m_intervalMs = intervalMs;
    m_totalMs = totalMs;
    if (isOpen())
        applyTimeouts();
}

void WinSerialPort::purge()
{
    if (isOpen())
        PurgeComm(m_handle, PURGE_TXCLEAR | PURGE_RXCLEAR);
}

int64_t WinSerialPort::write(const uint8_t* data, int64_t size)
{
    if (!isOpen())
        return 0;
    DWORD written = 0;
    WriteFile(m_handle, data, DWORD(size), &written, nullptr);  // the count decides, not the flag
    return written;
}

int64_t WinSerialPort::read(uint8_t* data, int64_t max)
{
    if (!isOpen())
        return 0;
    DWORD got = 0;
    ReadFile(m_handle, data, DWORD(max), &got, nullptr);
    return got;
}

int WinSerialPort::bytesQueued() const
{
    DWORD errors = 0;
    COMSTAT status{};
    if (!isOpen() || !ClearCommError(m_handle, &errors, &status))
        return 0;
    return int(status.cbInQue);
}
