#include "whole/wholerun.h"

#include "fiscal/registration.h"
#include "whole/partrun.h"

#include <QElapsedTimer>
#include <cmath>

namespace {

// What one exchange of a part costs, in bytes on the line: request and answer, with the pauses (1 ms
// after each purge, 100 ms after each agent) counted as the bytes they last at 115200 (11.5 a
// millisecond). The shares and the time left follow the time the parts take: weighing a parameter
// at a quarter of its 153 bytes made the first estimate, made over the registration data and the
// operators, about twice the real time.
constexpr double kParamWeight = 79 + 74 + 11.5;
constexpr double kGoodsWeight = 77 + 72 + 11.5;
constexpr double kAgentWeight = 255 + 250 + 11.5 + 1152;
constexpr double kRegistrationWeight = 11 + 603 + 11.5;

double ExchangeWeight(TableId id)
{
    switch (id) {
    case TableId::Goods: return kGoodsWeight;
    case TableId::Agents: return kAgentWeight;
    default: return kParamWeight;
    }
}

double TableWeight(TableId id)
{
    return TableDef(id).size * ExchangesPerEntry(id) * ExchangeWeight(id);
}

// The overall share and the time left, from the weights of what is done and what remains.
class TMeter {
public:
    TMeter(const TWholeHooks& hooks, double total) : m_hooks(hooks), m_total(total) { m_clock.start(); }

    void Begin(const QString& part)
    {
        m_part = part;
        Show(0);
    }
    // `done` of the current part's weight is through.
    void Show(double done)
    {
        if (!m_hooks.progress)
            return;
        const double all = m_base + done;
        TWholeProgress p;
        p.part = m_part;
        p.percent = m_total <= 0 ? 100 : int(std::lround(all * 100.0 / m_total));
        if (all > 0)
            p.secondsLeft = int(std::lround(m_clock.elapsed() / 1000.0 * (m_total - all) / all));
        m_hooks.progress(p);
    }
    void End(double weight) { m_base += weight; }
    bool Aborted() const { return m_hooks.aborted && m_hooks.aborted(); }
    const QString& Part() const { return m_part; }

private:
    const TWholeHooks& m_hooks;
    double m_total;
    double m_base = 0;
    QString m_part;
    QElapsedTimer m_clock;
};

TWholeResult Stopped(const QString& part, const QString& message, RunSeverity severity, bool aborted)
{
    TWholeResult r;
    r.part = part;
    r.severity = severity;
    r.aborted = aborted;
    r.message = message + QStringLiteral("\r\nТаблица \"%1\".").arg(part);
    return r;
}

// The part's own hooks with the run's progress and stop laid over them.
TRunHooks PartHooks(TableId id, const TWholeHooks& hooks, TMeter& meter)
{
    TRunHooks h = hooks.partHooks ? hooks.partHooks(id) : TRunHooks{};
    const double weight = ExchangeWeight(id);
    h.progress = [inner = h.progress, &meter, weight](int done, int total) {
        if (inner)
            inner(done, total);
        meter.Show(done * weight);
    };
    h.aborted = [inner = h.aborted, &meter] { return (inner && inner()) || meter.Aborted(); };
    return h;
}

double PartsWeight(const TRegisterParts& parts, bool registration)
{
    double total = registration ? kRegistrationWeight : 0;
    for (int i = 0; i < kPartCount; ++i)
        if (parts.Has(TableId(i)))
            total += TableWeight(TableId(i));
    return total;
}

// The parts of `parts` in order through `run`.
template <typename PartRun>
TWholeResult RunParts(const TRegisterParts& parts, const TWholeHooks& hooks, TMeter& meter, PartRun run)
{
    TWholeResult whole;
    for (int i = 0; i < kPartCount; ++i) {
        const TableId id = TableId(i);
        if (!parts.Has(id))
            continue;
        meter.Begin(TableDef(id).caption);
        const TRunResult r = run(id, PartHooks(id, hooks, meter));
        whole.entries += r.entriesDone;
        if (!r.ok())
            return PartStopped(id, r, whole.entries);
        meter.End(TableWeight(id));
    }
    meter.Show(0);
    return whole;
}

}  // namespace

TWholeResult PartStopped(TableId id, const TRunResult& run, int entries)
{
    TWholeResult r = Stopped(TableDef(id).caption, run.message, run.severity, run.aborted);
    r.entries = entries;
    return r;
}

TWholeResult ReadAll(KktLink& link, const KktLinkArgs& args, TKktRegister& reg, RegistrationData* registration,
                     const TWholeHooks& hooks, const TRegisterParts& parts)
{
    TMeter meter(hooks, PartsWeight(parts, registration != nullptr));
    if (registration) {
        meter.Begin(kRegistrationPartCaption);
        const DataRequestReport r = FiscalDataRequestFun(link, args, *registration);
        if (!r.ok())
            return Stopped(meter.Part(), r.message, RunSeverity::Error, false);
        meter.End(kRegistrationWeight);
        if (meter.Aborted())
            return Stopped(meter.Part(), QStringLiteral("Внимание!\r\nЧтение прервано."), RunSeverity::Information, true);
    }
    return RunParts(parts, hooks, meter,
                    [&](TableId id, const TRunHooks& h) { return ReadPart(id, reg, link, args, h); });
}

TWholeResult WriteAll(KktLink& link, const KktLinkArgs& args, const TKktRegister& reg, const TWholeHooks& hooks,
                      const TRegisterParts& parts)
{
    TMeter meter(hooks, PartsWeight(parts, false));
    return RunParts(parts, hooks, meter, [&](TableId id, const TRunHooks& h) {
        return WritePartRows(id, reg, WholeRange(id), link, args, h);
    });
}

QString WholeProgressText(bool reading, const TWholeProgress& p)
{
    const QString what = reading ? QStringLiteral("Выполняется чтение всех таблиц... Подождите...")
                                 : QStringLiteral("Выполняется запись всех таблиц... Подождите...");
    const QString done = p.part.isEmpty() ? QStringLiteral("Выполнено %1 %").arg(p.percent)
                                          : QStringLiteral("Выполнено %1 %: %2").arg(p.percent).arg(p.part);
    const QString left = p.secondsLeft < 0 ? QStringLiteral("Оставшееся время оценивается")
                                           : QStringLiteral("Осталось около %1 мин %2 с")
                                                 .arg(p.secondsLeft / 60)
                                                 .arg(p.secondsLeft % 60, 2, 10, QLatin1Char('0'));
    return what + u'\n' + done + u'\n' + left;
}
