#pragma once
#include <QString>
#include <QStringList>

// Port names as the user sees and stores them: "ttyS0", "ttyUSB0" (devices under /dev), a full
// device path, or "kkt-sim..." for a register simulator published on this machine.

// Folder where simulators publish their pseudo-terminals as symbolic links:
// $XDG_RUNTIME_DIR/kkt-sim, or /tmp/kkt-sim-<uid> without a runtime folder.
QString SimPublishDir();

// True for names that denote a published simulator.
bool IsSimPortName(const QString& name);

// The device path a port name is opened by.
QString ResolvePortPath(const QString& name);

// The machine's serial ports in ascending order, busy ones included, then the published simulators.
QStringList GetCOM_Loop();

// What the system knows of the device behind a port, to tell ports apart: for a USB adapter its maker
// and product (or vendor:product numbers) and its stable name under /dev/serial/by-id; for a simulator
// the terminal it publishes. Empty when nothing is known. Never a name to open or store.
QString PortDescription(const QString& name);
// The same, looking under other roots than /sys and /dev.
QString PortDescription(const QString& name, const QString& sysRoot, const QString& devRoot);
