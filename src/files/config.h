#pragma once
#include "scanner/scancfg.h"

#include <QString>
#include <array>
#include <type_traits>
#include <vector>

// The snapshot that the configuration file stores: every field a string, copied to and from the
// grids by position (element i in grid row i + 1, the k-th field in grid column k). Fields whose
// cell lies outside their grid are kept here only: a load fills them, the next save writes them back.
struct TConfig_GSM {
    std::array<QString, 7> arrParam;

    bool operator==(const TConfig_GSM&) const = default;
};

struct TConfig_Oper {
    QString Dol;
    QString fontDol;
    QString FioStr1;
    QString fontFioStr1;
    QString FioStr2;
    QString fontFioStr2;
    QString Password;
    QString Inn;

    bool operator==(const TConfig_Oper&) const = default;
};

struct TConfig_PredmRasch {
    QString NameTov;
    QString fontNameTov;
    QString Shtrih;
    QString Price;
    QString Section;

    bool operator==(const TConfig_PredmRasch&) const = default;
};

struct TConfig_RpiznPredmRasch {
    QString NameUsl;
    QString fontName;
    QString Priznak;
    QString Name;
    QString SystemTax;

    bool operator==(const TConfig_RpiznPredmRasch&) const = default;
};

struct TConfig_Klishe {
    QString Name;
    QString fontName;

    bool operator==(const TConfig_Klishe&) const = default;
};

struct TConfig_Agent {
    QString Value;
    QString fontValue;

    bool operator==(const TConfig_Agent&) const = default;
};

struct TConfig_Factory {
    QString Name;
    QString INN;

    bool operator==(const TConfig_Factory&) const = default;
};

struct TConfig_Station {
    QString Name;

    bool operator==(const TConfig_Station&) const = default;
};

struct TConfig_Varo {
    std::array<TConfig_Oper, 6> Oper;
    std::vector<TConfig_PredmRasch> PredmRasch = std::vector<TConfig_PredmRasch>(6000);  // heap: 6000 items
    std::array<TConfig_RpiznPredmRasch, 8> RpiznPredmRasch;
    std::array<TConfig_Klishe, 21> Klishe;
    std::array<TConfig_Agent, 12> Agent;
    std::array<TConfig_Factory, 90> Factory;
    std::array<TConfig_Station, 40> Station;

    bool operator==(const TConfig_Varo&) const = default;
};

struct TConfig {
    TConfig_GSM Gsm;
    TConfig_Varo CfgVaro;
    TScanner Scan;  // the scanner settings as applied; not part of the configuration file
};

// The fields of one element in their positional order: field k (from 1) lies in grid column k.
// Works on const and non-const elements alike.
template <class E>
using TFieldPtr = std::conditional_t<std::is_const_v<E>, const QString*, QString*>;

template <class E>
    requires std::is_same_v<std::remove_const_t<E>, TConfig_Oper>
std::array<TFieldPtr<E>, 8> Fields(E& e)
{
    return {&e.Dol, &e.fontDol, &e.FioStr1, &e.fontFioStr1, &e.FioStr2, &e.fontFioStr2, &e.Password, &e.Inn};
}
template <class E>
    requires std::is_same_v<std::remove_const_t<E>, TConfig_PredmRasch>
std::array<TFieldPtr<E>, 5> Fields(E& e)
{
    return {&e.NameTov, &e.fontNameTov, &e.Shtrih, &e.Price, &e.Section};
}
template <class E>
    requires std::is_same_v<std::remove_const_t<E>, TConfig_RpiznPredmRasch>
std::array<TFieldPtr<E>, 5> Fields(E& e)
{
    return {&e.NameUsl, &e.fontName, &e.Priznak, &e.Name, &e.SystemTax};
}
template <class E>
    requires std::is_same_v<std::remove_const_t<E>, TConfig_Klishe>
std::array<TFieldPtr<E>, 2> Fields(E& e)
{
    return {&e.Name, &e.fontName};
}
template <class E>
    requires std::is_same_v<std::remove_const_t<E>, TConfig_Agent>
std::array<TFieldPtr<E>, 2> Fields(E& e)
{
    return {&e.Value, &e.fontValue};
}
template <class E>
    requires std::is_same_v<std::remove_const_t<E>, TConfig_Factory>
std::array<TFieldPtr<E>, 2> Fields(E& e)
{
    return {&e.Name, &e.INN};
}
template <class E>
    requires std::is_same_v<std::remove_const_t<E>, TConfig_Station>
std::array<TFieldPtr<E>, 1> Fields(E& e)
{
    return {&e.Name};
}
