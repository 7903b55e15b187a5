#pragma once
#include "fiscal/fiscalform.h"
#include "link/registrationdata.h"

#include <QByteArray>
#include <QString>

// Registration values as KEY=VALUE lines (UTF-8, LF): the keys are the RegistrationData field names,
// the lines of multi-line fields numbered from 1 (NameUser1 .. NameUser5, Adress1 .. Adress5, ...).
// Flags travel as their numbers, bit i being check box i + 1 of the group.

QByteArray FormatRegFile(const RegistrationData& data);

struct TRegFileRead {
    QString error;  // with the line; empty when the file was taken
    TFiscalForm form;
    bool ok() const { return error.isEmpty(); }
};

// Into the registration window's fields, from which the registration converts them. Empty lines and
// lines starting with "#" are skipped; Registered and SerialNumber (what the data request gives) are
// accepted and ignored, so a request's output can be edited and sent back. An unknown or repeated
// key, a flag outside its group and a text longer than its field on the wire are errors.
TRegFileRead ParseRegFile(const QByteArray& bytes);

// "1,3" -> reasons 1 and 3. False with the error for anything but numbers 1 to 4.
bool ParseReasons(const QString& list, ReasonFlags& reasons, QString& error);
