#pragma once
#include "link/kktlink.h"
#include "link/registrationdata.h"
#include "sim/simfaults.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <tuple>

// Statuses the simulated register answers besides 0 and the busy statuses; shown by kkt-sim --help.
enum SimStatus : uint8_t {
    SIM_BAD_CHECKSUM = 10,     // the request's checksum does not agree
    SIM_UNKNOWN_COMMAND = 11,  // command letter it does not know (answered with the status alone)
    SIM_BAD_REQUEST = 12,      // wrong length, terminator, mode or re-registration byte
    SIM_BAD_GOODS_CODE = 13,   // item code outside 1..6000
    SIM_BAD_AGENT = 14,        // agent number outside 1..10
    SIM_BAD_PARAM = 15,        // table, row or field the register does not have
};

// (table, row, field) of one register parameter.
using SimParamKey = std::tuple<uint8_t, uint8_t, uint8_t>;

// The register's memory. Texts are kept as the bytes that came over the line, so what was written
// reads back byte for byte, whatever the code page makes of it.
struct SimMemory {
    static constexpr int kGoods = 6000;
    static constexpr int kAgents = 10;
    static constexpr int kParamWidth = 64;
    static constexpr int kGoodsWidth = 63;         // name 46, barcode 6, marking 1, price 5, section 1, quantity 4
    static constexpr int kAgentWidth = 243;        // sign, three phones, names, address, INNs, operation
    static constexpr int kRegistrationWidth = 591; // RegNum .. InnCassir

    std::map<SimParamKey, QByteArray> params;  // only slots written so far; the others read as zeros
    std::array<QByteArray, kGoods> goods;      // empty = never written (reads as zeros)
    std::array<QByteArray, kAgents> agents;
    QByteArray registration;
    uint8_t registered = 0;
    uint32_t serialNumber = 20240001;
};

// The cash register as the link sees it: takes one complete request frame and gives the answer bytes
// (empty for no answer). Safe to use from several threads: every call takes the simulator's lock.
class KktSimulator {
public:
    KktSimulator();

    // Expected request length for a command letter; 0 for a letter the register does not know.
    static int RequestLength(char command);
    static int AnswerLength(char command);
    // Whether the register has this parameter slot.
    static bool ParamExists(uint8_t table, uint8_t row, uint8_t field);

    QByteArray handleFrame(const QByteArray& request);
    // A request that arrived at the wrong speed: true when the register sends back its refusal, false
    // when a silence fault has it hear nothing (a counted one is used up as by any request).
    bool refusesUnreadable();

    // Answer only requests carrying this register number; nullopt answers any number.
    void setNumber(std::optional<uint32_t> number);
    std::optional<uint32_t> number() const;

    SimFaults faults() const;
    void setFaults(const SimFaults& faults);
    bool applyFault(const QString& spec, QString* error = nullptr);
    // True once when the "close" fault has run out: the line owner closes the line.
    bool takeLineClose();

    // Requests addressed to this register, in order of arrival.
    QList<QByteArray> requests() const;
    int requestCount() const;
    void clearRequests();

    // Grows on every change of the memory; lets an owner save only when something changed.
    uint64_t changeCount() const;
    SimMemory memory() const;
    void setMemory(const SimMemory& memory);

    // The memory as the link's commands hand it back, and filled as they would fill it.
    QString param(uint8_t table, uint8_t row, uint8_t field) const;
    QByteArray paramBytes(uint8_t table, uint8_t row, uint8_t field) const;
    bool setParam(uint8_t table, uint8_t row, uint8_t field, const QString& value);
    KktGoodsItem goods(int code) const;
    bool setGoods(int code, const KktGoodsItem& item);  // throws ConversionError for a non-number text
    KktAgentRecord agent(int number) const;
    bool setAgent(const KktAgentRecord& agent);
    RegistrationData registration() const;  // Registered and SerialNumber included
    void setRegistration(const RegistrationData& data);
    int goodsCount() const;  // items that hold anything

private:
    QByteArray answerFor(const QByteArray& request);
    QByteArray perform(const QByteArray& request, char command);
    QByteArray applyAnswerFaults(QByteArray answer);
    const SimErrorRule* matchingError(const QByteArray& request, char command) const;
    void changed() { ++m_changes; }

    mutable std::mutex m_mutex;
    SimMemory m_memory;
    SimFaults m_faults;
    std::optional<uint32_t> m_number;
    QList<QByteArray> m_requests;
    int m_requestCount = 0;
    bool m_closePending = false;
    uint64_t m_changes = 0;
};
