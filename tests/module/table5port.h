#pragma once
#include "answerport.h"

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

class Table5Port final : public AnswerPort {
public:
    explicit Table5Port(std::shared_ptr<Table5State> s) : m_s(std::move(s)) {}

private:
    QByteArray answer(const QByteArray& request) override
    {
        const auto* data = reinterpret_cast<const uint8_t*>(request.constData());
        if (request.size() != 79 || data[6] != 'p' || data[9] != 5 || data[11] != 0)
            return {};
        const int mode = data[8];
        const int row = data[10];
        m_s->requests.emplace_back(mode, row);
        for (int silent : m_s->silentRows)
            if (silent == row)
                return {};
        KktFrame f;
        if (mode == 0)
            m_s->stored[row] = request.mid(12, 64);
        else if (m_s->stored.count(row))
            std::copy_n(m_s->stored[row].constData(), 64, f.buf.begin() + 7);
        return AnswerFrame(f, 74);
    }

    std::shared_ptr<Table5State> m_s;
};
