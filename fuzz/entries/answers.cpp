#include "fuzzentries.h"
#include "fuzzinput.h"

#include "text/conversion.h"
#include "link/kktframe.h"
#include "link/kktlink.h"

#include <deque>
#include <memory>

namespace {

// A line that hands out the fuzzer's answers, one per read, and then stays silent.
class FuzzPort final : public SerialPort {
public:
    explicit FuzzPort(std::shared_ptr<std::deque<QByteArray>> answers) : m_answers(std::move(answers)) {}
    bool open(const QString&, int32_t) override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void setReadTimeouts(int, int) override {}
    void purge() override {}
    int64_t write(const uint8_t*, int64_t size) override { return size; }
    int64_t read(uint8_t* data, int64_t max) override
    {
        if (m_answers->empty())
            return 0;
        const QByteArray answer = m_answers->front();
        m_answers->pop_front();
        const int64_t n = std::min<int64_t>(answer.size(), max);
        std::copy_n(answer.constData(), n, data);
        return n;
    }
    int bytesQueued() const override { return 0; }
    PortOpenFailure openFailure() const override { return PortOpenFailure::None; }
    QString errorString() const override { return {}; }

private:
    std::shared_ptr<std::deque<QByteArray>> m_answers;
    bool m_open = false;
};

// Gives an answer a checksum that agrees, so the fuzzer reaches the decoding behind the check.
void FixChecksum(QByteArray& answer)
{
    if (answer.size() < 4 || answer.size() > KktFrame::kSize)
        return;
    KktFrame frame;
    std::copy(answer.begin(), answer.end(), frame.buf.begin());
    frame.count = static_cast<uint32_t>(answer.size());
    frame.SetFrameChecksum();
    answer = QByteArray(reinterpret_cast<const char*>(frame.buf.data()), answer.size());
}

}  // namespace

// Layout: command selector, mode, then answers, each a 16-bit little-endian header (low 10 bits the
// length, bit 15 "fix the checksum") followed by its bytes.
int FuzzAnswers(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const uint8_t command = in.byte() % 7;
    const uint8_t mode = in.byte() & 1;
    auto answers = std::make_shared<std::deque<QByteArray>>();
    while (!in.empty() && answers->size() < 12) {
        const uint16_t header = in.word();
        QByteArray answer = in.bytes(header & 0x3FF);
        if (header & 0x8000)
            FixChecksum(answer);
        answers->push_back(answer);
    }
    KktLink link([answers] { return std::make_unique<FuzzPort>(answers); });
    KktLinkArgs args;
    args.port = QStringLiteral("fuzz");
    args.numKkt = 1;

    KktResult result = KKT_OK;
    switch (command) {
    case 0: {
        KktStatusInfo info;
        result = link.KktStatus(args, info);
        break;
    }
    case 1: {
        QString value = QStringLiteral("Значение");
        result = link.KktParam(args, mode, 2, 3, 1, value);
        if (result == KKT_OK && value.size() > 64)
            __builtin_trap();  // a slot never holds more than its width
        break;
    }
    case 2: {
        uint16_t code = 5;
        KktGoodsItem item{QStringLiteral("Товар"), QStringLiteral("4600000000001"), QStringLiteral("м"),
                          QStringLiteral("12345"), QStringLiteral("2"), QStringLiteral("1000")};
        result = link.KktGoods(args, mode, code, item);
        // Whatever the register sends, the texts handed back read as numbers again.
        if (result == KKT_OK) {
            int64_t v = 0;
            if (!TryStrToInt64(item.barcode, v) || !TryStrToInt64(item.price, v) || !TryStrToInt64(item.section, v)
                || !TryStrToInt64(item.quantity, v))
                __builtin_trap();
        }
        break;
    }
    case 3: {
        KktAgentRecord agent;
        agent.number = 3;
        agent.sign = 4;
        agent.nameSupplier = QStringLiteral("Поставщик");
        result = link.KktAgent(args, mode, agent);
        break;
    }
    case 4: {
        uint8_t status = 0;
        result = link.KktClearBase(args, status);
        break;
    }
    case 5: {
        RegistrationData reg;
        result = link.KktRegData(args, reg);
        break;
    }
    default: {
        RegistrationData reg;
        reg.NameCassir = QStringLiteral("Иванов");
        result = link.KktRegister(args, mode, ReasonFlags{1, 0, 1, 0}, reg);
        break;
    }
    }
    (void)result;
    return 0;
}
