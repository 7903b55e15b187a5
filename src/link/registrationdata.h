#pragma once
#include <QString>
#include <array>
#include <cstdint>

// The values of one fiscal registration, as the register takes and returns them.
struct RegistrationData {
    uint8_t Registered = 0;     // returned by the data request only; 1 = registered
    uint32_t SerialNumber = 0;  // returned by the data request only
    uint64_t RegNum = 0;
    uint64_t InnUser = 0;
    uint64_t InnOFD = 0;
    uint8_t ModeFlags = 0;
    uint8_t AgentFlags = 0;
    uint8_t TaxFlags = 0;
    uint8_t SetPrinter = 0;
    uint8_t AkcizGood = 0;
    QString NameCassir;
    QString PosCassir;
    std::array<QString, 5> NameUser;
    std::array<QString, 5> Adress;
    std::array<QString, 4> Place;
    std::array<QString, 2> WebsiteFNS;
    std::array<QString, 2> EmailSender;
    std::array<QString, 2> NameOFD;
    QString NumAuto;
    uint64_t InnCassir = 0;

    bool operator==(const RegistrationData&) const = default;
};

// Re-registration reasons, one flag (0 or 1) each, in the order of the reason list.
using ReasonFlags = std::array<uint8_t, 4>;
