#pragma once
#include "files/config.h"
#include "link/registrationdata.h"
#include "whole/kktregister.h"

#include <QObject>

class QWidget;
class TFrameGsmSetting;
class TFrameSetVaro;
struct KktSession;

// "Файл" → "Сохранить конфигурацию" / "Загрузить конфигурацию": the window's register through the
// snapshot `config` to and from a file the user chooses. A failed load leaves the grids as they were;
// a load is shown in the frames.
void SaveConfigInteractive(QWidget* parent, TConfig& config, const TKktRegister& reg);
void LoadConfigInteractive(QWidget* parent, TConfig& config, TKktRegister& reg, TFrameSetVaro& tables,
                           TFrameGsmSetting& gsm);

// "Файл" → "Сохранить всё в книгу…" / "Загрузить всё из книги…": the grids, the module parameters
// and (when "read all" got it) the registration data to and from a workbook the user chooses; no
// register traffic. A book that fails any check leaves every grid as it was. What was saved or loaded,
// and where, is told through the session.
void SaveWorkbookInteractive(QWidget* parent, const KktSession& session, const TKktRegister& reg,
                             const RegistrationData* registration);
void LoadWorkbookInteractive(QWidget* parent, const KktSession& session, TKktRegister& reg, TFrameSetVaro& tables,
                             TFrameGsmSetting& gsm);

// The goods tab's file buttons and its "1C: Предприятие" menu: the goods database file, the 1C
// exchange file and the spreadsheet import. Every import checks the whole file before the goods
// grid changes; a rejected file leaves the grid as it was.
class TGoodsFileActions : public QObject {
    Q_OBJECT
public:
    explicit TGoodsFileActions(TFrameSetVaro& tables);

    void Button1Click();   // "Сохранить в файл"
    void Button2Click();   // "Загрузить из файла"
    void Load1cdbClick();  // "Загрузить из 1С (формат *.1cdb)"
    void Save1cdbClick();  // "Выгрузить в 1С (формат *.1cdb)"
    void LoadXlsClick();   // "Загрузить из 1С (формат *.xls)"

private:
    TFrameSetVaro& m_tables;
};
