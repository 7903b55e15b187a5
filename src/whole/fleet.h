#pragma once
#include "link/kktlink.h"
#include "link/serialport.h"
#include "whole/wholerun.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// Several registers at once: the same work for every register of a shop, each on a port of its own,
// driven by a thread of its own through a link of its own (one frame, one port, one command at a
// time, as with a single register). One register's failure never stops the others; the time of the
// whole is about that of the slowest register, since the work is waiting on the lines.

// What one register's work came to.
struct TFleetReport {
    KktLinkArgs link;
    bool ok = false;
    QString serial;        // the register's serial number, as it answered; empty when it did not
    QString sourceSerial;  // a copy written to it: the serial number of the register it was made of
    QString result;        // in words: what was done, or what failed and why (one line)
    int entries = 0;       // entries completely written or read
    qint64 ms = 0;         // the register's work from start to end
};

// One register's work: `link` is its own, `args` its port and speed; `hooks` carry its progress and
// the stop. `report` arrives with the link filled in.
using TFleetJob = std::function<void(KktLink& link, const KktLinkArgs& args, const TWholeHooks& hooks, TFleetReport& report)>;

struct TFleetHooks {
    // Called from the registers' threads, possibly from several at once.
    std::function<void(int index, const TWholeProgress& progress)> progress;
    std::function<void(int index, const TFleetReport& report)> finished;
    // Polled between exchanges from every register's thread: true stops them all.
    std::function<bool()> aborted;
    // Each register's link gets the frame log this gives for its index (none when empty).
    std::function<KktFrameLog*(int index)> frameLog;
    // The ports of the links; empty: the system's serial ports.
    std::function<std::unique_ptr<SerialPort>()> portFactory;
};

// Runs `job` for every link at once; returns when every register is done, the reports in the order
// of `links`.
QList<TFleetReport> RunFleet(const QList<KktLinkArgs>& links, const TFleetJob& job, const TFleetHooks& hooks = {});

// A port named twice (as the system opens names, a link and its device being one): the second
// name, or empty when every port is named once.
QString RepeatedPort(const QStringList& ports);

// A file name for each register from a pattern: "{serial}" becomes the register's serial number and
// "{port}" its port's name (without folders).
QString FleetFileName(const QString& pattern, const KktLinkArgs& link, const QString& serial);
bool FleetPatternNamesEach(const QString& pattern);

// The register's serial number from its registration data; empty (and `why` told) when it did not answer.
QString ReadSerial(KktLink& link, const KktLinkArgs& args, QString* why = nullptr);

// Runs `work` keeping the link's last failed command in `last`, for the words of a failure.
template <typename Work>
auto WatchingFailures(KktLink& link, KktCommandReport& last, Work work)
{
    const KktCommandObserver before = link.commandObserver();
    link.setCommandObserver([&last](const KktCommandReport& r) {
        if (r.result != KKT_OK)
            last = r;
    });
    const auto result = work();
    link.setCommandObserver(before);
    return result;
}

// A whole run's result into the report: its entries, and `done` or the failure in words.
void TakeWholeResult(const TWholeResult& r, const KktCommandReport& last, const QString& done, TFleetReport& report);

// A failed run's message on one line, with what the link's last failure means ("нет ответа", ...).
QString FleetFailure(const QString& message, const KktCommandReport& last);

// The closing table: one line per register (port, serial number, result in words, entries, time)
// under a heading; a copy made of another register shows both serial numbers.
QStringList FleetTable(const QList<TFleetReport>& reports);

// Seconds with one decimal, as the table shows a time: "12,3 с".
QString FleetSeconds(qint64 ms);
