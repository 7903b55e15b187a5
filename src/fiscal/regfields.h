#pragma once
#include "link/registrationdata.h"

#include <QList>
#include <QString>
#include <utility>

// The registration values as (key, value) pairs: the keys are the RegistrationData field names, the
// lines of multi-line fields numbered from 1 (NameUser1 .. NameUser5, Adress1 .. Adress5, ...);
// numbers and flags as decimal text.
QList<std::pair<QString, QString>> RegistrationFields(const RegistrationData& data);
