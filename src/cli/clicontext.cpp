#include "cli/clicontext.h"

#include "text/conversion.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString TCliContext::SettingsPath() const
{
    return linkOptions.settings.isEmpty() ? ProgSettPath() : linkOptions.settings;
}

QStringList TCliContext::Ports() const
{
    QStringList ports;
    for (const QString& name : linkOptions.port.split(u',', Qt::SkipEmptyParts))
        if (!name.trimmed().isEmpty())
            ports << name.trimmed();
    return ports;
}

bool TCliContext::LinkReady(bool needPort)
{
    const bool named = !linkOptions.settings.isEmpty();
    const QString path = SettingsPath();
    // The program's own file is created when missing, as at start-up; a named one must exist.
    if (named && !QFileInfo(path).isFile()) {
        FileError(path, QStringLiteral("файла настроек нет"));
        return false;
    }
    TStructSetting sett;
    if (!LoadIniSettings(path, sett)) {
        FileError(path, QStringLiteral("не удалось прочитать файл настроек"));
        return false;
    }
    // Every option is converted before any is applied.
    const auto number = [this](const QString& option, const QString& text, int32_t& value) {
        if (text.isEmpty())
            return true;
        try {
            value = StrToInt(text);
        } catch (const ConversionError& e) {
            UsageError(option + QStringLiteral(": ") + e.message());
            return false;
        }
        if (value > 0 || (option == QLatin1String("--number") && value == 0))
            return true;
        UsageError(option + QStringLiteral(": значение должно быть больше 0"));
        return false;
    };
    if (!number(QStringLiteral("--speed"), linkOptions.speed, sett.PortSett.Speed) ||
        !number(QStringLiteral("--timeout"), linkOptions.timeOut, sett.PortSett.TimeOut) ||
        !number(QStringLiteral("--number"), linkOptions.number, sett.NumKKT))
        return false;
    // With several ports the first stands in the settings; each register's run takes its own.
    if (!Ports().isEmpty())
        sett.PortSett.Name = Ports().first();
    if (needPort && sett.PortSett.Name.isEmpty()) {
        UsageError(QStringLiteral("порт ККТ не задан: укажите --port NAME (список - kkt-cli ports) или выберите порт в настройках"));
        return false;
    }
    session.StructSett = sett;
    return true;
}

QString TCliContext::BoxText(const QString& message)
{
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

void TCliContext::Inform(const QString& message)
{
    out << BoxText(message) << '\n';
    out.flush();
}

int TCliContext::Fail(const QString& message)
{
    err << BoxText(message) << '\n';
    err.flush();
    return kExitKkt;
}

int TCliContext::UsageError(const QString& text)
{
    err << "kkt-cli: " << BoxText(text) << '\n';
    err.flush();
    return kExitUsage;
}

int TCliContext::FileError(const QString& fileName, const QString& text)
{
    return UsageError(fileName + QStringLiteral(": ") + text);
}

bool TCliContext::ReadFile(const QString& fileName, QByteArray& bytes)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        FileError(fileName, QStringLiteral("не удалось открыть файл (%1)").arg(file.errorString()));
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        FileError(fileName, QStringLiteral("не удалось прочитать файл (%1)").arg(file.errorString()));
        return false;
    }
    return true;
}

bool TCliContext::WriteFile(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        FileError(fileName, QStringLiteral("не удалось записать файл (%1)").arg(file.errorString()));
        return false;
    }
    return true;
}

int TCliContext::Emit(const QString& fileName, const QByteArray& utf8)
{
    if (fileName.isEmpty()) {
        out << QString::fromUtf8(utf8);
        out.flush();
        return kExitOk;
    }
    return WriteFile(fileName, utf8) ? kExitOk : kExitUsage;
}
