#include "link/portnames.h"

#include "link/win/winerror.h"

#include <windows.h>
// clang-format off: initguid.h must come before devguid.h to define the class GUID here
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

namespace {

constexpr int kLastComPort = 99;

// The "PortName" ("COM3") of a device of the ports class, from its device key.
QString DevicePortName(HDEVINFO devices, SP_DEVINFO_DATA& device)
{
    HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    wchar_t name[64] = {};
    DWORD size = sizeof name - sizeof(wchar_t);
    DWORD type = 0;
    const bool ok = RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size) ==
                        ERROR_SUCCESS &&
                    type == REG_SZ;
    RegCloseKey(key);
    return ok ? QString::fromWCharArray(name) : QString();
}

}  // namespace

QString ResolvePortPath(const QString& name)
{
    if (name.isEmpty())
        return {};
    if (name.startsWith(QLatin1String("\\\\.\\")))
        return name;
    return QStringLiteral("\\\\.\\") + name;
}

QStringList GetCOM_Loop()
{
    QStringList names;
    for (int n = 1; n <= kLastComPort; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        HANDLE handle = CreateFileW(WideName(ResolvePortPath(name)), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        const DWORD code = handle == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        // A port in use answers with another error: it is there, so it is listed.
        if (code != ERROR_FILE_NOT_FOUND)
            names << name;
    }
    return names;
}

QString PortDescription(const QString& name)
{
    if (name.isEmpty())
        return {};
    HDEVINFO devices = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return {};
    QString description;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; description.isEmpty() && SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
        if (DevicePortName(devices, device).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        wchar_t friendly[256] = {};
        if (SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, nullptr,
                                              reinterpret_cast<BYTE*>(friendly), sizeof friendly - sizeof(wchar_t),
                                              nullptr))
            description = QString::fromWCharArray(friendly);
    }
    SetupDiDestroyDeviceInfoList(devices);
    return description;
}
