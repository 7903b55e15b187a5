#pragma once
#include "link/registrationdata.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// "Причина перерегистрации": the four re-registration reasons as a check list. The owner creates it
// once and reuses it, so the ticks stay from one re-registration to the next.
class TfrmRegistratiobReason : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRegistratiobReason(QWidget* parent = nullptr);

    QListWidget* CheckListBox = nullptr;
    QPushButton* btnCountinue = nullptr;  // "Продолжить"
    QPushButton* btnCancel = nullptr;     // "Отмена"

    // Set by "Отмена" (and by any other way of closing without "Продолжить"), cleared by "Продолжить".
    bool ReasonCancelled = false;

    // The ticks as the flags travel: 1 for a ticked reason, 0 otherwise, in list order.
    ReasonFlags Reasons() const;
    void SetReasonTicked(int reason, bool ticked);

public Q_SLOTS:
    void reject() override;

private:
    void btnCountinueClick();
};
