#include "scanner/scanthread.h"

#include "scanner/scanrecognizer.h"

#include <algorithm>

namespace {

// Status word of a wait that did not complete at once, as the log has always shown it.
constexpr int kWaitPending = 259;
// After a hang-up or error on the line, how long the reader rests before it looks again: a vanished
// adapter must not turn the loop into a busy one that floods the log.
constexpr int kHangUpRestMs = 200;
// After each read: the rest of a code sent in one burst is then already queued.
constexpr int kBurstPauseMs = 50;

const QString kStars(34, QLatin1Char('*'));
const QString kDashes(34, QLatin1Char('-'));

}  // namespace

struct TScanThread::Handoff {
    bool scan = false;
    QString text;
    bool done = false;       // the handler has run
    bool cancelled = false;  // Stop came first: the handler must not run
};

TScanThread::TScanThread(QObject* parent) : QObject(parent) {}

TScanThread::~TScanThread()
{
    Disconnect();
}

bool TScanThread::Init(const QString& comName, const QString& comSpeed)
{
    Disconnect();
    bool ok = false;
    const int speed = comSpeed.toInt(&ok, 10);
    if (!ok) {
        m_error = QStringLiteral("'%1' is not a valid integer value").arg(comSpeed);
        return false;
    }
    if (!m_line.open(comName, speed)) {
        m_error = m_line.errorString();
        return false;
    }
    m_error.clear();
    return true;
}

void TScanThread::Disconnect()
{
    Stop();
    m_line.close();
}

bool TScanThread::Start()
{
    if (isRunning())
        return true;
    if (!m_line.isOpen())
        return false;
    m_line.rearm();
    {
        std::lock_guard lock(m_mutex);
        m_stop = false;
        m_pending.reset();
    }
    m_thread = std::thread([this] { Execute(); });
    return true;
}

void TScanThread::Stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        if (m_pending)
            m_pending->cancelled = true;  // a queued hand-off that has not run yet never will
    }
    m_cv.notify_all();
    m_line.wake();
    m_thread.join();
}

bool TScanThread::stopping()
{
    std::lock_guard lock(m_mutex);
    return m_stop;
}

bool TScanThread::handOff(bool scan, const QString& text)
{
    auto h = std::make_shared<Handoff>();
    h->scan = scan;
    h->text = text;
    {
        std::lock_guard lock(m_mutex);
        if (m_stop)
            return false;
        m_pending = h;
    }
    QMetaObject::invokeMethod(this, [this, h] { serve(h); }, Qt::QueuedConnection);
    std::unique_lock lock(m_mutex);
    m_cv.wait(lock, [&] { return h->done || m_stop; });
    m_pending.reset();
    return !m_stop;
}

void TScanThread::serve(const std::shared_ptr<Handoff>& h)
{
    {
        std::lock_guard lock(m_mutex);
        if (h->cancelled)
            return;
    }
    if (h->scan) {
        if (m_onScanEvent)
            m_onScanEvent(h->text);
    } else if (m_onLogScan) {
        m_onLogScan(h->text);
    }
    {
        std::lock_guard lock(m_mutex);
        h->done = true;
    }
    m_cv.notify_all();
}

bool TScanThread::pause(int ms)
{
    return m_line.pause(ms) && !stopping();
}

void TScanThread::Execute()
{
    TScanRecognizer code;
    uint8_t buf[TScanRecognizer::kReadMax];
    while (!stopping()) {
        // A wait is "pending" when nothing is queued as it starts: the line was idle, so whatever
        // was collected cannot belong to the code that comes next.
        const bool pending = m_line.bytesQueued() == 0;
        if (!log(QStringLiteral("ovlp.Internal = %1").arg(pending ? kWaitPending : 0)))
            return;
        if (pending) {
            code.StartNewCode();
            if (!log(kStars))
                return;
        }
        const TScanLine::Wait wait = m_line.waitForData();
        if (wait == TScanLine::Wait::Stopped || !log(kDashes))
            return;
        if (wait == TScanLine::Wait::Failed) {
            if (!pause(kHangUpRestMs))
                return;
            continue;
        }
        const int btr = m_line.bytesQueued();
        if (!log(QStringLiteral("btr = %1").arg(btr)))
            return;
        if (btr == 0)
            continue;

        std::fill(std::begin(buf), std::end(buf), uint8_t{0});
        const int n = m_line.read(buf, std::min(btr, TScanRecognizer::kReadMax));  // read errors go unreported
        const QString text = BufToLogText(buf, TScanRecognizer::kReadMax);
        if (text.isEmpty())
            continue;
        if (!log(QStringLiteral("buf = ") + text) || !pause(kBurstPauseMs))
            return;

        const TScanRecognizer::Result r = code.Feed(buf, n);
        for (const QString& line : r.log) {
            if (!log(line))
                return;
        }
        if (r.complete && !handOff(true, r.value))
            return;
    }
}
