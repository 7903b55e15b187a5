#pragma once
#include <QString>
#include <cstdint>
#include <memory>

// The scanner's serial line as the reader thread uses it: waits that the owning thread can end at
// once from outside, and reads of what is already queued. Each system has its own (posix/: poll on
// the port and an eventfd; win/: an overlapped WaitCommEvent and a stop event).
//
// open, close and wake/rearm belong to the owning thread; waitForData, bytesQueued, read and pause
// to the reader thread while it runs.
class TScanLine {
public:
    enum class Wait { Data, Failed, Stopped };

    TScanLine();
    ~TScanLine();
    TScanLine(const TScanLine&) = delete;
    TScanLine& operator=(const TScanLine&) = delete;

    // Exclusive, `speed` baud 8N1; what the scanner already sent is not purged. False with
    // errorString() set when the port does not open or refuses the speed.
    bool open(const QString& name, int32_t speed);
    void close();
    bool isOpen() const;
    QString errorString() const;

    // Blocks until bytes are queued (Data), the line fails (Failed) or wake() was called (Stopped).
    Wait waitForData();
    int bytesQueued() const;
    // Reads up to `max` of the queued bytes without waiting; what arrived, 0 on a read error.
    int read(uint8_t* buffer, int max);
    // Sleeps `ms` unless woken; false when woken.
    bool pause(int ms);

    // Ends any wait or pause of the reader, now and until rearm().
    void wake();
    void rearm();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
