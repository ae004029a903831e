#pragma once

#include <string>

#include "document/HdlFilterPlan.h"

// The generated filters' signal names and widths, the same in both languages.
namespace hdl_names {

std::string Id(size_t i);
// The register the products read: the input x_reg, or its last delayed sample.
std::string ProductInput(const HdlFilterPlan& plan);
// The multiplierless graph's value of the input (source -1) or of node
// `source` at a pipeline level (level is ignored without pipelining).
std::string LevelName(const HdlFilterPlan& plan, int source, int level);
int SourceBits(const HdlFilterPlan& plan, int source);
// The folded filter's adder tree: level 0 the units' accumulators acc_i,
// level l its sums sum_l_i.
std::string TreeName(size_t level, size_t i);
int TreeBits(const HdlFilterPlan& plan, size_t level, size_t i);
// The count of sums at a level of the tree (level 0: the units).
size_t TreeWidth(const HdlFilterPlan& plan, size_t level);

}  // namespace hdl_names
