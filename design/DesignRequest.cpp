#include "design/DesignRequest.h"

const WindowChoice* WindowOf(const DesignRequest& q)
{
    if (const SincMethod* m = q.As<SincMethod>())
        return &m->window;
    if (const FrequencySamplingMethod* m = q.As<FrequencySamplingMethod>())
        return &m->window;
    if (const DirectMethod* m = q.As<DirectMethod>())
        return &m->window;
    return nullptr;
}

const std::vector<RemezBand>* BandsOf(const DesignRequest& q)
{
    if (const RemezMethod* m = q.As<RemezMethod>())
        return &m->bands;
    if (const LeastSquaresMethod* m = q.As<LeastSquaresMethod>())
        return &m->bands;
    return nullptr;
}

int GridDensityOf(const DesignRequest& q)
{
    if (const RemezMethod* m = q.As<RemezMethod>())
        return m->gridDensity;
    if (const LeastSquaresMethod* m = q.As<LeastSquaresMethod>())
        return m->gridDensity;
    return 16;
}

bool IsMinimumPhase(const DesignRequest& q)
{
    if (const RemezMethod* m = q.As<RemezMethod>())
        return m->minimumPhase;
    if (const LeastSquaresMethod* m = q.As<LeastSquaresMethod>())
        return m->minimumPhase;
    return false;
}

ResponseShape ShapeOf(const DesignRequest& q)
{
    const RemezMethod* m = q.As<RemezMethod>();
    return m ? m->shape : ResponseShape{};
}
