#pragma once
#include "link/kktframe.h"
#include "link/kktlink.h"
#include "link/serialport.h"

#include <QByteArray>
#include <memory>
#include <vector>

// A register for the two registration commands: records every request, answers "x" with `status`
// and "g" with `status` and the fields of `held`. With `silent` it never answers.
struct FakeRegState {
    std::vector<QByteArray> writes;
    uint8_t status = 0;
    bool silent = false;
    RegistrationData held;
};

class RegPort final : public SerialPort {
public:
    explicit RegPort(std::shared_ptr<FakeRegState> s) : m_s(std::move(s)) {}
    bool open(const QString&, int32_t) override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void setReadTimeouts(int, int) override {}
    void purge() override {}
    int64_t write(const uint8_t* data, int64_t size) override
    {
        m_s->writes.emplace_back(reinterpret_cast<const char*>(data), size);
        m_answer.clear();
        if (m_s->silent)
            return size;
        KktFrame f;
        f.buf[0] = 0x17;
        f.buf[1] = 0x02;
        f.buf[3] = m_s->status;
        f.count = 7;
        if (data[6] == 'g') {
            f.buf[4] = m_s->held.Registered;
            f.PutFrameInt(5, 4, m_s->held.SerialNumber);
            PutRegistrationFields(f, 9, m_s->held);
            f.count = 603;
        }
        f.buf[f.count - 3] = KktFrame::kTerminator;
        f.SetFrameChecksum();
        m_answer = QByteArray(reinterpret_cast<const char*>(f.buf.data()), f.count);
        return size;
    }
    int64_t read(uint8_t* data, int64_t max) override
    {
        const int64_t n = std::min<int64_t>(m_answer.size(), max);
        std::copy_n(m_answer.constData(), n, data);
        m_answer.clear();
        return n;
    }
    int bytesQueued() const override { return 0; }
    QString errorString() const override { return {}; }

private:
    std::shared_ptr<FakeRegState> m_s;
    QByteArray m_answer;
    bool m_open = false;
};

struct FakeRegister {
    std::shared_ptr<FakeRegState> state = std::make_shared<FakeRegState>();
    KktLink link{[s = state] { return std::make_unique<RegPort>(s); }};
    KktLinkArgs args;
    const QByteArray& lastRequest() const { return state->writes.back(); }
};
