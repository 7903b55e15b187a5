#pragma once
#include <QFrame>

struct KktSession;

// The parameter tables frame hosted by the main window.
class TFrameSetVaro : public QFrame {
    Q_OBJECT
public:
    explicit TFrameSetVaro(QWidget* parent = nullptr);
    void Init(KktSession& session);
    // The scanner indicator (circle and caption) is hidden when no scanner model is configured.
    void SetScannerIndicatorVisible(bool visible);
};
