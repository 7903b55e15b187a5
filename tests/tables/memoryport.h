#pragma once
#include "answerport.h"
#include "sim/kktsimulator.h"

#include <QByteArray>
#include <functional>

// A line straight into an in-process simulator: every write is one request, its answer waits to be
// read. `tamper` may rewrite an answer before the link reads it (the checksum is summed again).
class SimMemoryPort : public AnswerPort {
public:
    SimMemoryPort(KktSimulator& sim, std::function<void(QByteArray&)> tamper = {})
        : m_sim(sim), m_tamper(std::move(tamper))
    {
    }

private:
    QByteArray answer(const QByteArray& request) override
    {
        QByteArray pending = m_sim.handleFrame(request);
        if (m_tamper && pending.size() > 4) {
            m_tamper(pending);
            KktFrame f;
            f.count = uint32_t(pending.size());
            std::copy(pending.begin(), pending.end(), f.buf.begin());
            f.SetFrameChecksum();
            pending = QByteArray(reinterpret_cast<const char*>(f.buf.data()), f.count);
        }
        return pending;
    }

    KktSimulator& m_sim;
    std::function<void(QByteArray&)> m_tamper;
};
