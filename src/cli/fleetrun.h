#pragma once
#include "cli/clicontext.h"
#include "whole/fleet.h"
#include "whole/kktregister.h"

// Runs `job` on every port of the command line at once. A port named twice is refused before
// anything is sent. On a terminal each register has a progress line of its own; at the end the
// table of what each register came to goes to the output stream. Exit status 0 when every register
// went through, kExitSomeFailed otherwise.
int RunOnPorts(TCliContext& ctx, const TFleetJob& job);

// Writes the given rows of one part of `reg` to the register of the command line, with the progress
// bar, or to every register when several ports are named. The exit status.
int WritePartRowsCommand(TCliContext& ctx, const TKktRegister& reg, TableId id, const QList<int>& rows);
