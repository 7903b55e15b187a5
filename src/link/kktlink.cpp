#include "link/kktlink.h"

#include "link/linepause.h"
#include "link/recordlayout.h"

#include <chrono>
#include <thread>

namespace {

// Closes the port on every way out of a command, exceptions included.
class PortGuard {
public:
    explicit PortGuard(std::function<void()> close) : m_close(std::move(close)) {}
    ~PortGuard() { m_close(); }

private:
    std::function<void()> m_close;
};

constexpr int kRegFieldsTextWidth = 24;

}  // namespace

KktLink::KktLink() : KktLink(&CreateSerialPort) {}

KktLink::KktLink(std::function<std::unique_ptr<SerialPort>()> portFactory)
    : m_portFactory(std::move(portFactory)), m_port(m_portFactory())
{
}

KktLink::~KktLink() = default;

bool KktLink::OpenKktPort(const KktLinkArgs& link)
{
    if (link.openDelay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(link.openDelay));
    CloseKktPort();
    if (!m_port->open(link.port, link.speed))
        return false;
    m_port->setReadTimeouts(kIntervalTimeoutMs, link.timeOut);
    return true;
}

void KktLink::CloseKktPort()
{
    m_port->close();
}

void KktLink::DrainKktPort(const KktLinkArgs& link, int quietMs, int capMs)
{
    if (!m_port->open(link.port, link.speed))
        return;
    PortGuard guard([this] { CloseKktPort(); });
    m_port->setReadTimeouts(quietMs, quietMs);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(capMs);
    std::array<uint8_t, 256> sink{};
    while (std::chrono::steady_clock::now() < until && m_port->read(sink.data(), int64_t(sink.size())) > 0) {
    }
}

void KktLink::PurgeKktPort()
{
    m_port->purge();
    PauseAtLeast(std::chrono::milliseconds(1));
}

void KktLink::ExchangeFrame(uint32_t answerLength)
{
    PurgeKktPort();
    m_frame.count = static_cast<uint32_t>(m_port->write(m_frame.buf.data(), m_frame.count));
    if (m_log)
        m_log->DumpKktFrame(m_frame.buf.data(), m_frame.count, false);
    m_frame.count = 0;
    m_frame.count = static_cast<uint32_t>(m_port->read(m_frame.buf.data(), answerLength));
    // Answer fields are taken only from bytes that arrived: what the request left behind reads as zero.
    std::fill(m_frame.buf.begin() + m_frame.count, m_frame.buf.end(), uint8_t{0});
    if (m_log)
        m_log->DumpKktFrame(m_frame.buf.data(), m_frame.count, true);
}

KktResult KktLink::CheckAnswer() const
{
    if (m_frame.count == 0)
        return KKT_NO_ANSWER;
    // One to three bytes hold no status byte and no checksum worth the name.
    if (m_frame.count <= 3 || m_frame.CheckFrameChecksum() != 0)
        return KKT_BAD_CHECKSUM;
    return KKT_OK;
}

void KktLink::BuildHeader(const Request& request, int32_t numKkt)
{
    m_frame.buf[0] = KktFrame::kStart0;
    m_frame.buf[1] = KktFrame::kStart1;
    m_frame.PutFrameInt(2, 4, static_cast<uint32_t>(numKkt));
    m_frame.buf[6] = static_cast<uint8_t>(request.code);
    m_frame.buf[7] = request.byte7;
}

KktResult KktLink::RunCommand(const KktLinkArgs& link, const Request& request, uint32_t answerLength,
                              const std::function<void()>& build, const std::function<void(uint8_t)>& decode)
{
    const auto report = [&](KktResult result, bool linkFailed) {
        if (m_observer) {
            KktCommandReport r{request.code, link, result, linkFailed};
            if (result == KKT_PORT_FAILED && linkFailed) {
                r.openFailure = m_port->openFailure();
                r.openError = m_port->errorString();
            }
            m_observer(r);
        }
        return result;
    };
    if (!OpenKktPort(link))
        return report(KKT_PORT_FAILED, true);
    KktResult result = KKT_OK;
    bool linkFailed = false;
    {
        PortGuard guard([this] { CloseKktPort(); });
        result = RunAttempts(link, request, answerLength, build, decode, linkFailed);
    }
    return report(result, linkFailed);
}

KktResult KktLink::RunAttempts(const KktLinkArgs& link, const Request& request, uint32_t answerLength,
                               const std::function<void()>& build, const std::function<void(uint8_t)>& decode,
                               bool& linkFailed)
{
    KktResult result = KKT_OK;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        m_frame.Clear();
        BuildHeader(request, link.numKkt);
        build();
        m_frame.buf[request.length - 3] = KktFrame::kTerminator;
        m_frame.count = request.length;
        m_frame.SetFrameChecksum();
        ExchangeFrame(answerLength);
        result = CheckAnswer();
        linkFailed = result != KKT_OK;
        if (linkFailed)
            break;
        result = m_frame.buf[3];
        decode(result);
        if (!IsRepeatStatus(result))
            break;
    }
    return result;
}

KktResult KktLink::KktStatus(const KktLinkArgs& link, KktStatusInfo& info)
{
    static constexpr std::array<std::pair<int, int>, 15> kFields = {
        {{4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 2}, {10, 1}, {11, 1}, {12, 1}, {13, 1}, {14, 1}, {15, 1}, {16, 4},
         {20, 1}, {21, 1}, {22, 6}}};
    return RunCommand(
        link, {'u', 11, 11}, 31, [] {},
        [&](uint8_t) {
            for (size_t i = 0; i < kFields.size(); ++i)
                info.values[i] = m_frame.GetFrameInt(kFields[i].first, kFields[i].second);
        });
}

KktResult KktLink::KktParam(const KktLinkArgs& link, uint8_t mode, uint8_t table, uint8_t row, uint8_t field,
                            QString& value)
{
    return RunCommand(
        link, {'p', 79, 79}, 74,
        [&] {
            m_frame.buf[8] = mode;
            m_frame.buf[9] = table;
            m_frame.buf[10] = row;
            m_frame.buf[11] = field;
            if (mode == KKT_WRITE)
                m_frame.PutFrameText(value, 12, 64);
        },
        [&](uint8_t) {
            if (mode == KKT_READ)
                value = m_frame.GetFrameText(7, 64);
        });
}

KktResult KktLink::KktGoods(const KktLinkArgs& link, uint8_t mode, uint16_t& code, KktGoodsItem& item)
{
    return RunCommand(
        link, {'T', 77, 77}, 72,
        [&] {
            m_frame.buf[8] = mode;
            m_frame.PutFrameInt(9, 2, code);
            if (mode != KKT_WRITE)
                return;
            PutGoodsItem(m_frame, 11, item);
        },
        [&](uint8_t status) {
            if (IsRepeatStatus(status))
                return;
            code = static_cast<uint16_t>(m_frame.GetFrameInt(4, 2));
            GetGoodsItem(m_frame, 6, item);
        });
}

KktResult KktLink::KktAgent(const KktLinkArgs& link, uint8_t mode, KktAgentRecord& agent)
{
    return RunCommand(
        link, {'a', 256, 0}, 251,
        [&] {
            m_frame.buf[8] = mode;
            m_frame.buf[9] = agent.number;
            if (mode != KKT_WRITE)
                return;
            PutAgentRecord(m_frame, 10, agent);
        },
        [&](uint8_t status) {
            if (mode != KKT_READ || IsRepeatStatus(status))
                return;
            agent.number = m_frame.buf[4];
            GetAgentRecord(m_frame, 5, agent);
        });
}

KktResult KktLink::KktClearBase(const KktLinkArgs& link, uint8_t& status)
{
    return RunCommand(link, {'c', 11, 11}, 7, [] {}, [&](uint8_t s) { status = s; });
}

KktResult KktLink::KktRegData(const KktLinkArgs& link, RegistrationData& data)
{
    return RunCommand(link, {'g', 11, 0}, 603, [] {},
                      [&](uint8_t) {
                          data.Registered = m_frame.buf[4];
                          data.SerialNumber = static_cast<uint32_t>(m_frame.GetFrameInt(5, 4));
                          GetRegistrationFields(m_frame, 9, data);
                      });
}

KktResult KktLink::KktRegister(const KktLinkArgs& link, uint8_t reregistration, const ReasonFlags& reasons,
                               const RegistrationData& data)
{
    return RunCommand(
        link, {'x', 607, 0}, 7,
        [&] {
            m_frame.buf[8] = reregistration;
            for (size_t i = 0; i < reasons.size(); ++i)
                m_frame.buf[9 + i] = reasons[i];
            PutRegistrationFields(m_frame, 13, data);
        },
        [](uint8_t) {});
}

void PutRegistrationFields(KktFrame& frame, int offset, const RegistrationData& d)
{
    int at = offset;
    auto num = [&](uint64_t v, int width) {
        frame.PutFrameInt(at, width, v);
        at += width;
    };
    auto txt = [&](const QString& v, int width) {
        frame.PutFrameText(v, at, width);
        at += width;
    };
    num(d.RegNum, 7);
    num(d.InnUser, 5);
    num(d.InnOFD, 5);
    num(d.ModeFlags, 1);
    num(d.AgentFlags, 1);
    num(d.TaxFlags, 1);
    num(d.SetPrinter, 1);
    num(d.AkcizGood, 1);
    txt(d.NameCassir, 40);
    txt(d.PosCassir, kRegFieldsTextWidth);
    for (const auto& line : d.NameUser) txt(line, kRegFieldsTextWidth);
    for (const auto& line : d.Adress) txt(line, kRegFieldsTextWidth);
    for (const auto& line : d.Place) txt(line, kRegFieldsTextWidth);
    for (const auto& line : d.WebsiteFNS) txt(line, kRegFieldsTextWidth);
    for (const auto& line : d.EmailSender) txt(line, kRegFieldsTextWidth);
    for (const auto& line : d.NameOFD) txt(line, kRegFieldsTextWidth);
    txt(d.NumAuto, 20);
    num(d.InnCassir, 5);
}

void GetRegistrationFields(const KktFrame& frame, int offset, RegistrationData& d)
{
    int at = offset;
    auto num = [&](int width) {
        const uint64_t v = frame.GetFrameInt(at, width);
        at += width;
        return v;
    };
    auto txt = [&](int width) {
        QString v = frame.GetFrameText(at, width);
        at += width;
        return v;
    };
    d.RegNum = num(7);
    d.InnUser = num(5);
    d.InnOFD = num(5);
    d.ModeFlags = static_cast<uint8_t>(num(1));
    d.AgentFlags = static_cast<uint8_t>(num(1));
    d.TaxFlags = static_cast<uint8_t>(num(1));
    d.SetPrinter = static_cast<uint8_t>(num(1));
    d.AkcizGood = static_cast<uint8_t>(num(1));
    d.NameCassir = txt(40);
    d.PosCassir = txt(kRegFieldsTextWidth);
    for (auto& line : d.NameUser) line = txt(kRegFieldsTextWidth);
    for (auto& line : d.Adress) line = txt(kRegFieldsTextWidth);
    for (auto& line : d.Place) line = txt(kRegFieldsTextWidth);
    for (auto& line : d.WebsiteFNS) line = txt(kRegFieldsTextWidth);
    for (auto& line : d.EmailSender) line = txt(kRegFieldsTextWidth);
    for (auto& line : d.NameOFD) line = txt(kRegFieldsTextWidth);
    d.NumAuto = txt(20);
    d.InnCassir = num(5);
}
