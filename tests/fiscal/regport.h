#pragma once
#include "answerport.h"
#include "link/kktlink.h"

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

class RegPort final : public AnswerPort {
public:
    explicit RegPort(std::shared_ptr<FakeRegState> s) : m_s(std::move(s)) {}

private:
    QByteArray answer(const QByteArray& request) override
    {
        m_s->writes.push_back(request);
        if (m_s->silent)
            return {};
        KktFrame f;
        f.buf[3] = m_s->status;
        if (request.size() > 6 && request[6] == 'g') {
            f.buf[4] = m_s->held.Registered;
            f.PutFrameInt(5, 4, m_s->held.SerialNumber);
            PutRegistrationFields(f, 9, m_s->held);
            return AnswerFrame(f, 603);
        }
        return AnswerFrame(f, 7);
    }

    std::shared_ptr<FakeRegState> m_s;
};

struct FakeRegister {
    std::shared_ptr<FakeRegState> state = std::make_shared<FakeRegState>();
    KktLink link{[s = state] { return std::make_unique<RegPort>(s); }};
    KktLinkArgs args;
    const QByteArray& lastRequest() const { return state->writes.back(); }
};
