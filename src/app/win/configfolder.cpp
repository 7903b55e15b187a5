#include "app/win/configfolder.h"

#include "app/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUuid>

#include <shlobj.h>
#include <windows.h>

namespace {

// Writable means a file can be made there: Program Files refuses ordinary users (or redirects them
// to the virtual store, which only a real file tells apart from the folder's permissions).
bool CanCreateFileIn(const QString& folder)
{
    if (folder.isEmpty() || !QDir(folder).exists())
        return false;
    QFile probe(QDir(folder).filePath(QStringLiteral(".kkt-write-test-") +
                                      QUuid::createUuid().toString(QUuid::WithoutBraces)));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}

QString RoamingAppData()
{
    wchar_t* path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

QString ChooseConfigFolder(const QString& programFolder, const QString& userFolder)
{
    if (CanCreateFileIn(programFolder))
        return programFolder;
    const QString folder = userFolder + QStringLiteral("/kkt-config");
    QDir().mkpath(folder);
    return folder;
}

QString ConfigFolder()
{
    return ChooseConfigFolder(QCoreApplication::applicationDirPath(), RoamingAppData());
}
