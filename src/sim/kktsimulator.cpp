#include "sim/kktsimulator.h"

#include "text/codepage.h"
#include "link/recordlayout.h"

#include <algorithm>

namespace {

constexpr int kRequestLogLimit = 20000;
constexpr uint8_t kGarbageByte = 0xA5;  // never a frame start

uint8_t At(const QByteArray& bytes, int i)
{
    return static_cast<uint8_t>(bytes[i]);
}

uint64_t Le(const QByteArray& bytes, int offset, int width)
{
    uint64_t v = 0;
    for (int i = 0; i < width; ++i)
        v |= static_cast<uint64_t>(At(bytes, offset + i)) << (8 * i);
    return v;
}

void PutBytes(KktFrame& frame, int offset, const QByteArray& bytes, int width)
{
    const int n = std::min<int>(bytes.size(), width);
    std::copy_n(reinterpret_cast<const uint8_t*>(bytes.constData()), n, frame.buf.begin() + offset);
}

QByteArray TakeBytes(const KktFrame& frame, int offset, int width)
{
    return QByteArray(reinterpret_cast<const char*>(frame.buf.data() + offset), width);
}

// A frame holding `bytes` from offset 0, to read fields with the link's own rules.
KktFrame FrameOf(const QByteArray& bytes, int offset = 0)
{
    KktFrame frame;
    PutBytes(frame, offset, bytes, KktFrame::kSize - offset);
    return frame;
}

// An answer of `length` bytes: the start bytes, the low byte of the request's register number, the
// status at 3, the data that `fill` places, the terminator at length-3 and the checksum behind it.
template <typename Fill>
QByteArray Answer(const QByteArray& request, int length, uint8_t status, Fill fill)
{
    KktFrame frame;
    frame.buf[0] = KktFrame::kStart0;
    frame.buf[1] = KktFrame::kStart1;
    frame.buf[2] = request.size() > 2 ? At(request, 2) : 0;
    frame.buf[3] = status;
    fill(frame);
    frame.buf[length - 3] = KktFrame::kTerminator;
    frame.count = static_cast<uint32_t>(length);
    frame.SetFrameChecksum();
    return TakeBytes(frame, 0, length);
}

QByteArray Answer(const QByteArray& request, int length, uint8_t status)
{
    return Answer(request, length, status, [](KktFrame&) {});
}

// The status alone, as a register sends it when it has nothing else to say.
QByteArray StatusOnly(const QByteArray& answer)
{
    KktFrame frame = FrameOf(answer.left(4));
    frame.buf[4] = KktFrame::kTerminator;
    frame.count = 7;
    frame.SetFrameChecksum();
    return TakeBytes(frame, 0, 7);
}

bool IsZero(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
}

QByteArray Slot(const QString& text, int width)
{
    QByteArray bytes = codepage::toCp1251(text).left(width);
    bytes.append(QByteArray(width - bytes.size(), '\0'));
    return bytes;
}

}  // namespace

KktSimulator::KktSimulator() = default;

int KktSimulator::RequestLength(char command)
{
    switch (command) {
    case 'u': return 11;
    case 'p': return 79;
    case 'T': return 77;
    case 'a': return 256;
    case 'c': return 11;
    case 'g': return 11;
    case 'x': return 607;
    default: return 0;
    }
}

int KktSimulator::AnswerLength(char command)
{
    switch (command) {
    case 'u': return 31;
    case 'p': return 74;
    case 'T': return 72;
    case 'a': return 251;
    case 'c': return 7;
    case 'g': return 603;
    case 'x': return 7;
    default: return 7;
    }
}

bool KktSimulator::ParamExists(uint8_t table, uint8_t row, uint8_t field)
{
    if (row < 1)
        return false;
    switch (table) {
    case 0: return row <= 6 && field <= 3;   // operators
    case 2: return row <= 8 && field <= 1;   // sections
    case 4: {                                // cliché: rows of five, five, three, then two lines
        static constexpr uint8_t kFields[] = {5, 5, 3, 2, 2, 2, 2};
        return row <= 7 && field < kFields[row - 1];
    }
    case 5: return row <= 7 && field == 0;   // communication module
    case 6: return row <= 90 && field <= 1;  // enterprises
    case 7: return row <= 40 && field == 0;  // stations
    default: return false;
    }
}

QByteArray KktSimulator::handleFrame(const QByteArray& request)
{
    std::lock_guard lock(m_mutex);
    if (request.size() < 7 || At(request, 0) != KktFrame::kStart0 || At(request, 1) != KktFrame::kStart1)
        return {};
    if (m_number && Le(request, 2, 4) != *m_number)
        return {};  // another register's request: not ours to answer

    if (m_requests.size() >= kRequestLogLimit)
        m_requests.removeFirst();
    m_requests.append(request);
    ++m_requestCount;
    if (m_faults.closeAfter > 0 && --m_faults.closeAfter == 0) {
        m_faults.closeAfter = -1;
        m_closePending = true;
    }

    if (m_faults.silenceAlways)
        return {};
    if (m_faults.silenceCount > 0) {
        --m_faults.silenceCount;
        return {};
    }
    const char command = static_cast<char>(request[6]);
    QByteArray answer;
    if (m_faults.repeatCount > 0) {
        --m_faults.repeatCount;
        answer = Answer(request, AnswerLength(command), m_faults.repeatStatus);
    } else {
        answer = answerFor(request);
    }
    return applyAnswerFaults(answer);
}

bool KktSimulator::refusesUnreadable()
{
    std::lock_guard lock(m_mutex);
    if (m_faults.silenceAlways)
        return false;
    if (m_faults.silenceCount > 0) {
        --m_faults.silenceCount;
        return false;
    }
    return true;
}

QByteArray KktSimulator::answerFor(const QByteArray& request)
{
    const char command = static_cast<char>(request[6]);
    const int length = RequestLength(command);
    if (length == 0)
        return Answer(request, 7, SIM_UNKNOWN_COMMAND);
    const int answerLength = AnswerLength(command);
    if (request.size() != length)
        return Answer(request, answerLength, SIM_BAD_REQUEST);
    const uint16_t sum = FrameSum(reinterpret_cast<const uint8_t*>(request.constData()), length - 2);
    if (sum != Le(request, length - 2, 2))
        return Answer(request, answerLength, SIM_BAD_CHECKSUM);
    if (At(request, length - 3) != KktFrame::kTerminator)
        return Answer(request, answerLength, SIM_BAD_REQUEST);
    if (const SimErrorRule* rule = matchingError(request, command))
        return Answer(request, answerLength, rule->status);
    return perform(request, command);
}

const SimErrorRule* KktSimulator::matchingError(const QByteArray& request, char command) const
{
    int number = -1;
    if (command == 'T')
        number = static_cast<int>(Le(request, 9, 2));
    else if (command == 'a')
        number = At(request, 9);
    else if (command == 'p')
        number = At(request, 10);
    for (const SimErrorRule& rule : m_faults.errors) {
        if (rule.command == command && (!rule.number || *rule.number == number))
            return &rule;
    }
    return nullptr;
}

QByteArray KktSimulator::perform(const QByteArray& request, char command)
{
    const int answerLength = AnswerLength(command);
    const uint8_t mode = At(request, 8);
    const bool modal = command == 'p' || command == 'T' || command == 'a';
    if (modal && mode != KKT_WRITE && mode != KKT_READ)
        return Answer(request, answerLength, SIM_BAD_REQUEST);

    switch (command) {
    case 'u':
        return Answer(request, answerLength, 0, [&](KktFrame& f) {
            f.buf[4] = m_memory.registered;
            f.PutFrameInt(16, 4, m_memory.serialNumber);
        });
    case 'p': {
        const uint8_t table = At(request, 9), row = At(request, 10), field = At(request, 11);
        if (!ParamExists(table, row, field))
            return Answer(request, answerLength, SIM_BAD_PARAM);
        const SimParamKey key{table, row, field};
        if (mode == KKT_WRITE) {
            m_memory.params[key] = request.mid(12, SimMemory::kParamWidth);
            changed();
        }
        const auto it = m_memory.params.find(key);
        return Answer(request, answerLength, 0, [&](KktFrame& f) {
            f.buf[4] = table;
            f.buf[5] = row;
            f.buf[6] = field;
            if (it != m_memory.params.end())
                PutBytes(f, 7, it->second, SimMemory::kParamWidth);
        });
    }
    case 'T': {
        const int code = static_cast<int>(Le(request, 9, 2));
        if (code < 1 || code > SimMemory::kGoods)
            return Answer(request, answerLength, SIM_BAD_GOODS_CODE);
        QByteArray& item = m_memory.goods[code - 1];
        if (mode == KKT_WRITE) {
            item = request.mid(11, SimMemory::kGoodsWidth);
            changed();
        }
        return Answer(request, answerLength, 0, [&](KktFrame& f) {
            f.PutFrameInt(4, 2, static_cast<uint64_t>(code));
            PutBytes(f, 6, item, SimMemory::kGoodsWidth);
        });
    }
    case 'a': {
        const int number = At(request, 9);
        if (number < 1 || number > SimMemory::kAgents)
            return Answer(request, answerLength, SIM_BAD_AGENT);
        QByteArray& agent = m_memory.agents[number - 1];
        if (mode == KKT_WRITE) {
            agent = request.mid(10, SimMemory::kAgentWidth);
            changed();
        }
        return Answer(request, answerLength, 0, [&](KktFrame& f) {
            f.buf[4] = static_cast<uint8_t>(number);
            PutBytes(f, 5, agent, SimMemory::kAgentWidth);
        });
    }
    case 'c':
        for (QByteArray& item : m_memory.goods)
            item.clear();
        changed();
        return Answer(request, answerLength, 0);
    case 'g':
        return Answer(request, answerLength, 0, [&](KktFrame& f) {
            f.buf[4] = m_memory.registered;
            f.PutFrameInt(5, 4, m_memory.serialNumber);
            PutBytes(f, 9, m_memory.registration, SimMemory::kRegistrationWidth);
        });
    case 'x':
        if (mode > 1)  // byte 8 is the re-registration flag
            return Answer(request, answerLength, SIM_BAD_REQUEST);
        m_memory.registration = request.mid(13, SimMemory::kRegistrationWidth);
        m_memory.registered = 1;
        changed();
        return Answer(request, answerLength, 0);
    default:
        return Answer(request, 7, SIM_UNKNOWN_COMMAND);
    }
}

QByteArray KktSimulator::applyAnswerFaults(QByteArray answer)
{
    SimFaults& f = m_faults;
    if (f.shortCount > 0) {
        --f.shortCount;
        answer = StatusOnly(answer);
    }
    if (f.badChecksumCount > 0) {
        --f.badChecksumCount;
        answer[answer.size() - 1] = static_cast<char>(At(answer, answer.size() - 1) ^ 0xFF);
    }
    if (f.tinyCount > 0) {
        --f.tinyCount;
        answer = answer.left(f.tinyLength);
    }
    if (f.garbageCount > 0) {
        --f.garbageCount;
        answer.prepend(QByteArray(f.garbageBytes, static_cast<char>(kGarbageByte)));
    }
    return answer;
}

void KktSimulator::setNumber(std::optional<uint32_t> number)
{
    std::lock_guard lock(m_mutex);
    m_number = number;
}

std::optional<uint32_t> KktSimulator::number() const
{
    std::lock_guard lock(m_mutex);
    return m_number;
}

SimFaults KktSimulator::faults() const
{
    std::lock_guard lock(m_mutex);
    return m_faults;
}

void KktSimulator::setFaults(const SimFaults& faults)
{
    std::lock_guard lock(m_mutex);
    m_faults = faults;
}

bool KktSimulator::applyFault(const QString& spec, QString* error)
{
    std::lock_guard lock(m_mutex);
    return ApplyFaultSpec(spec, m_faults, error);
}

bool KktSimulator::takeLineClose()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_closePending, false);
}

QList<QByteArray> KktSimulator::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

int KktSimulator::requestCount() const
{
    std::lock_guard lock(m_mutex);
    return m_requestCount;
}

void KktSimulator::clearRequests()
{
    std::lock_guard lock(m_mutex);
    m_requests.clear();
    m_requestCount = 0;
}

uint64_t KktSimulator::changeCount() const
{
    std::lock_guard lock(m_mutex);
    return m_changes;
}

SimMemory KktSimulator::memory() const
{
    std::lock_guard lock(m_mutex);
    return m_memory;
}

void KktSimulator::setMemory(const SimMemory& memory)
{
    std::lock_guard lock(m_mutex);
    m_memory = memory;
    changed();
}

QByteArray KktSimulator::paramBytes(uint8_t table, uint8_t row, uint8_t field) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_memory.params.find({table, row, field});
    return it != m_memory.params.end() ? it->second : QByteArray(SimMemory::kParamWidth, '\0');
}

QString KktSimulator::param(uint8_t table, uint8_t row, uint8_t field) const
{
    return FrameOf(paramBytes(table, row, field)).GetFrameText(0, SimMemory::kParamWidth);
}

bool KktSimulator::setParam(uint8_t table, uint8_t row, uint8_t field, const QString& value)
{
    if (!ParamExists(table, row, field))
        return false;
    std::lock_guard lock(m_mutex);
    m_memory.params[{table, row, field}] = Slot(value, SimMemory::kParamWidth);
    changed();
    return true;
}

KktGoodsItem KktSimulator::goods(int code) const
{
    QByteArray bytes;
    {
        std::lock_guard lock(m_mutex);
        if (code >= 1 && code <= SimMemory::kGoods)
            bytes = m_memory.goods[code - 1];
    }
    const KktFrame f = FrameOf(bytes);
    KktGoodsItem item;
    GetGoodsItem(f, 0, item);
    return item;
}

bool KktSimulator::setGoods(int code, const KktGoodsItem& item)
{
    if (code < 1 || code > SimMemory::kGoods)
        return false;
    KktFrame f;
    PutGoodsItem(f, 0, item);
    std::lock_guard lock(m_mutex);
    m_memory.goods[code - 1] = TakeBytes(f, 0, SimMemory::kGoodsWidth);
    changed();
    return true;
}

int KktSimulator::goodsCount() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(std::count_if(m_memory.goods.begin(), m_memory.goods.end(),
                                          [](const QByteArray& item) { return !IsZero(item); }));
}

KktAgentRecord KktSimulator::agent(int number) const
{
    QByteArray bytes;
    {
        std::lock_guard lock(m_mutex);
        if (number >= 1 && number <= SimMemory::kAgents)
            bytes = m_memory.agents[number - 1];
    }
    const KktFrame f = FrameOf(bytes);
    KktAgentRecord a;
    a.number = static_cast<uint8_t>(number);
    GetAgentRecord(f, 0, a);
    return a;
}

bool KktSimulator::setAgent(const KktAgentRecord& a)
{
    if (a.number < 1 || a.number > SimMemory::kAgents)
        return false;
    KktFrame f;
    PutAgentRecord(f, 0, a);
    std::lock_guard lock(m_mutex);
    m_memory.agents[a.number - 1] = TakeBytes(f, 0, SimMemory::kAgentWidth);
    changed();
    return true;
}

RegistrationData KktSimulator::registration() const
{
    RegistrationData data;
    std::lock_guard lock(m_mutex);
    GetRegistrationFields(FrameOf(m_memory.registration), 0, data);
    data.Registered = m_memory.registered;
    data.SerialNumber = m_memory.serialNumber;
    return data;
}

void KktSimulator::setRegistration(const RegistrationData& data)
{
    KktFrame f;
    PutRegistrationFields(f, 0, data);
    std::lock_guard lock(m_mutex);
    m_memory.registration = TakeBytes(f, 0, SimMemory::kRegistrationWidth);
    m_memory.registered = data.Registered;
    m_memory.serialNumber = data.SerialNumber;
    changed();
}
