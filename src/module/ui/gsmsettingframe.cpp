#include "module/ui/gsmsettingframe.h"

TFrameGsmSetting::TFrameGsmSetting(QWidget* parent) : QFrame(parent) {}

void TFrameGsmSetting::Init(KktSession&) {}
