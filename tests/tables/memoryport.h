#pragma once
#include "link/kktframe.h"
#include "link/serialport.h"
#include "sim/kktsimulator.h"

#include <QByteArray>
#include <functional>

// A line straight into an in-process simulator: every write is one request, its answer waits to be
// read. `tamper` may rewrite an answer before the link reads it (the checksum is summed again).
class SimMemoryPort : public SerialPort {
public:
    SimMemoryPort(KktSimulator& sim, std::function<void(QByteArray&)> tamper = {})
        : m_sim(sim), m_tamper(std::move(tamper))
    {
    }
    bool open(const QString&, int32_t) override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void setReadTimeouts(int, int) override {}
    void purge() override { m_pending.clear(); }
    int64_t write(const uint8_t* data, int64_t size) override
    {
        m_pending = m_sim.handleFrame(QByteArray(reinterpret_cast<const char*>(data), size));
        if (m_tamper && m_pending.size() > 4) {
            m_tamper(m_pending);
            KktFrame f;
            f.count = uint32_t(m_pending.size());
            std::copy(m_pending.begin(), m_pending.end(), f.buf.begin());
            f.SetFrameChecksum();
            m_pending = QByteArray(reinterpret_cast<const char*>(f.buf.data()), f.count);
        }
        return size;
    }
    int64_t read(uint8_t* data, int64_t max) override
    {
        const int64_t n = std::min<int64_t>(max, m_pending.size());
        std::copy(m_pending.begin(), m_pending.begin() + n, data);
        m_pending.remove(0, n);
        return n;
    }
    int bytesQueued() const override { return int(m_pending.size()); }
    QString errorString() const override { return {}; }

private:
    KktSimulator& m_sim;
    std::function<void(QByteArray&)> m_tamper;
    QByteArray m_pending;
    bool m_open = false;
};
