#pragma once
#include "link/kktframe.h"
#include "link/registrationdata.h"
#include "link/serialport.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

// 0 success, 1 port not opened, 2 no answer, 3 checksum error, otherwise the register's status byte.
using KktResult = uint8_t;

enum KktResultCode : KktResult { KKT_OK = 0, KKT_PORT_FAILED = 1, KKT_NO_ANSWER = 2, KKT_BAD_CHECKSUM = 3 };

enum KktMode : uint8_t { KKT_WRITE = 0, KKT_READ = 1 };

// The link arguments every command takes first.
struct KktLinkArgs {
    QString port;
    int32_t speed = 19200;
    int32_t timeOut = 3500;  // ms, total read time-out of one attempt
    int32_t numKkt = 0;
    int32_t openDelay = 0;   // ms before the port is opened
};

// Fifteen values of the status answer, in answer order; nobody interprets them.
struct KktStatusInfo {
    std::array<uint64_t, 15> values{};
};

// One goods item as texts, in request order.
struct KktGoodsItem {
    QString name;      // text 46
    QString barcode;   // number 6
    QString marking;   // "м" or empty
    QString price;     // kopecks
    QString section;   // low byte travels
    QString quantity;  // thousandths
};

// One agent record, in request order.
struct KktAgentRecord {
    uint8_t number = 0;
    uint8_t sign = 0;  // one bit: 1, 2, 4, ... 64
    QString phoneSupplier;     // "Телефон поставщика"
    QString phoneAgent;        // "Телефон плат. агента"
    QString phoneAcceptor;     // "Телефон опер. по приему платежей"
    QString nameSupplier;      // "Наименование поставщика"
    QString addressOperator;   // "Адрес оператора перевода"
    uint64_t innOperator = 0;  // "ИНН оператора перевода"
    QString nameOperator;      // "Наименование опер. перевода"
    QString operation;         // "Операция плат. агента"
    QString phoneOperator;     // "Телефон опер. перевода"
    uint64_t innSupplier = 0;  // "ИНН поставщика"
};

// What one command ended with, for whoever tells the user what it means.
struct KktCommandReport {
    char command = 0;         // the command letter ("u", "p", ...)
    KktLinkArgs link;         // the port, speed and number it used
    KktResult result = KKT_OK;
    bool linkFailed = false;  // 1, 2 or 3 came from the line, not from the register's status byte
    PortOpenFailure openFailure = PortOpenFailure::None;  // result 1: why the port did not open
    QString openError;                                    // result 1: the system's text for it
};
using KktCommandObserver = std::function<void(const KktCommandReport&)>;

// Receives every frame the link writes and reads.
class KktFrameLog {
public:
    virtual ~KktFrameLog() = default;
    virtual void DumpKktFrame(const uint8_t* frame, uint32_t count, bool isAnswer) = 0;
};

// The register link: one shared frame, one port, commands that run one at a time on the caller's
// thread and block it. Every command opens the port, repeats its request while the register answers
// a busy status (20, 21, 22; ten attempts in all), closes the port and returns a KktResult.
// A text that has to be a number and is not throws ConversionError before anything is sent.
class KktLink {
public:
    KktLink();
    explicit KktLink(std::function<std::unique_ptr<SerialPort>()> portFactory);
    ~KktLink();

    void setFrameLog(KktFrameLog* log) { m_log = log; }
    KktFrameLog* frameLog() const { return m_log; }
    const KktFrame& frame() const { return m_frame; }
    // Told after every command that returned a result (not after a conversion failure).
    void setCommandObserver(KktCommandObserver observer) { m_observer = std::move(observer); }
    const KktCommandObserver& commandObserver() const { return m_observer; }

    KktResult KktStatus(const KktLinkArgs& link, KktStatusInfo& info);
    KktResult KktParam(const KktLinkArgs& link, uint8_t mode, uint8_t table, uint8_t row, uint8_t field, QString& value);
    KktResult KktGoods(const KktLinkArgs& link, uint8_t mode, uint16_t& code, KktGoodsItem& item);
    KktResult KktAgent(const KktLinkArgs& link, uint8_t mode, KktAgentRecord& agent);
    KktResult KktClearBase(const KktLinkArgs& link, uint8_t& status);
    KktResult KktRegData(const KktLinkArgs& link, RegistrationData& data);
    KktResult KktRegister(const KktLinkArgs& link, uint8_t reregistration, const ReasonFlags& reasons,
                          const RegistrationData& data);

    // Opens the port, drops what arrives until `quietMs` pass without a byte (or `capMs` in all) and
    // closes it: a line still carrying the rest of an answer read at the wrong speed. No command.
    void DrainKktPort(const KktLinkArgs& link, int quietMs, int capMs);

    static bool IsRepeatStatus(uint8_t status) { return status >= 20 && status <= 22; }
    static constexpr int kAttempts = 10;
    static constexpr int kIntervalTimeoutMs = 1500;

private:
    struct Request {
        char code;
        uint32_t length;
        uint8_t byte7;
    };

    bool OpenKktPort(const KktLinkArgs& link);
    void CloseKktPort();
    void PurgeKktPort();
    void ExchangeFrame(uint32_t answerLength);
    KktResult CheckAnswer() const;
    void BuildHeader(const Request& request, int32_t numKkt);

    // Runs the attempts: build() fills bytes 8..L-4, decode(status) takes the answer fields.
    KktResult RunCommand(const KktLinkArgs& link, const Request& request, uint32_t answerLength,
                         const std::function<void()>& build, const std::function<void(uint8_t)>& decode);
    KktResult RunAttempts(const KktLinkArgs& link, const Request& request, uint32_t answerLength,
                          const std::function<void()>& build, const std::function<void(uint8_t)>& decode,
                          bool& linkFailed);

    std::function<std::unique_ptr<SerialPort>()> m_portFactory;
    std::unique_ptr<SerialPort> m_port;
    KktFrame m_frame;
    KktFrameLog* m_log = nullptr;
    KktCommandObserver m_observer;
};

// Lays out a RegistrationData from `offset` on, as the register request (13) and answer (9) carry it.
void PutRegistrationFields(KktFrame& frame, int offset, const RegistrationData& data);
void GetRegistrationFields(const KktFrame& frame, int offset, RegistrationData& data);
