#pragma once
#include "link/registrationdata.h"

#include <QString>
#include <QStringList>
#include <array>

// The three bit sets of a registration: bit i is check box i + 1 of its group.
struct FlagGroup {
    QString title;
    QStringList captions;
};
const FlagGroup& TaxGroup();    // "Системы налогообложения", 6 boxes, TaxFlags
const FlagGroup& ModeGroup();   // "Режим работы", 6 boxes, ModeFlags
const FlagGroup& AgentGroup();  // "Признаки агента", 7 boxes, AgentFlags

template <size_t N>
uint8_t PackFlags(const std::array<bool, N>& ticks)
{
    uint8_t flags = 0;
    for (size_t i = 0; i < N; ++i)
        if (ticks[i])
            flags |= static_cast<uint8_t>(1u << i);
    return flags;
}

template <size_t N>
std::array<bool, N> UnpackFlags(uint8_t flags)
{
    std::array<bool, N> ticks{};
    for (size_t i = 0; i < N; ++i)
        ticks[i] = (flags >> i) & 1u;
    return ticks;
}

// Re-registration reasons, in the order their flags travel.
const QStringList& ReasonCaptions();

// What the registration window shows: the edits' texts, the memos' texts and the ticks.
struct TFiscalForm {
    QString SerialNumber;
    QString RegNum;
    QString NameCassir;
    QString PosCassir;
    QString InnCassir;
    QString WebsiteFNS;
    QString EmailSender;
    QString NameUser;
    QString Adress;
    QString Place;
    QString InnUser;
    std::array<bool, 6> Tax{};
    std::array<bool, 6> Mode{};
    std::array<bool, 7> Agent{};
    QString NameOFD;
    QString InnOFD;
    bool SetPrinter = false;
    bool AkcizGood = false;
    QString NumAuto;

    bool operator==(const TFiscalForm&) const = default;
};

// Window -> record. Every number is converted before anything is taken, so a text that is not a
// number (or does not fit its field on the wire) changes nothing: false, with the message in `error`.
// Registered and SerialNumber are kept from `data`: they are never sent.
bool FormToRegistration(const TFiscalForm& form, RegistrationData& data, QString& error);

// Record -> window, as a successful data request shows it.
TFiscalForm FormFromRegistration(const RegistrationData& data);
