#pragma once
#include <QString>
#include <QStringList>

// Port names as the user sees and stores them: "COM3" on Windows; "ttyS0", "ttyUSB0" (devices under
// /dev), a full device path, or "kkt-sim..." for a register simulator published on this machine
// elsewhere. Each system lists and resolves its own (posix/, win/).

// The device path a port name is opened by.
QString ResolvePortPath(const QString& name);

// The machine's serial ports in ascending order, busy ones included (then, where simulators can be
// published, the published simulators).
QStringList GetCOM_Loop();

// What the system knows of the device behind a port, to tell ports apart: for a USB adapter its maker
// and product, or the device's friendly name; for a simulator the terminal it publishes. Empty when
// nothing is known. Never a name to open or store.
QString PortDescription(const QString& name);
