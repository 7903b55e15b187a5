#include "appuitest.h"

#include <QDir>

void AppUiTest::SetUp()
{
    ASSERT_TRUE(configDir.isValid());
    ASSERT_TRUE(runtimeDir.isValid());
    m_hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    m_hadRuntime = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    m_oldConfig = qgetenv("XDG_CONFIG_HOME");
    m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configDir.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    SetMessageHandler([this](MsgKind kind, const QString& text) {
        messages.emplace_back(kind, text);
        return true;
    });
}

void AppUiTest::TearDown()
{
    SetMessageHandler({});
    const auto restore = [](const char* name, const QByteArray& old, bool wasSet) {
        if (wasSet)
            qputenv(name, old);
        else
            qunsetenv(name);
    };
    restore("XDG_CONFIG_HOME", m_oldConfig, m_hadConfig);
    restore("XDG_RUNTIME_DIR", m_oldRuntime, m_hadRuntime);
}

QStringList AppUiTest::texts() const
{
    QStringList out;
    for (const auto& m : messages)
        out << m.second;
    return out;
}

void SaveShot(QWidget& widget, const QString& name)
{
    const QString dir = qEnvironmentVariable("KKT_SHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    widget.grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}
