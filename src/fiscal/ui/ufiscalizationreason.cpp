#include "fiscal/ui/ufiscalizationreason.h"

#include "fiscal/fiscalform.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TfrmRegistratiobReason::TfrmRegistratiobReason(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Причина перерегистрации"));
    setModal(true);

    CheckListBox = new QListWidget(this);
    for (const QString& reason : ReasonCaptions()) {
        auto* item = new QListWidgetItem(reason, CheckListBox);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    CheckListBox->setFixedHeight(CheckListBox->sizeHintForRow(0) * CheckListBox->count() +
                                 2 * CheckListBox->frameWidth() + 4);

    btnCountinue = new QPushButton(QStringLiteral("Продолжить"), this);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    connect(btnCountinue, &QPushButton::clicked, this, &TfrmRegistratiobReason::btnCountinueClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmRegistratiobReason::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCountinue);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CheckListBox);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ReasonFlags TfrmRegistratiobReason::Reasons() const
{
    ReasonFlags flags{};
    for (int i = 0; i < CheckListBox->count() && i < static_cast<int>(flags.size()); ++i)
        flags[static_cast<size_t>(i)] = CheckListBox->item(i)->checkState() == Qt::Checked ? 1 : 0;
    return flags;
}

void TfrmRegistratiobReason::SetReasonTicked(int reason, bool ticked)
{
    if (QListWidgetItem* item = CheckListBox->item(reason))
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void TfrmRegistratiobReason::btnCountinueClick()
{
    ReasonCancelled = false;
    accept();
}

// "Отмена", Esc and a close by the window manager all end here: none of them may register.
void TfrmRegistratiobReason::reject()
{
    ReasonCancelled = true;
    QDialog::reject();
}
