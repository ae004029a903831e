#pragma once

#include <variant>

#include "design/DesignRequest.h"

// The method of a request as the tests change it: the request's method
// parameters of that kind, put in place (with their defaults) when the
// request holds another method.
template <class M>
M& MethodOf(DesignRequest& q)
{
    if (!q.As<M>())
        q.method = M{};
    return std::get<M>(q.method);
}
inline SincMethod& Sinc(DesignRequest& q)
{
    return MethodOf<SincMethod>(q);
}
inline RemezMethod& Remez(DesignRequest& q)
{
    return MethodOf<RemezMethod>(q);
}
inline DirectMethod& Direct(DesignRequest& q)
{
    return MethodOf<DirectMethod>(q);
}
inline FrequencySamplingMethod& Sampled(DesignRequest& q)
{
    return MethodOf<FrequencySamplingMethod>(q);
}
inline LeastSquaresMethod& LeastSquares(DesignRequest& q)
{
    return MethodOf<LeastSquaresMethod>(q);
}
inline PulseRequest& Pulse(DesignRequest& q)
{
    return MethodOf<PulseMethod>(q).pulse;
}
