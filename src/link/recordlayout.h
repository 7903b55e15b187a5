#pragma once
#include "link/kktframe.h"
#include "link/kktlink.h"

// A goods item's bytes from its name on: the same layout in a write request (from byte 11), in a read
// answer (from byte 6) and in the register's memory (from byte 0). 63 bytes; empty texts stay zero.
void PutGoodsItem(KktFrame& frame, int at, const KktGoodsItem& item);
void GetGoodsItem(const KktFrame& frame, int at, KktGoodsItem& item);

// An agent record's bytes from its sign byte on: the same layout in a write request (from byte 10),
// in a read answer (from byte 5) and in the register's memory (from byte 0). 248 bytes.
void PutAgentRecord(KktFrame& frame, int at, const KktAgentRecord& agent);
// Every field but the number, which the caller knows.
void GetAgentRecord(const KktFrame& frame, int at, KktAgentRecord& agent);
