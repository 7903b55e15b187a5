#include "app/ui/searchpanel.h"

#include "link/portnames.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

TKktSearchPanel::TKktSearchPanel(KktLink& link, QWidget* parent) : QFrame(parent), m_link(link)
{
    StatusLabel = new QLabel(this);
    Progress = new QProgressBar(this);
    Progress->setRange(0, 100);
    FoundLabel = new QLabel(this);
    FoundLabel->setTextFormat(Qt::PlainText);
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(StatusLabel);
    box->addWidget(Progress);
    box->addWidget(FoundLabel);
    hide();
}

TKktSearchPanel::~TKktSearchPanel() = default;

void TKktSearchPanel::Start(const QStringList& ports, const QList<int32_t>& speeds, int32_t numKkt)
{
    m_search = std::make_unique<KktSearch>(m_link, ports, speeds, numKkt);
    m_running = true;
    m_stopAsked = false;
    m_foundShown = 0;
    Progress->setValue(0);
    FoundLabel->clear();
    FoundLabel->hide();
    show();
    ShowNext();
    QTimer::singleShot(0, this, &TKktSearchPanel::Step);
}

void TKktSearchPanel::Stop()
{
    if (!m_running)
        return;
    m_stopAsked = true;
    m_search->Stop();
}

void TKktSearchPanel::Step()
{
    if (!m_running)
        return;
    if (m_stopAsked || !m_search->Step()) {
        Finish();
        return;
    }
    Progress->setValue(m_search->percent());
    const int before = m_foundShown;
    ShowFound();
    if (before == 0 && m_foundShown > 0) {
        const KktPortReport first = m_search->found().first();
        Q_EMIT FirstFound(first.port, first.speed);
    }
    if (m_search->finished()) {
        Finish();
        return;
    }
    ShowNext();
    // Through the event loop: the labels repaint and a stop click is seen before the next probe.
    QTimer::singleShot(0, this, &TKktSearchPanel::Step);
}

void TKktSearchPanel::ShowNext()
{
    StatusLabel->setText(QStringLiteral("Поиск: %1, %2 бод...").arg(m_search->nextPort()).arg(m_search->nextSpeed()));
}

void TKktSearchPanel::ShowFound()
{
    const QList<KktPortReport> found = m_search->found();
    if (found.size() == m_foundShown)
        return;
    m_foundShown = int(found.size());
    QStringList lines{QStringLiteral("Найдено:")};
    for (const KktPortReport& hit : found) {
        const QString about = PortDescription(hit.port);
        lines << QStringLiteral("  %1, %2 бод%3").arg(hit.port).arg(hit.speed)
                     .arg(about.isEmpty() ? QString() : QStringLiteral(" - ") + about);
    }
    FoundLabel->setText(lines.join(QLatin1Char('\n')));
    FoundLabel->show();
}

void TKktSearchPanel::Finish()
{
    m_running = false;
    const bool stopped = m_search->stopped();
    if (!stopped)
        Progress->setValue(100);
    const int found = int(m_search->found().size());
    if (stopped)
        StatusLabel->setText(QStringLiteral("Поиск остановлен."));
    else if (found == 0)
        StatusLabel->setText(QStringLiteral("ККТ не найдена."));
    else
        StatusLabel->setText(QStringLiteral("Поиск закончен: найдено ККТ - %1.").arg(found));
    Q_EMIT Finished(stopped);
}
