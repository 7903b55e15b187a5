#pragma once
#include "sim/kktsimulator.h"

// A few cashiers, sections, cliché lines, module settings, goods and an agent, so that a first look
// at a simulated register shows data. The register stays unregistered.
void FillDemoData(KktSimulator& sim);
