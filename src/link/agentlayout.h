#pragma once
#include "link/kktframe.h"
#include "link/kktlink.h"

// An agent record's bytes from its sign byte on: the same layout in a write request (from byte 10),
// in a read answer (from byte 5) and in the register's memory (from byte 0). 248 bytes.
void PutAgentRecord(KktFrame& frame, int at, const KktAgentRecord& agent);
// Every field but the number, which the caller knows.
void GetAgentRecord(const KktFrame& frame, int at, KktAgentRecord& agent);
