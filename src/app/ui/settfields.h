#pragma once
#include "app/settings.h"
#include "link/kktlink.h"

#include <QChar>
#include <QString>
#include <QStringList>

// The link settings dialog's fields as the user left them. Kept free of widgets so the rules below
// hold wherever the fields come from.
struct TSettFields {
    QString port;     // selected port name, empty when none is selected
    QString speed;    // selected speed text, empty when none is selected
    QString timeOut;
    QString number;
};

// The speeds the dialog offers, in list order.
const QStringList& SettSpeeds();

// Key filter of the time-out and number edits: Backspace and the digits 0 to 9 pass.
bool SettKeyAllowed(QChar key);

// A time-out lets "Применить" act only when it is a 32-bit number other than 0.
bool SettTimeOutAllowsApply(const QString& text);

// Converts every field before anything is assigned: on the first field that is not a 32-bit number
// ConversionError is thrown and `sett` keeps all its values.
void ApplySettFields(const TSettFields& fields, TStructSetting& sett);

// The link arguments of a check made with the fields as they stand; ConversionError as above.
KktLinkArgs SettFieldsLinkArgs(const TSettFields& fields);
