#pragma once
#include "scanner/scanline.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// The scan event: one scanned code (empty when the code was not recognised).
using TScanEvent = std::function<void(const QString& value)>;

// The scanner reader: the program's only second thread. It owns the scanner port while it runs,
// sleeps in a wait while the line is idle, and hands every log line and every code to the thread
// that created this object (the user-interface thread), waiting until the handler has run.
//
// Init, Disconnect, Start and Stop belong to the creating thread. Stop abandons the pending wait or
// hand-off at once: no handler runs after Stop returns, and a handler may itself call Stop.
class TScanThread : public QObject {
    Q_OBJECT
public:
    explicit TScanThread(QObject* parent = nullptr);
    ~TScanThread() override;
    TScanThread(const TScanThread&) = delete;
    TScanThread& operator=(const TScanThread&) = delete;

    // Opens `comName` exclusively at `comSpeed` baud (decimal text), 8N1, without purging what the
    // scanner already sent. Stops the reader first. False when the port cannot be opened or the
    // speed is not a number the line supports.
    bool Init(const QString& comName, const QString& comSpeed);
    // Stops the reader and closes the port.
    void Disconnect();

    // Runs the reader loop on the port opened by Init; false when no port is open.
    bool Start();
    void Stop();
    bool isRunning() const { return m_thread.joinable(); }
    bool isOpen() const { return m_line.isOpen(); }
    QString errorString() const { return m_error; }

    // Both run on the creating thread.
    void setOnScanEvent(TScanEvent handler) { m_onScanEvent = std::move(handler); }
    void setOnLogScan(std::function<void(const QString& line)> handler) { m_onLogScan = std::move(handler); }

private:
    struct Handoff;

    void Execute();
    // Sleeps up to `ms` unless told to stop; false when stopping.
    bool pause(int ms);
    bool stopping();
    // The synchronous hand-off; false when the reader is being stopped (nothing more may be sent).
    bool handOff(bool scan, const QString& text);
    bool log(const QString& line) { return handOff(false, line); }
    void serve(const std::shared_ptr<Handoff>& h);

    TScanLine m_line;
    QString m_error;
    std::thread m_thread;

    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_stop = false;                 // guarded by m_mutex
    std::shared_ptr<Handoff> m_pending;  // guarded by m_mutex

    TScanEvent m_onScanEvent;
    std::function<void(const QString&)> m_onLogScan;
};
