#include "whole/ui/fleetdialog.h"

#include "app/session.h"
#include "app/ui/filedialogs.h"
#include "app/ui/messages.h"
#include "app/ui/searchpanel.h"
#include "files/filetexts.h"
#include "files/workbook.h"
#include "link/framedump.h"
#include "link/kktsearch.h"
#include "whole/fleetjobs.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <thread>

namespace {

enum Column { kTick, kPort, kSpeed, kSerial, kProgress, kResult, kColumns };

// One register's frames for the window's log, each named by its port; handed over to the window's
// thread, since the register's own thread writes them.
class TFleetFrameLog final : public KktFrameLog {
public:
    TFleetFrameLog(QObject* receiver, QString port, std::function<void(const QString&, bool)> log)
        : m_receiver(receiver), m_port(std::move(port)), m_log(std::move(log))
    {
    }
    void DumpKktFrame(const uint8_t* frame, uint32_t count, bool isAnswer) override
    {
        const QString text = QStringLiteral("[%1] ").arg(m_port) + FrameDumpEntry(frame, count, isAnswer);
        QMetaObject::invokeMethod(m_receiver, [log = m_log, text, isAnswer] { log(text, isAnswer); }, Qt::QueuedConnection);
    }

private:
    QObject* m_receiver;
    QString m_port;
    std::function<void(const QString&, bool)> m_log;
};

}  // namespace

TFleetDialog::TFleetDialog(KktSession& session, const TKktRegister& reg, const QStringList& ports, QWidget* parent)
    : QDialog(parent), m_session(session), m_reg(reg), m_ports(ports)
{
    setWindowTitle(QStringLiteral("Запись на несколько ККТ"));
    resize(820, 520);

    lstRegisters = new QTableWidget(0, kColumns, this);
    lstRegisters->setObjectName(QStringLiteral("lstRegisters"));
    lstRegisters->setHorizontalHeaderLabels({QString(), QStringLiteral("Порт"), QStringLiteral("Скорость"),
                                             QStringLiteral("Заводской номер"), QStringLiteral("Выполнено"),
                                             QStringLiteral("Результат")});
    lstRegisters->verticalHeader()->hide();
    lstRegisters->setSelectionMode(QAbstractItemView::NoSelection);
    lstRegisters->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstRegisters->horizontalHeader()->setStretchLastSection(true);
    lstRegisters->setColumnWidth(kTick, 28);
    lstRegisters->setColumnWidth(kPort, 150);
    lstRegisters->setColumnWidth(kSpeed, 80);
    lstRegisters->setColumnWidth(kSerial, 130);
    lstRegisters->setColumnWidth(kProgress, 150);

    btnFind = new QPushButton(QStringLiteral("Найти ККТ"), this);
    SearchPanel = new TKktSearchPanel(session.Link, this);
    connect(btnFind, &QPushButton::clicked, this, &TFleetDialog::FindClick);
    connect(SearchPanel, &TKktSearchPanel::Finished, this, &TFleetDialog::SearchFinished);

    auto* source = new QGroupBox(QStringLiteral("Что записать"), this);
    rbAll = new QRadioButton(QStringLiteral("Все таблицы и параметры GSM из окна"), source);
    rbChanged = new QRadioButton(QStringLiteral("Только изменённые записи"), source);
    rbBook = new QRadioButton(QStringLiteral("Книгу:"), source);
    rbAll->setChecked(true);
    edtBook = new QLineEdit(source);
    btnBook = new QPushButton(QStringLiteral("Выбрать…"), source);
    connect(btnBook, &QPushButton::clicked, this, &TFleetDialog::ChooseBook);
    auto* bookRow = new QHBoxLayout;
    bookRow->addWidget(rbBook);
    bookRow->addWidget(edtBook, 1);
    bookRow->addWidget(btnBook);
    auto* sourceBox = new QVBoxLayout(source);
    sourceBox->addWidget(rbAll);
    sourceBox->addWidget(rbChanged);
    sourceBox->addLayout(bookRow);
    auto* note = new QLabel(QStringLiteral("Регистрация не выполняется. Таблицы окна не меняются."), source);
    sourceBox->addWidget(note);

    lblSummary = new QLabel(this);
    lblSummary->setWordWrap(true);
    btnWrite = new QPushButton(QStringLiteral("Записать"), this);
    btnStop = new QPushButton(QStringLiteral("Остановить"), this);
    btnStop->setEnabled(false);
    btnClose = new QPushButton(QStringLiteral("Закрыть"), this);
    connect(btnWrite, &QPushButton::clicked, this, &TFleetDialog::Start);
    connect(btnStop, &QPushButton::clicked, this, &TFleetDialog::Stop);
    connect(btnClose, &QPushButton::clicked, this, &TFleetDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("ККТ магазина (отметьте, на какие записать):"), this), 1);
    top->addWidget(btnFind);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblSummary, 1);
    buttons->addWidget(btnWrite);
    buttons->addWidget(btnStop);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lstRegisters, 1);
    layout->addWidget(SearchPanel);
    layout->addWidget(source);
    layout->addLayout(buttons);
}

TFleetDialog::~TFleetDialog() = default;

void TFleetDialog::AddRegister(const KktLinkArgs& link, const QString& serial)
{
    for (int r = 0; r < lstRegisters->rowCount(); ++r)
        if (lstRegisters->item(r, kPort)->text() == link.port)
            lstRegisters->removeRow(r--);
    const int row = lstRegisters->rowCount();
    lstRegisters->insertRow(row);
    auto* tick = new QTableWidgetItem;
    tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    tick->setCheckState(Qt::Checked);
    lstRegisters->setItem(row, kTick, tick);
    lstRegisters->setItem(row, kPort, new QTableWidgetItem(link.port));
    lstRegisters->setItem(row, kSpeed, new QTableWidgetItem(QString::number(link.speed)));
    lstRegisters->setItem(row, kSerial, new QTableWidgetItem(serial.isEmpty() ? QStringLiteral("-") : serial));
    auto* bar = new QProgressBar(lstRegisters);
    bar->setRange(0, 100);
    bar->setValue(0);
    lstRegisters->setCellWidget(row, kProgress, bar);
    lstRegisters->setItem(row, kResult, new QTableWidgetItem);
}

void TFleetDialog::FindClick()
{
    if (SearchPanel->Running()) {
        SearchPanel->Stop();
        return;
    }
    btnFind->setText(QStringLiteral("Остановить поиск"));
    btnWrite->setEnabled(false);
    SearchPanel->Start(m_ports, KktLineSpeeds(), m_session.StructSett.NumKKT);
}

void TFleetDialog::SearchFinished()
{
    btnFind->setText(QStringLiteral("Найти ККТ"));
    for (const KktPortReport& found : SearchPanel->Search()->found()) {
        KktLinkArgs link = m_session.LinkArgs();
        link.port = found.port;
        link.speed = found.speed;
        AddRegister(link, ReadSerial(m_session.Link, link));
    }
    btnWrite->setEnabled(true);
    if (lstRegisters->rowCount() == 0)
        lblSummary->setText(QStringLiteral("ККТ не найдена."));
}

void TFleetDialog::ChooseBook()
{
    const QString name = ChooseFileName(this, FileDialogMode::Open, filetexts::kWorkbookFilter, filetexts::kWorkbookSuffix);
    if (name.isEmpty())
        return;
    edtBook->setText(name);
    rbBook->setChecked(true);
}

TFleetJob TFleetDialog::PrepareJob()
{
    if (rbAll->isChecked())
        return WriteAllJob(m_reg, TRegisterParts::All(), QString());
    if (rbChanged->isChecked()) {
        const QList<TUnsentPart> parts = MarkedParts(m_reg);
        if (parts.isEmpty()) {
            ShowMessage(this, MsgKind::Information, QStringLiteral("Внимание!\r\nНет изменённых записей. Ничего не записано."));
            return {};
        }
        return WriteRowsJob(m_reg, parts);
    }
    // The whole book is checked before the first exchange: no register gets half of it.
    const QString file = edtBook->text();
    m_book = TKktRegister();
    const TWorkbookLoad load = LoadWorkbook(file, m_book);
    QString problem = load.ok() ? WorkbookWriteProblem(m_book, load.parts) : load.error;
    if (!problem.isEmpty()) {
        ShowMessage(this, MsgKind::Error, QStringLiteral("Внимание!\r\nКнига \"%1\" не записана:\r\n%2").arg(file, problem));
        return {};
    }
    return WriteAllJob(m_book, load.parts, WorkbookSerial(file));
}

bool TFleetDialog::Start()
{
    if (m_running)
        return false;
    QList<KktLinkArgs> links;
    m_runRows.clear();
    QStringList ports;
    for (int r = 0; r < lstRegisters->rowCount(); ++r) {
        if (lstRegisters->item(r, kTick)->checkState() != Qt::Checked)
            continue;
        KktLinkArgs link = m_session.LinkArgs();
        link.port = lstRegisters->item(r, kPort)->text();
        link.speed = lstRegisters->item(r, kSpeed)->text().toInt();
        links << link;
        ports << link.port;
        m_runRows << r;
    }
    if (links.isEmpty()) {
        ShowMessage(this, MsgKind::Information, QStringLiteral("Внимание!\r\nНе отмечено ни одной ККТ."));
        return false;
    }
    if (const QString twice = RepeatedPort(ports); !twice.isEmpty()) {
        ShowMessage(this, MsgKind::Warning, QStringLiteral("Внимание!\r\nПорт %1 отмечен дважды.").arg(twice));
        return false;
    }
    const TFleetJob job = PrepareJob();
    if (!job)
        return false;

    for (int row : m_runRows) {
        static_cast<QProgressBar*>(lstRegisters->cellWidget(row, kProgress))->setValue(0);
        lstRegisters->item(row, kResult)->setText(QStringLiteral("выполняется"));
    }
    std::vector<std::unique_ptr<TFleetFrameLog>> logs;
    for (const KktLinkArgs& link : links)
        logs.push_back(std::make_unique<TFleetFrameLog>(this, link.port, logFrame ? logFrame : [](const QString&, bool) {}));
    TFleetHooks hooks;
    hooks.progress = [this](int i, const TWholeProgress& p) {
        QMetaObject::invokeMethod(this, [this, i, p] { ShowProgress(m_runRows[i], p); }, Qt::QueuedConnection);
    };
    hooks.finished = [this](int i, const TFleetReport& r) {
        QMetaObject::invokeMethod(this, [this, i, r] { ShowReport(m_runRows[i], r); }, Qt::QueuedConnection);
    };
    hooks.aborted = [this] { return m_stop.load(); };
    hooks.frameLog = [&logs](int i) -> KktFrameLog* { return logs[size_t(i)].get(); };

    m_stop = false;
    SetBusy(true);
    QEventLoop loop;
    QList<TFleetReport> reports;
    std::thread worker([&] {
        reports = RunFleet(links, job, hooks);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    QCoreApplication::sendPostedEvents(this);  // the last bars and frames before the summary
    SetBusy(false);

    int failed = 0;
    for (const TFleetReport& r : reports)
        failed += r.ok ? 0 : 1;
    lblSummary->setText(failed == 0 ? QStringLiteral("Записано во все ККТ: %1.").arg(reports.size())
                                    : QStringLiteral("Не удалось записать в ККТ: %1 из %2 (причина - в списке).")
                                          .arg(failed)
                                          .arg(reports.size()));
    return true;
}

void TFleetDialog::ShowProgress(int row, const TWholeProgress& progress)
{
    static_cast<QProgressBar*>(lstRegisters->cellWidget(row, kProgress))->setValue(progress.percent);
    lstRegisters->item(row, kResult)->setText(progress.part);
}

void TFleetDialog::ShowReport(int row, const TFleetReport& report)
{
    if (report.ok)
        static_cast<QProgressBar*>(lstRegisters->cellWidget(row, kProgress))->setValue(100);
    if (!report.serial.isEmpty())
        lstRegisters->item(row, kSerial)->setText(report.sourceSerial.isEmpty() || report.sourceSerial == report.serial
                                                      ? report.serial
                                                      : QStringLiteral("%1 (копия с %2)").arg(report.serial, report.sourceSerial));
    QTableWidgetItem* result = lstRegisters->item(row, kResult);
    result->setText(QStringLiteral("%1; записей: %2; %3").arg(report.ok ? report.result : QStringLiteral("ошибка: ") + report.result)
                        .arg(report.entries)
                        .arg(FleetSeconds(report.ms)));
    result->setToolTip(result->text());
    result->setForeground(report.ok ? QColor(0, 128, 0) : QColor(192, 0, 0));
}

void TFleetDialog::SetBusy(bool busy)
{
    m_running = busy;
    btnWrite->setEnabled(!busy);
    btnFind->setEnabled(!busy);
    btnClose->setEnabled(!busy);
    btnStop->setEnabled(busy);
    lstRegisters->setEnabled(!busy);
}

void TFleetDialog::reject()
{
    // Never closed under a run: the registers' threads write into it.
    if (m_running) {
        Stop();
        return;
    }
    if (SearchPanel->Running())
        SearchPanel->Stop();
    QDialog::reject();
}
