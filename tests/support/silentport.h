#pragma once
#include "link/serialport.h"

// A line on which nothing ever answers, or a port that cannot be opened.
class SilentPort : public SerialPort {
public:
    explicit SilentPort(bool opens = true) : m_opens(opens) {}
    bool open(const QString&, int32_t) override { return m_open = m_opens; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void setReadTimeouts(int, int) override {}
    void purge() override {}
    int64_t write(const uint8_t*, int64_t size) override { return size; }
    int64_t read(uint8_t*, int64_t) override { return 0; }
    int bytesQueued() const override { return 0; }
    PortOpenFailure openFailure() const override { return PortOpenFailure::Missing; }
    QString errorString() const override { return {}; }

private:
    bool m_opens;
    bool m_open = false;
};
