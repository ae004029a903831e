#pragma once

#include <string>
#include <vector>

#include "document/HdlFilterPlan.h"

// Text helpers of the VHDL filters (VHDL-2008 over ieee.numeric_std).
namespace hdlvh {

std::string N(long long v);
// "signed(bits-1 downto 0)".
std::string SignedType(int bits);
// signal (from bits) sign-extended to `to` bits, from <= to.
std::string Extend(const std::string& signal, int from, int to);
// signal (from bits) shifted left by shift, as `to` bits; from + shift <= to.
std::string Shifted(const std::string& signal, int from, int shift, int to);
// A constant of width bits: to_signed where VHDL's integer holds v, else its bit pattern.
std::string Constant(HdlInteger v, int width);

// The rounding stage of a plan whose y (A bits) is `y`: declarations,
// concurrent assignments, the register update (under `valid`), its reset
// and the output assignment.
std::string RoundingDeclarations(const HdlFilterPlan& plan);
std::string RoundingAssignments(const HdlFilterPlan& plan, const std::string& y);
std::string RoundingUpdate(const HdlFilterPlan& plan, const std::string& valid, const std::string& indent);
std::string RoundingReset(const HdlFilterPlan& plan, const std::string& indent);
std::string OutputAssignment(const HdlFilterPlan& plan, const std::string& y);

// The header comment, the library clauses and the entity (in_ready for a
// folded filter), up to "architecture rtl of name is".
std::string EntityOpening(const HdlFilterPlan& plan, const std::string& name, const std::vector<std::string>& summary);

}  // namespace hdlvh
