#pragma once
#include "fiscal/fiscalform.h"
#include "link/registrationdata.h"

#include <QDialog>
#include <QHash>
#include <array>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TScrollBox;
class TfrmRegistratiobReason;
struct KktSession;

// "Фискализация": the register's registration data, registration and re-registration. The owner
// creates a new window for every use and shows it modally; showing it requests the current data.
class TfrmFiscalization : public QDialog {
    Q_OBJECT
public:
    TfrmFiscalization(KktSession& session, TfrmRegistratiobReason& reasons, QWidget* parent = nullptr);

    QFrame* pnlHeader = nullptr;
    QPushButton* btnFiscalDataRequest = nullptr;
    QPushButton* btnRegistration = nullptr;
    QPushButton* btnReRegistration = nullptr;
    QLabel* lblFlagReg = nullptr;
    TScrollBox* ScrollBox = nullptr;

    QLineEdit* lbledtSerialNumber = nullptr;
    QLineEdit* lbledtRegNum = nullptr;
    QLineEdit* lbledtNameCassir = nullptr;
    QLineEdit* lbledtPosCassir = nullptr;
    QLineEdit* lbledtInnCassir = nullptr;
    QPlainTextEdit* memoWebsiteFNS = nullptr;
    QPlainTextEdit* memoEmailSender = nullptr;
    QPlainTextEdit* memoNameUser = nullptr;
    QPlainTextEdit* memoAdress = nullptr;
    QPlainTextEdit* memoPlace = nullptr;
    QLineEdit* lbledtINNUser = nullptr;
    std::array<QCheckBox*, 6> chkTax{};
    std::array<QCheckBox*, 6> chkMode{};
    std::array<QCheckBox*, 7> chkAgent{};
    QPlainTextEdit* memoNameOFD = nullptr;
    QLineEdit* lbledtINNOFD = nullptr;
    QCheckBox* chkSetPrinter = nullptr;
    QCheckBox* chkAkcizGood = nullptr;
    QLineEdit* lbledtNumAuto = nullptr;

    // The record of the last registration sent or the last data received.
    const RegistrationData& Data() const { return m_data; }

    // The window's values as texts and ticks, and the other way round.
    TFiscalForm CollectForm() const;
    void ShowForm(const TFiscalForm& form);

    void FiscalDataRequest();
    void btnRegistrationClick();
    void btnReRegistrationClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FiscalDataRequestFun();
    bool RegistrationFun();
    void setDefaultMemo();
    void SetFlagState(int state);
    QLineEdit* AddLabeledEdit(class QVBoxLayout* layout, const QString& caption, int digitLimit);
    QPlainTextEdit* AddMemo(QVBoxLayout* layout, const QString& caption, int lines);
    void MemoChanged(QPlainTextEdit* memo);

    KktSession& m_session;
    TfrmRegistratiobReason& m_reasonDialog;
    RegistrationData m_data;
    uint8_t m_reregistration = 0;
    ReasonFlags m_reasons{};
    QHash<const QObject*, int> m_digitLimits;  // number edits and their digit counts
    QHash<QObject*, int> m_memoLimits;         // memos and their line counts
};
