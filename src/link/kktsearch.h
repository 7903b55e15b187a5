#pragma once
#include "link/kktlink.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// Finding the register: every port at every speed with a status request, one probe at a time, so
// that a window can stay responsive (and offer a stop) between probes. A probe waits only as long
// as its speed needs, not the configured time-out; a port stops being probed at its first answer.

// The register's reply latency allowed on top of the line time. A status request needs no work in
// the register beyond reading its state, and a USB adapter adds its latency timer (16 ms by default)
// in each direction; 100 ms is several times both.
constexpr int kProbeMarginMs = 100;
constexpr int kProbeRequestBytes = 11;  // status request
constexpr int kProbeAnswerBytes = 31;   // status answer

// Line time of the status request and its answer at `speed` (10 bits a byte), rounded up, plus the
// margin: the read time-out of one probe.
int ProbeTimeOutMs(int32_t speed);

// The speeds a register can be set to, low to high, as the link dialog lists them.
const QList<int32_t>& KktLineSpeeds();

// The most likely speeds first: 115200 and 19200 (the factory settings), then the others from high
// to low. Speeds are kept once each.
QList<int32_t> SearchSpeedOrder(const QList<int32_t>& speeds);

// Why a port gave nothing, or that it answered.
enum class KktPortVerdict {
    Found,    // a valid answer at `speed`
    Missing,  // the port could not be opened: there is no such device
    Busy,     // the port could not be opened: another program holds it
    Denied,   // the port could not be opened: the system refuses this user access to it
    Refused,  // the port opened but refused the line settings at every speed
    Silent,   // not a byte at any speed
    Noise,    // bytes came, but never a valid answer: something there does not speak this protocol
    Unsearched,  // the search was stopped before it got to this port
};

struct KktPortReport {
    QString port;
    KktPortVerdict verdict = KktPortVerdict::Unsearched;
    int32_t speed = 0;        // Found: the speed it answered at
    KktResult status = KKT_OK;  // Found: the register's status byte
    int probes = 0;           // probes made on this port
    QString systemText;       // Missing, Busy, Denied, Refused: the system's own words
};

// The reason in words, for the user ("не открывается: ...").
QString PortVerdictText(const KktPortReport& report);

class KktSearch {
public:
    // `speeds` in any order (SearchSpeedOrder sorts them); `numKkt` is the register number asked for.
    KktSearch(KktLink& link, const QStringList& ports, const QList<int32_t>& speeds, int32_t numKkt);

    // Makes the next probe; false when there was none left (finished or stopped). The port is closed
    // again when it returns.
    bool Step();
    // No further probe; the reports of ports not reached stay Unsearched.
    void Stop() { m_stopped = true; }

    bool finished() const;
    bool stopped() const { return m_stopped; }
    // The probe Step() makes next; empty port when finished.
    QString nextPort() const;
    int32_t nextSpeed() const;
    // Share of the remaining waiting done, weighted by the probes' time-outs: 0..100.
    int percent() const;
    // Sum of the time-outs of the probes made so far (the time the search had to wait at worst).
    int64_t probeTimeOutsMs() const { return m_waitedMs; }

    const QList<KktPortReport>& reports() const { return m_reports; }
    // Ports that answered, in search order.
    QList<KktPortReport> found() const;

private:
    int64_t remainingMs() const;

    KktLink& m_link;
    QList<int32_t> m_speeds;
    int32_t m_numKkt;
    QList<KktPortReport> m_reports;
    int m_port = 0;   // index into m_reports of the port being probed
    int m_speed = 0;  // index into m_speeds of its next speed
    bool m_sawBytes = false;
    bool m_stopped = false;
    int64_t m_waitedMs = 0;
};
