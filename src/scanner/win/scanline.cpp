#include "scanner/scanline.h"

#include "link/portnames.h"
#include "link/win/winerror.h"

#include <windows.h>

// Overlapped serial I/O: WaitCommEvent for received characters, ended by the stop event through
// WaitForMultipleObjects; reads take only what ClearCommError reports queued.
struct TScanLine::Impl {
    HANDLE port = INVALID_HANDLE_VALUE;
    HANDLE waitEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);  // manual reset, initially signalled
    HANDLE readEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    QString error;

    ~Impl()
    {
        for (HANDLE h : {waitEvent, readEvent, stopEvent}) {
            if (h)
                CloseHandle(h);
        }
    }

    bool fail(HANDLE opened)
    {
        const DWORD code = GetLastError();
        error = WindowsErrorText(code);
        if (opened != INVALID_HANDLE_VALUE)
            CloseHandle(opened);
        return false;
    }
};

TScanLine::TScanLine() : d(std::make_unique<Impl>()) {}

TScanLine::~TScanLine()
{
    close();
}

bool TScanLine::open(const QString& name, int32_t speed)
{
    close();
    if (!d->waitEvent || !d->readEvent || !d->stopEvent)
        return d->fail(INVALID_HANDLE_VALUE);
    HANDLE port = CreateFileW(WideName(ResolvePortPath(name)), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE)
        return d->fail(port);
    if (!SetCommMask(port, EV_RXCHAR))
        return d->fail(port);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb))
        return d->fail(port);
    dcb.BaudRate = DWORD(speed);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    if (!SetCommState(port, &dcb))
        return d->fail(port);
    // A read returns at once with what is queued: the reader only ever asks for that much, and a
    // read must never wait past a stop.
    COMMTIMEOUTS timeouts{};
    GetCommTimeouts(port, &timeouts);
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    SetCommTimeouts(port, &timeouts);
    d->port = port;
    d->error.clear();
    return true;
}

void TScanLine::close()
{
    if (d->port == INVALID_HANDLE_VALUE)
        return;
    CloseHandle(d->port);
    d->port = INVALID_HANDLE_VALUE;
}

bool TScanLine::isOpen() const
{
    return d->port != INVALID_HANDLE_VALUE;
}

QString TScanLine::errorString() const
{
    return d->error;
}

TScanLine::Wait TScanLine::waitForData()
{
    for (;;) {
        // WaitCommEvent reports characters that arrive from now on; what is queued already is data now.
        if (bytesQueued() > 0)
            return Wait::Data;
        OVERLAPPED overlapped{};
        overlapped.hEvent = d->waitEvent;
        ResetEvent(d->waitEvent);
        DWORD mask = 0;
        if (!WaitCommEvent(d->port, &mask, &overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING)
                return Wait::Failed;
            const HANDLE handles[2] = {d->waitEvent, d->stopEvent};
            const DWORD signal = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
            if (signal != WAIT_OBJECT_0) {
                // Stopped (or the wait itself failed): the pending wait must end before `overlapped` goes.
                CancelIo(d->port);
                DWORD ignored = 0;
                GetOverlappedResult(d->port, &overlapped, &ignored, TRUE);
                return signal == WAIT_OBJECT_0 + 1 ? Wait::Stopped : Wait::Failed;
            }
            DWORD ignored = 0;
            if (!GetOverlappedResult(d->port, &overlapped, &ignored, FALSE)) {
                // A wait the system abandoned is no fault of the line: wait again. (Wine abandons it
                // every 10 ms on a device without modem lines, such as a pseudo-terminal.)
                if (GetLastError() == ERROR_OPERATION_ABORTED && WaitForSingleObject(d->stopEvent, 0) != WAIT_OBJECT_0)
                    continue;
                return Wait::Failed;
            }
        }
        if (WaitForSingleObject(d->stopEvent, 0) == WAIT_OBJECT_0)
            return Wait::Stopped;
        return (mask & EV_RXCHAR) && bytesQueued() > 0 ? Wait::Data : Wait::Failed;
    }
}

int TScanLine::bytesQueued() const
{
    DWORD errors = 0;
    COMSTAT status{};
    if (d->port == INVALID_HANDLE_VALUE || !ClearCommError(d->port, &errors, &status))
        return 0;
    return int(status.cbInQue);
}

int TScanLine::read(uint8_t* buffer, int max)
{
    OVERLAPPED overlapped{};
    overlapped.hEvent = d->readEvent;
    ResetEvent(d->readEvent);
    DWORD got = 0;
    if (!ReadFile(d->port, buffer, DWORD(max), &got, &overlapped)) {
        if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(d->port, &overlapped, &got, TRUE))
            return 0;
    }
    return int(got);
}

bool TScanLine::pause(int ms)
{
    return WaitForSingleObject(d->stopEvent, DWORD(ms)) != WAIT_OBJECT_0;
}

void TScanLine::wake()
{
    SetEvent(d->stopEvent);
}

void TScanLine::rearm()
{
    ResetEvent(d->stopEvent);
}
