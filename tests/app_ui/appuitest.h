#pragma once
#include "app/ui/messages.h"

#include <QApplication>
#include <QByteArray>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

// Every test runs with its own configuration and runtime folders and with the message boxes
// replaced by a recorder that answers OK.
class AppUiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The texts shown so far, in order.
    QStringList texts() const;

    std::vector<std::pair<MsgKind, QString>> messages;
    QTemporaryDir configDir;
    QTemporaryDir runtimeDir;

private:
    QByteArray m_oldConfig;
    QByteArray m_oldRuntime;
    bool m_hadConfig = false;
    bool m_hadRuntime = false;
};

// Answers the next modal dialog of type T as soon as it is open. Lives for one test.
template <typename T>
class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(T&)> act) : m_act(std::move(act))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                m_timer.stop();
                ++m_count;
                m_act(*dialog);
            }
        });
        m_timer.start(5);
    }
    int count() const { return m_count; }

private:
    QTimer m_timer;
    std::function<void(T&)> m_act;
    int m_count = 0;
};

// With KKT_SHOT_DIR set, the rendered widget is saved there as <name>.png for a look.
void SaveShot(QWidget& widget, const QString& name);
