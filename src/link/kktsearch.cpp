#include "link/kktsearch.h"

#include <algorithm>

int ProbeTimeOutMs(int32_t speed)
{
    if (speed <= 0)
        return kProbeMarginMs;
    const int64_t bits = int64_t(kProbeRequestBytes + kProbeAnswerBytes) * 10;
    return int((bits * 1000 + speed - 1) / speed) + kProbeMarginMs;
}

const QList<int32_t>& KktLineSpeeds()
{
    static const QList<int32_t> speeds{1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    return speeds;
}

QList<int32_t> SearchSpeedOrder(const QList<int32_t>& speeds)
{
    QList<int32_t> rest;
    for (int32_t s : speeds)
        if (!rest.contains(s))
            rest << s;
    std::sort(rest.begin(), rest.end(), std::greater<>());
    QList<int32_t> order;
    for (int32_t likely : {115200, 19200}) {
        if (rest.removeOne(likely))
            order << likely;
    }
    return order + rest;
}

namespace {

QString WithSystemText(const QString& what, const KktPortReport& r)
{
    return r.systemText.isEmpty() ? what : QStringLiteral("%1: %2").arg(what, r.systemText);
}

}  // namespace

QString PortVerdictText(const KktPortReport& r)
{
    switch (r.verdict) {
    case KktPortVerdict::Found:
        return QStringLiteral("ККТ отвечает на скорости %1").arg(r.speed);
    case KktPortVerdict::Missing:
        return r.probes > 1 ? WithSystemText(QStringLiteral("пропал во время поиска (устройство отключено?)"), r)
                            : QStringLiteral("не открывается: ")
                + PortOpenFailureText(PortOpenFailure::Missing, r.systemText);
    case KktPortVerdict::Busy:
        return r.probes > 1
            ? WithSystemText(QStringLiteral("не открывается: порт занят другой программой с середины поиска"), r)
            : QStringLiteral("не открывается: ") + PortOpenFailureText(PortOpenFailure::Busy, r.systemText);
    case KktPortVerdict::Denied:
        return QStringLiteral("не открывается: ") + PortOpenFailureText(PortOpenFailure::Denied, r.systemText);
    case KktPortVerdict::Refused:
        return QStringLiteral("не открывается: ") + PortOpenFailureText(PortOpenFailure::Settings, r.systemText);
    case KktPortVerdict::Silent:
        return QStringLiteral("молчит на всех скоростях (ККТ нет или у неё другой номер ККМ)");
    case KktPortVerdict::Noise:
        return QStringLiteral("приходят байты, но не ответ ККТ: подключено устройство с другим протоколом или помехи");
    case KktPortVerdict::Unsearched:
        break;
    }
    return QStringLiteral("не проверен: поиск остановлен");
}

KktSearch::KktSearch(KktLink& link, const QStringList& ports, const QList<int32_t>& speeds, int32_t numKkt)
    : m_link(link), m_speeds(SearchSpeedOrder(speeds)), m_numKkt(numKkt)
{
    for (const QString& port : ports)
        m_reports.append({port});
}

bool KktSearch::finished() const
{
    return m_port >= m_reports.size() || m_speeds.isEmpty();
}

QString KktSearch::nextPort() const
{
    return finished() ? QString() : m_reports[m_port].port;
}

int32_t KktSearch::nextSpeed() const
{
    return finished() ? 0 : m_speeds[m_speed];
}

bool KktSearch::Step()
{
    if (m_stopped || finished())
        return false;
    KktPortReport& port = m_reports[m_port];
    KktLinkArgs args;
    args.port = port.port;
    args.speed = m_speeds[m_speed];
    args.timeOut = ProbeTimeOutMs(args.speed);
    args.numKkt = m_numKkt;

    // A probe is the search's business, not a command of the window: whoever watches the link's
    // commands is not told of it.
    KktCommandReport probe;
    const KktCommandObserver watcher = m_link.commandObserver();
    m_link.setCommandObserver([&probe](const KktCommandReport& r) { probe = r; });
    KktStatusInfo info;
    m_link.KktStatus(args, info);
    m_link.setCommandObserver(watcher);

    ++port.probes;
    const auto nextPort = [this] {
        ++m_port;
        m_speed = 0;
        m_sawBytes = false;
    };
    if (!probe.linkFailed) {
        port.verdict = KktPortVerdict::Found;
        port.speed = args.speed;
        port.status = probe.result;
        m_waitedMs += args.timeOut;
        nextPort();
        return true;
    }
    if (probe.result == KKT_PORT_FAILED) {
        port.systemText = probe.openError;
        if (probe.openFailure == PortOpenFailure::Settings) {
            // A speed the adapter cannot do says nothing of the others.
            if (++m_speed >= m_speeds.size()) {
                port.verdict = m_sawBytes ? KktPortVerdict::Noise : KktPortVerdict::Refused;
                nextPort();
            }
            return true;
        }
        // Opening does not depend on the speed: the other speeds would fail the same way.
        port.verdict = probe.openFailure == PortOpenFailure::Missing ? KktPortVerdict::Missing
            : probe.openFailure == PortOpenFailure::Denied           ? KktPortVerdict::Denied
                                                                     : KktPortVerdict::Busy;
        nextPort();
        return true;
    }
    m_waitedMs += args.timeOut;
    if (probe.result == KKT_BAD_CHECKSUM) {
        m_sawBytes = true;
        // A register at another speed may still be sending: its tail would spoil the next probe.
        // It runs at most as long as an answer at the lowest speed; it is over once the line has
        // stayed quiet for two byte times at this speed plus a USB adapter's latency timer.
        constexpr int kAdapterLatencyMs = 16;
        const int byteMs = (10 * 1000 + args.speed - 1) / args.speed;
        m_link.DrainKktPort(args, 2 * byteMs + kAdapterLatencyMs, ProbeTimeOutMs(KktLineSpeeds().front()));
    }
    if (++m_speed >= m_speeds.size()) {
        port.verdict = m_sawBytes ? KktPortVerdict::Noise : KktPortVerdict::Silent;
        nextPort();
    }
    return true;
}

int64_t KktSearch::remainingMs() const
{
    int64_t all = 0;
    for (int32_t s : m_speeds)
        all += ProbeTimeOutMs(s);
    int64_t left = 0;
    for (int p = m_port; p < m_reports.size(); ++p) {
        if (p > m_port) {
            left += all;
            continue;
        }
        for (int s = m_speed; s < m_speeds.size(); ++s)
            left += ProbeTimeOutMs(m_speeds[s]);
    }
    return left;
}

int KktSearch::percent() const
{
    if (finished())
        return 100;
    const int64_t left = remainingMs();
    const int64_t total = m_waitedMs + left;
    return total > 0 ? int(m_waitedMs * 100 / total) : 0;
}

QList<KktPortReport> KktSearch::found() const
{
    QList<KktPortReport> hits;
    for (const KktPortReport& r : m_reports)
        if (r.verdict == KktPortVerdict::Found)
            hits << r;
    return hits;
}
