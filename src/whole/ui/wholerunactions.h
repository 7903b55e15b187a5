#pragma once
#include "link/registrationdata.h"
#include "whole/kktregister.h"
#include "whole/unsent.h"

#include <QObject>
#include <functional>
#include <optional>

class QWidget;
class TFrameGsmSetting;
class TFrameSetVaro;
struct KktSession;

// The window's register changed behind the frames' backs in `parts` (a file was loaded): both frames
// show it again, with its marks.
void RefreshParts(TFrameSetVaro& tables, TFrameGsmSetting& gsm, const TRegisterParts& parts);

// "Программирование" → "Прочитать всё из ККТ" / "Записать всё в ККТ": every table and the module
// parameters in one run, shown in the wait window (share done, the table, time left) with its
// "Прервать". Each table's run keeps the frame's own hooks (rows repainted as they are read).
class TWholeRunActions : public QObject {
    Q_OBJECT
public:
    TWholeRunActions(QWidget* window, KktSession& session, TKktRegister& reg, TFrameSetVaro& tables,
                     TFrameGsmSetting& gsm);

    void ReadAllClick();
    void WriteAllClick();

    // What the grids hold that the register does not (see UnsentParts).
    QList<TUnsentPart> Unsent() const;
    // Writes those rows with the wait window and its "Прервать"; false (after the message) when the
    // write stopped short.
    bool WriteUnsentRows(const QList<TUnsentPart>& parts);

    // The registration data of the last "read all" that got it; none before.
    const RegistrationData* Registration() const { return m_registration ? &*m_registration : nullptr; }
    bool Running() const { return m_running; }

    // Called with false before a run and with true after it, to lock the window meanwhile.
    std::function<void(bool enabled)> onBusy;

private:
    void Run(bool reading);
    TWholeHooks Hooks(bool reading, const std::function<QString(const TWholeProgress&)>& text);

    QWidget* m_window;
    KktSession& m_session;
    TKktRegister& m_reg;
    TFrameSetVaro& m_tables;
    TFrameGsmSetting& m_gsm;
    std::optional<RegistrationData> m_registration;
    bool m_running = false;
};
