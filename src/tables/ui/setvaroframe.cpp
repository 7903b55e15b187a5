#include "tables/ui/setvaroframe.h"

TFrameSetVaro::TFrameSetVaro(QWidget* parent) : QFrame(parent) {}

void TFrameSetVaro::Init(KktSession&) {}

void TFrameSetVaro::SetScannerIndicatorVisible(bool) {}
