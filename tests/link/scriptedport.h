#pragma once
#include "link/serialport.h"

#include <QByteArray>
#include <deque>
#include <memory>
#include <vector>

// A register on a script: each write is recorded, each read hands out the next scripted answer
// (an empty answer is silence). Lets the frame rules be checked byte by byte without a line.
struct PortScript {
    bool openSucceeds = true;
    std::deque<QByteArray> answers;
    QByteArray repeatedAnswer;  // used when `answers` runs out; empty = silence
    std::vector<QByteArray> writes;
    int opens = 0;
    int closes = 0;
    bool open = false;
};

class ScriptedPort final : public SerialPort {
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
    void setReadTimeouts(int, int) override {}
    void purge() override {}
    int64_t write(const uint8_t* data, int64_t size) override
    {
        m_script->writes.emplace_back(reinterpret_cast<const char*>(data), size);
        return size;
    }
    int64_t read(uint8_t* data, int64_t max) override
    {
        QByteArray answer = m_script->repeatedAnswer;
        if (!m_script->answers.empty()) {
            answer = m_script->answers.front();
            m_script->answers.pop_front();
        }
        const int64_t n = std::min<int64_t>(answer.size(), max);
        std::copy_n(answer.constData(), n, data);
        return n;
    }
    int bytesQueued() const override { return 0; }
    QString errorString() const override { return {}; }

private:
    std::shared_ptr<PortScript> m_script;
};

// An answer frame of `length` bytes with `status` and a correct checksum; `fill` sets data bytes.
QByteArray MakeAnswer(int length, uint8_t status, const std::vector<std::pair<int, QByteArray>>& fill = {});
