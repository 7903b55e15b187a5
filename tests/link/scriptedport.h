#pragma once
#include "answerport.h"

#include <QByteArray>
#include <deque>
#include <memory>
#include <vector>

// A register on a script: each write is recorded and answered by the next scripted answer (an empty
// answer is silence). Lets the frame rules be checked byte by byte without a line.
struct PortScript {
    bool openSucceeds = true;
    std::deque<QByteArray> answers;
    QByteArray repeatedAnswer;  // used when `answers` runs out; empty = silence
    std::vector<QByteArray> writes;
    int opens = 0;
    int closes = 0;
    bool open = false;
};

class ScriptedPort final : public AnswerPort {
public:
    explicit ScriptedPort(std::shared_ptr<PortScript> script) : m_script(std::move(script)) {}
    bool open(const QString&, int32_t) override
    {
        ++m_script->opens;
        m_script->open = m_script->openSucceeds;
        return m_script->open;
    }
    void close() override
    {
        if (m_script->open)
            ++m_script->closes;
        m_script->open = false;
    }
    bool isOpen() const override { return m_script->open; }

private:
    QByteArray answer(const QByteArray& request) override
    {
        m_script->writes.push_back(request);
        if (m_script->answers.empty())
            return m_script->repeatedAnswer;
        QByteArray next = m_script->answers.front();
        m_script->answers.pop_front();
        return next;
    }

    std::shared_ptr<PortScript> m_script;
};
