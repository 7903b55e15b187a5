#pragma once
#include "sim/kktsimulator.h"
#include "sim/publishedpty.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <thread>

// The simulated register on a pseudo-terminal: a thread reads the master side, cuts it into frames,
// lets the KktSimulator answer and writes the answer back. The slave side is published as a
// symbolic link "kkt-sim..." in SimPublishDir(), where the port list finds it.
class SimPtyServer {
public:
    struct Options {
        QString name = QStringLiteral("kkt-sim");  // published name; must start with "kkt-sim"
        // 0: unpaced, answers a client at any speed. Otherwise the register's own speed: every byte
        // takes 10 bits of line time each way, and a client whose line is set to another speed is
        // not understood and gets line noise back.
        int baud = 0;
    };

    SimPtyServer();
    ~SimPtyServer();
    SimPtyServer(const SimPtyServer&) = delete;
    SimPtyServer& operator=(const SimPtyServer&) = delete;

    // Opens the pseudo-terminal, publishes it and starts serving. False with a message when the name
    // is not a simulator name, is published by a running simulator, or the terminal cannot be had.
    bool start(const Options& options, QString* error);
    // Stops serving, closes the line and removes the published link. Safe to call twice.
    void stop();
    bool running() const { return m_thread.joinable(); }

    KktSimulator& sim() { return m_sim; }
    const KktSimulator& sim() const { return m_sim; }
    QString devicePath() const { return m_pty.devicePath(); }  // /dev/pts/N
    QString publishedName() const { return m_pty.name(); }
    QString linkPath() const { return m_pty.linkPath(); }
    // True once the "close" fault has closed the line.
    bool lineClosed() const { return m_lineClosed; }
    void setBaud(int baud) { m_baud = baud; }

private:
    void serve();
    void closeLine();
    // The speed the client set on the line (the terminal's settings are shared); 0 when unknown.
    int clientBaud() const;
    bool waitWake(int ms);  // sleeps up to ms; true when woken to stop
    bool sleepUntil(std::chrono::steady_clock::time_point until);  // true when woken to stop
    // Paced: byte i goes when it has crossed the line from `start` on. Unpaced (baud 0): at once.
    void writePaced(const QByteArray& bytes, int baud, std::chrono::steady_clock::time_point start);

    KktSimulator m_sim;
    PublishedPty m_pty;
    int m_wake[2] = {-1, -1};
    std::atomic<int> m_baud{0};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_lineClosed{false};
    std::thread m_thread;
};
