#pragma once

#include <string>

#include "document/HdlFilterPlan.h"

// Text helpers of the Verilog filters: every expression they build is as
// wide as the register it is assigned to, operands widened by explicit sign
// extension, so that `verilator --lint-only -Wall` finds nothing to say.
namespace hdlv {

std::string N(long long v);
// "[bits-1:0]".
std::string Range(int bits);
// signal (from bits wide) sign-extended to `to` bits; from <= to.
std::string Extend(const std::string& signal, int from, int to);
// signal (from bits) shifted left by shift, as `to` bits: sign-extended, or
// its high bits dropped where from + shift > to (exact modulo 2^to).
std::string Shifted(const std::string& signal, int from, int shift, int to);
// A sized signed literal of v ("-12'sd5"); a bit pattern where the
// magnitude does not fit.
std::string Literal(HdlInteger v, int width);
// "width'sb..." of v's two's complement.
std::string Pattern(HdlInteger v, int width);

// The rounding stage of a plan whose y (A bits) is `y`: declarations,
// the register update (under `valid`) and the output assignment.
std::string RoundingDeclarations(const HdlFilterPlan& plan, const std::string& y);
std::string RoundingUpdate(const HdlFilterPlan& plan, const std::string& valid, const std::string& indent);
std::string RoundingReset(const HdlFilterPlan& plan, const std::string& indent);
std::string OutputAssignment(const HdlFilterPlan& plan, const std::string& y);

// The module's opening: the header comment, "module name (" and the ports
// (in_ready for a folded filter).
std::string ModuleOpening(const HdlFilterPlan& plan, const std::string& name, const std::vector<std::string>& summary);
// Turns one Verilator warning off for the declarations between them: bits
// that are dropped on purpose (the low bits of a shift, the high bits of a
// sum known to fit).
std::string LintOff(const std::string& warning);
std::string LintOn(const std::string& warning);

}  // namespace hdlv
