#include "document/HdlSignalNames.h"

namespace hdl_names {

std::string Id(size_t i)
{
    return std::to_string(i);
}

std::string ProductInput(const HdlFilterPlan& plan)
{
    return plan.firstTap == 0 ? "x_reg" : "x_dly_" + std::to_string(plan.firstTap);
}

std::string LevelName(const HdlFilterPlan& plan, int source, int level)
{
    if (!plan.options.pipeline)
        return source < 0 ? ProductInput(plan) : "fund_" + std::to_string(source);
    if (source < 0)
        return level == 0 ? ProductInput(plan) : "x_lvl_" + std::to_string(level);
    return "fund_" + std::to_string(source) + "_" + std::to_string(level);
}

int SourceBits(const HdlFilterPlan& plan, int source)
{
    return source < 0 ? plan.inputBits : plan.graph.nodeBits[static_cast<size_t>(source)];
}

std::string TreeName(size_t level, size_t i)
{
    return level == 0 ? "acc_" + Id(i) : "sum_" + Id(level) + "_" + Id(i);
}

int TreeBits(const HdlFilterPlan& plan, size_t level, size_t i)
{
    return level == 0 ? plan.folded.units[i].accumulatorBits : plan.folded.treeBits[level - 1][i];
}

size_t TreeWidth(const HdlFilterPlan& plan, size_t level)
{
    return level == 0 ? plan.folded.units.size() : plan.folded.treeBits[level - 1].size();
}

}  // namespace hdl_names
