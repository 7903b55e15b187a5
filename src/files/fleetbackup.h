#pragma once
#include "whole/fleet.h"

#include <QString>

// Every register of a shop into a book of its own at once: everything read, with the registration
// data, into the book named from `pattern` (FleetFileName); a copy that is not whole is not saved.
TFleetJob BackupJob(const QString& pattern);
