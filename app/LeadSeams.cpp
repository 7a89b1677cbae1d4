// Empty steps of the supervision, the components and the registration until they land.
#include "app/FSpeedInstall.h"

void TfrmSpeedInstall::WMDownloadFailed() {}
void TfrmSpeedInstall::DownloadAttachedFiles() {}
void TfrmSpeedInstall::RegisterPlatform() {}
