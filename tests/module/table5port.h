#pragma once
#include "link/kktframe.h"
#include "link/serialport.h"

#include <QByteArray>
#include <map>
#include <memory>
#include <vector>

// A register that keeps the parameters of table 5 and answers the parameter command for them.
// A row listed in `silentRows` gets no answer at all.
struct Table5State {
    std::map<int, QByteArray> stored;  // row -> 64-byte slot as written
    std::vector<int> silentRows;
    std::vector<std::pair<int, int>> requests;  // (mode, row) in order
};

class Table5Port final : public SerialPort {
public:
    explicit Table5Port(std::shared_ptr<Table5State> s) : m_s(std::move(s)) {}
    bool open(const QString&, int32_t) override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void setReadTimeouts(int, int) override {}
    void purge() override {}
    int64_t write(const uint8_t* data, int64_t size) override
    {
        m_answer.clear();
        if (size != 79 || data[6] != 'p' || data[9] != 5 || data[11] != 0)
            return size;
        const int mode = data[8];
        const int row = data[10];
        m_s->requests.emplace_back(mode, row);
        for (int silent : m_s->silentRows)
            if (silent == row)
                return size;
        KktFrame f;
        f.buf[0] = 0x17;
        f.buf[1] = 0x02;
        if (mode == 0)
            m_s->stored[row] = QByteArray(reinterpret_cast<const char*>(data + 12), 64);
        else if (m_s->stored.count(row))
            std::copy_n(m_s->stored[row].constData(), 64, f.buf.begin() + 7);
        f.buf[71] = KktFrame::kTerminator;
        f.count = 74;
        f.SetFrameChecksum();
        m_answer = QByteArray(reinterpret_cast<const char*>(f.buf.data()), 74);
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
    std::shared_ptr<Table5State> m_s;
    QByteArray m_answer;
    bool m_open = false;
};
