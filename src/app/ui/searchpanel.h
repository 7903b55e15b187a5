#pragma once
#include "link/kktsearch.h"

#include <QFrame>
#include <memory>

class QLabel;
class QProgressBar;

// "Найти ККТ" at work: runs a KktSearch one probe per turn of the event loop, so that the window
// repaints and its stop button acts between probes, and shows what it tries, its progress and what
// answered. The link is the session's: probes go through the same port handling and exchange log.
class TKktSearchPanel : public QFrame {
    Q_OBJECT
public:
    TKktSearchPanel(KktLink& link, QWidget* parent = nullptr);
    ~TKktSearchPanel() override;

    QLabel* StatusLabel = nullptr;  // the probe being made, then how the search ended
    QProgressBar* Progress = nullptr;
    QLabel* FoundLabel = nullptr;   // what answered

    void Start(const QStringList& ports, const QList<int32_t>& speeds, int32_t numKkt);
    // Ends the search after the probe under way (the port is closed between probes).
    void Stop();
    bool Running() const { return m_running; }
    // The last search; null before the first.
    const KktSearch* Search() const { return m_search.get(); }

Q_SIGNALS:
    void FirstFound(const QString& port, int32_t speed);
    void Finished(bool stopped);

private:
    void Step();
    void ShowNext();
    void ShowFound();
    void Finish();

    KktLink& m_link;
    std::unique_ptr<KktSearch> m_search;
    bool m_running = false;
    bool m_stopAsked = false;
    int m_foundShown = 0;
};
