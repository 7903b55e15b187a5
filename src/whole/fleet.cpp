#include "whole/fleet.h"

#include "link/portnames.h"
#include "text/messageline.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <thread>
#include <vector>

QList<TFleetReport> RunFleet(const QList<KktLinkArgs>& links, const TFleetJob& job, const TFleetHooks& hooks)
{
    QList<TFleetReport> reports(links.size());
    std::vector<std::thread> threads;
    threads.reserve(size_t(links.size()));
    for (int i = 0; i < links.size(); ++i) {
        threads.emplace_back([&, i] {
            QElapsedTimer clock;
            clock.start();
            const auto link = hooks.portFactory ? std::make_unique<KktLink>(hooks.portFactory) : std::make_unique<KktLink>();
            if (hooks.frameLog)
                link->setFrameLog(hooks.frameLog(i));
            TWholeHooks h;
            if (hooks.progress)
                h.progress = [&hooks, i](const TWholeProgress& p) { hooks.progress(i, p); };
            h.aborted = hooks.aborted;
            TFleetReport& report = reports[i];
            report.link = links[i];
            job(*link, links[i], h, report);
            report.ms = clock.elapsed();
            if (hooks.finished)
                hooks.finished(i, report);
        });
    }
    for (std::thread& t : threads)
        t.join();
    return reports;
}

QString RepeatedPort(const QStringList& ports)
{
    QStringList seen;
    for (const QString& port : ports) {
        const QString path = ResolvePortPath(port);
        const QString canonical = QFileInfo(path).canonicalFilePath();
        QString key = canonical.isEmpty() ? path : canonical;
#ifdef Q_OS_WIN
        key = key.toUpper();  // "com3" and "COM3" are one port there
#endif
        if (seen.contains(key))
            return port;
        seen << key;
    }
    return {};
}

QString FleetFileName(const QString& pattern, const KktLinkArgs& link, const QString& serial)
{
    QString name = pattern;
    name.replace(QStringLiteral("{serial}"), serial.isEmpty() ? QStringLiteral("без-номера") : serial);
    name.replace(QStringLiteral("{port}"), QFileInfo(link.port).fileName());
    return name;
}

bool FleetPatternNamesEach(const QString& pattern)
{
    return pattern.contains(QStringLiteral("{serial}")) || pattern.contains(QStringLiteral("{port}"));
}

QString ReadSerial(KktLink& link, const KktLinkArgs& args, QString* why)
{
    RegistrationData data;
    KktCommandReport last;
    const KktResult r = WatchingFailures(link, last, [&] { return link.KktRegData(args, data); });
    if (r == KKT_OK)
        return QString::number(data.SerialNumber);
    if (why)
        *why = FleetFailure(QStringLiteral("Ошибка (%1) при запросе регистрационных данных.").arg(r), last);
    return {};
}

QString FleetFailure(const QString& message, const KktCommandReport& last)
{
    const QString text = StatusLine(message);
    if (last.result == KKT_OK)
        return text;
    QString reason;
    if (!last.linkFailed)
        reason = KktLink::IsRepeatStatus(last.result) ? QStringLiteral("ККТ осталась занята")
                                                       : QStringLiteral("ККТ вернула ошибку %1").arg(last.result);
    else if (last.result == KKT_PORT_FAILED)
        reason = QStringLiteral("порт не открылся: ") + PortOpenFailureText(last.openFailure, last.openError);
    else if (last.result == KKT_NO_ANSWER)
        reason = QStringLiteral("нет ответа");
    else
        reason = QStringLiteral("неверная контрольная сумма ответа");
    return reason + QStringLiteral(": ") + text;
}

void TakeWholeResult(const TWholeResult& r, const KktCommandReport& last, const QString& done, TFleetReport& report)
{
    report.entries = r.entries;
    report.ok = r.ok();
    report.result = r.ok() ? done : FleetFailure(r.message, last);
}

QString FleetSeconds(qint64 ms)
{
    return QStringLiteral("%1 с").arg(QString::number(ms / 1000.0, 'f', 1).replace(u'.', u','));
}

QStringList FleetTable(const QList<TFleetReport>& reports)
{
    QList<QStringList> rows{{QStringLiteral("Порт"), QStringLiteral("Заводской номер"), QStringLiteral("Результат"),
                             QStringLiteral("Записей"), QStringLiteral("Время")}};
    for (const TFleetReport& r : reports) {
        QString serial = r.serial.isEmpty() ? QStringLiteral("-") : r.serial;
        if (!r.sourceSerial.isEmpty() && r.sourceSerial != r.serial)
            serial += QStringLiteral(" (копия с %1)").arg(r.sourceSerial);
        rows.append({r.link.port, serial, (r.ok ? QStringLiteral("успешно: ") : QStringLiteral("ошибка: ")) + r.result,
                     QString::number(r.entries), FleetSeconds(r.ms)});
    }
    QList<qsizetype> widths(rows.first().size(), 0);
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c + 1 < row.size(); ++c)
            widths[c] = qMax(widths[c], row[c].size());
    QStringList lines;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype c = 0; c + 1 < row.size(); ++c)
            line += row[c].leftJustified(widths[c] + 2);
        lines << line + row.last();
    }
    return lines;
}
