#pragma once
#include "fiscal/fiscalform.h"
#include "link/kktlink.h"

#include <QString>

// What a registration ended with; `message` is the box the window shows.
struct RegistrationReport {
    enum Outcome { InputRejected, LinkFailed, Done };
    Outcome outcome = InputRejected;
    KktResult result = KKT_OK;
    QString message;
};

// Registration (reregistration 0) or re-registration (1) from the window's values. Every text is
// converted first: a bad number sends nothing and leaves `data` as it was. Otherwise `data` takes the
// values and they are sent with KktRegister.
RegistrationReport RegistrationFun(KktLink& link, const KktLinkArgs& args, uint8_t reregistration,
                                   const ReasonFlags& reasons, const TFiscalForm& form, RegistrationData& data);

struct DataRequestReport {
    KktResult result = KKT_OK;
    QString message;  // the error box text; empty on success
    bool ok() const { return result == KKT_OK; }
};

// Asks the register for its registration data (KktRegData). Only a successful answer replaces `data`.
DataRequestReport FiscalDataRequestFun(KktLink& link, const KktLinkArgs& args, RegistrationData& data);

// lblFlagReg: texts and colours of the three states.
enum class RegState { Registered, NotRegistered, Unknown };
RegState RegStateOf(const DataRequestReport& report, const RegistrationData& data);
QString RegStateText(RegState state);
struct Rgb {
    int r, g, b;
};
Rgb RegStateColour(RegState state);
