#pragma once
#include "link/kktframe.h"
#include "link/serialport.h"

#include <QByteArray>
#include <utility>
#include <vector>

// A register inside the test process: every write is one request, and whatever answer() makes of it
// waits to be read. Nothing is paced; the line always opens unless a fake says otherwise.
class AnswerPort : public SerialPort {
public:
    bool open(const QString&, int32_t) override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void setReadTimeouts(int, int) override {}
    void purge() override { m_pending.clear(); }
    int64_t write(const uint8_t* data, int64_t size) override;
    int64_t read(uint8_t* data, int64_t max) override;
    int bytesQueued() const override { return int(m_pending.size()); }
    PortOpenFailure openFailure() const override { return PortOpenFailure::Missing; }
    QString errorString() const override { return {}; }

protected:
    // The bytes sent back for `request`; empty for silence.
    virtual QByteArray answer(const QByteArray& request) = 0;

private:
    QByteArray m_pending;
    bool m_open = false;
};

// The first `length` bytes of `f` as an answer frame: start bytes, terminator and checksum set,
// every other byte (register number, status, data) as the caller left it.
QByteArray AnswerFrame(KktFrame f, int length);

// An answer frame of `length` bytes from register 1 with `status` and a correct checksum; `fill`
// sets data bytes.
QByteArray MakeAnswer(int length, uint8_t status, const std::vector<std::pair<int, QByteArray>>& fill = {});
