#pragma once
#include <QFrame>

struct KktSession;

// The communication module parameters frame hosted by the main window.
class TFrameGsmSetting : public QFrame {
    Q_OBJECT
public:
    explicit TFrameGsmSetting(QWidget* parent = nullptr);
    void Init(KktSession& session);
};
