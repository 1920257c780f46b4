#include "vywindow/VyMetrics.h"

#include "vyplatform/VyPlatform.h"

int VyGetMetric(VyMetric metric)
{
    const VyPlatform* pPlatform = VyPlatform::Get();
    return pPlatform != nullptr ? pPlatform->GetSysMetric(static_cast<int>(metric)) : 0;
}
