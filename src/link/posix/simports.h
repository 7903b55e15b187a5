#pragma once
#include <QString>

// Register and scanner simulators live on pseudo-terminals, published as symbolic links where the
// port list finds them: $XDG_RUNTIME_DIR/kkt-sim, or /tmp/kkt-sim-<uid> without a runtime folder.
QString SimPublishDir();

// True for names that denote a published simulator.
bool IsSimPortName(const QString& name);

// PortDescription(), looking under other roots than /sys and /dev.
QString PortDescription(const QString& name, const QString& sysRoot, const QString& devRoot);
