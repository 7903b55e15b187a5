#pragma once
#include <QString>
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

// The wait window around long operations. One exists for the run; ShowWait/HideWait use it.
class TfrmWait : public QWidget {
    Q_OBJECT
public:
    explicit TfrmWait(QWidget* parent = nullptr);
    ~TfrmWait() override;

    QFrame* pnl1 = nullptr;
    QLabel* lbl1 = nullptr;
    QPushButton* btnAbort = nullptr;  // "Прервать", shown for runs that can be stopped

    // Set by "Прервать" or Esc; cleared by ShowWait.
    bool abortRequested() const { return m_abort; }

    void ShowWait(const QString& text, bool abortable);
    void HideWait();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_abort = false;
    bool m_cursorSet = false;  // the hourglass is pushed once and popped once
};

// Shows the wait window with `text` (hourglass cursor, repainted at once). With `abortable` the window
// offers "Прервать"; the caller polls WaitAborted() between steps (after processing pending events).
void ShowWait(const QString& text, bool abortable = false);
void HideWait();
bool WaitAborted();
// The run's wait window: the one created at start, or one made on first use.
TfrmWait* WaitWindow();
