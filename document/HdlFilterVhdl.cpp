#include <string>

#include "document/HdlFilterWriter.h"

namespace {

std::string N(long long v)
{
    return std::to_string(v);
}

std::string SignedType(int bits)
{
    return "signed(" + N(bits - 1) + " downto 0)";
}

// A constant of the given width: the bit pattern, with its value beside it.
std::string Pattern(HdlInteger v, int width)
{
    std::string text = "\"";
    text += HdlBitPattern(v, width);
    return text += '"';
}

// The word as a signed constant: to_signed where the value is an integer
// every VHDL-2008 tool holds, the bit pattern for -2^31.
std::string WordConstant(long long word, int width)
{
    if (word < -2147483647LL)
        return Pattern(word, width);
    return "to_signed(" + N(word) + ", " + N(width) + ")";
}

std::string ChainAssignment(const HdlFilterPlan& plan, int k)
{
    const HdlChainTerm& t = plan.terms[static_cast<size_t>(k)];
    const int bits = plan.chainBits[static_cast<size_t>(k)];
    const std::string acc = "acc_" + N(k);
    const bool last = k == plan.chainLength - 1;
    const std::string next = last ? "" : "resize(acc_" + N(k + 1) + ", " + N(bits) + ")";
    if (t.multiplier < 0)
        return acc + " <= " + (last ? "(others => '0')" : next) + ";";
    const std::string product = "resize(prod_" + N(t.multiplier) + ", " + N(bits) + ")";
    if (last)
        return acc + " <= " + (t.subtract ? "-" : "") + product + ";";
    return acc + " <= " + next + (t.subtract ? " - " : " + ") + product + ";";
}

}  // namespace

std::string VhdlFilterText(const HdlFilterPlan& plan, const std::string& name,
                           const std::vector<std::string>& summary)
{
    const int a = plan.accumulatorBits, o = plan.outputBits, s = plan.shift, w = plan.wordLength;
    const int stages = plan.latency;

    std::string t = HdlHeaderComment(plan, summary, "VHDL-2008, ieee.numeric_std only.", "--");
    t += "\nlibrary ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n\n";
    t += "entity " + name + " is\n  port (\n";
    t += "    clk       : in  std_logic;\n";
    t += "    rst       : in  std_logic;\n";
    t += "    in_valid  : in  std_logic;\n";
    t += "    in_data   : in  " + SignedType(plan.inputBits) + ";\n";
    t += "    out_valid : out std_logic;\n";
    t += "    out_data  : out " + SignedType(o) + "\n  );\nend entity " + name + ";\n\n";
    t += "architecture rtl of " + name + " is\n";
    t += "  -- The distinct words and the taps that use them.\n";
    for (size_t m = 0; m < plan.multipliers.size(); ++m) {
        const HdlMultiplier& mul = plan.multipliers[m];
        t += "  constant coef_" + N(static_cast<long long>(m)) + " : " + SignedType(w) + " := " +
             WordConstant(mul.word, w) + ";  -- " + HdlTapsOf(mul) + " = " + N(mul.word) + "\n";
    }
    t += "  -- stage_valid(i): the sample taken i clocks ago is in stage i.\n";
    t += "  signal stage_valid : std_logic_vector(1 to " + N(stages) + ") := (others => '0');\n";
    t += "  signal x_reg : " + SignedType(plan.inputBits) + " := (others => '0');\n";
    for (size_t m = 0; m < plan.multipliers.size(); ++m)
        t += "  signal prod_" + N(static_cast<long long>(m)) + " : " + SignedType(plan.multipliers[m].productBits) +
             " := (others => '0');\n";
    t += "  -- acc_k sums b[k..] over the samples so far; acc_0 is y.\n";
    for (int k = 0; k < plan.chainLength; ++k)
        t += "  signal acc_" + N(k) + " : " + SignedType(plan.chainBits[static_cast<size_t>(k)]) +
             " := (others => '0');\n";
    if (plan.rounded) {
        t += "  -- Rounding: add 2^" + N(s - 1) + " (2^" + N(s - 1) + " - 1 below zero), shift right by " + N(s) +
             ", saturate to " + N(o) + " bits.\n";
        t += "  constant HALF       : " + SignedType(a + 1) + " := " + Pattern(HdlInteger(1) << (s - 1), a + 1) +
             ";\n";
        t += "  constant HALF_LESS  : " + SignedType(a + 1) + " := " +
             Pattern((HdlInteger(1) << (s - 1)) - 1, a + 1) + ";\n";
        t += "  constant OUT_MAX    : " + SignedType(a + 1 - s) + " := " +
             Pattern((HdlInteger(1) << (o - 1)) - 1, a + 1 - s) + ";\n";
        t += "  constant OUT_MIN    : " + SignedType(a + 1 - s) + " := " + Pattern(-(HdlInteger(1) << (o - 1)), a + 1 - s) +
             ";\n";
        t += "  signal biased  : " + SignedType(a + 1) + ";\n";
        t += "  signal shifted : " + SignedType(a + 1 - s) + ";\n";
        t += "  signal out_reg : " + SignedType(o) + " := (others => '0');\n";
    }
    t += "begin\n";
    if (plan.rounded) {
        t += "  biased <= resize(acc_0, " + N(a + 1) + ") + HALF_LESS when acc_0(" + N(a - 1) +
             ") = '1' else resize(acc_0, " + N(a + 1) + ") + HALF;\n";
        t += "  shifted <= resize(shift_right(biased, " + N(s) + "), " + N(a + 1 - s) + ");\n\n";
    }
    t += "  process (clk)\n  begin\n    if rising_edge(clk) then\n      if rst = '1' then\n";
    t += "        stage_valid <= (others => '0');\n        x_reg <= (others => '0');\n";
    for (size_t m = 0; m < plan.multipliers.size(); ++m)
        t += "        prod_" + N(static_cast<long long>(m)) + " <= (others => '0');\n";
    for (int k = 0; k < plan.chainLength; ++k)
        t += "        acc_" + N(k) + " <= (others => '0');\n";
    if (plan.rounded)
        t += "        out_reg <= (others => '0');\n";
    t += "      else\n";
    t += "        stage_valid <= in_valid & stage_valid(1 to " + N(stages - 1) + ");\n";
    t += "        if in_valid = '1' then\n          x_reg <= in_data;\n        end if;\n";
    for (size_t m = 0; m < plan.multipliers.size(); ++m)
        t += "        prod_" + N(static_cast<long long>(m)) + " <= resize(x_reg * coef_" +
             N(static_cast<long long>(m)) + ", " + N(plan.multipliers[m].productBits) + ");\n";
    t += "        if stage_valid(2) = '1' then\n";
    for (int k = 0; k < plan.chainLength; ++k)
        t += "          " + ChainAssignment(plan, k) + "\n";
    t += "        end if;\n";
    if (plan.rounded) {
        t += "        if stage_valid(3) = '1' then\n";
        t += "          if shifted > OUT_MAX then\n            out_reg <= resize(OUT_MAX, " + N(o) + ");\n";
        t += "          elsif shifted < OUT_MIN then\n            out_reg <= resize(OUT_MIN, " + N(o) + ");\n";
        t += "          else\n            out_reg <= resize(shifted, " + N(o) + ");\n          end if;\n";
        t += "        end if;\n";
    }
    t += "      end if;\n    end if;\n  end process;\n\n";
    t += "  out_valid <= stage_valid(" + N(stages) + ");\n";
    t += std::string("  out_data <= ") + (plan.rounded ? "out_reg" : "resize(acc_0, " + N(o) + ")") + ";\n";
    t += "end architecture rtl;\n";
    return t;
}

std::string VhdlFilterTestbenchText(const HdlFilterPlan& plan, const std::string& name)
{
    const std::string tb = name + "_tb";
    std::string t = HdlComment({"Testbench of " + name + ": reads one integer a line from INPUT_FILE, feeds them "
                                "with in_valid high",
                                "(idle i mod (GAPS + 1) clocks after sample i) and writes out_data, one line per "
                                "out_valid, to OUTPUT_FILE.",
                                "ghdl -a --std=08 " + name + ".vhd " + tb + ".vhd && ghdl -e --std=08 " + tb +
                                    " && ghdl -r --std=08 " + tb},
                               "--");
    t += "\nlibrary ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\nuse std.textio.all;\n\n";
    t += "entity " + tb + " is\n  generic (\n";
    t += "    INPUT_FILE  : string  := \"" + name + "_in.txt\";\n";
    t += "    OUTPUT_FILE : string  := \"" + name + "_out.txt\";\n";
    t += "    GAPS        : natural := 0\n  );\nend entity " + tb + ";\n\n";
    t += "architecture sim of " + tb + " is\n";
    t += "  constant LATENCY : natural := " + N(plan.latency) + ";\n";
    t += "  signal clk       : std_logic := '0';\n";
    t += "  signal rst       : std_logic := '1';\n";
    t += "  signal in_valid  : std_logic := '0';\n";
    t += "  signal in_data   : " + SignedType(plan.inputBits) + " := (others => '0');\n";
    t += "  signal out_valid : std_logic;\n";
    t += "  signal out_data  : " + SignedType(plan.outputBits) + ";\n";
    t += "  signal done      : boolean := false;\n\n";
    t += R"(  -- Decimal text of a signed value of any width (integer holds only 32 bits).
  function decimal(v : signed) return string is
    variable m    : unsigned(v'length downto 0);
    variable text : string(1 to 48);
    variable i    : natural := text'high;
  begin
    if v(v'left) = '1' then
      m := unsigned(-resize(v, v'length + 1));
    else
      m := unsigned(resize(v, v'length + 1));
    end if;
    loop
      text(i) := character'val(character'pos('0') + to_integer(m rem 10));
      i := i - 1;
      m := m / 10;
      exit when m = 0;
    end loop;
    if v(v'left) = '1' then
      text(i) := '-';
      i := i - 1;
    end if;
    return text(i + 1 to text'high);
  end function;
begin
)";
    t += "  dut : entity work." + name + "\n";
    t += "    port map (clk => clk, rst => rst, in_valid => in_valid, in_data => in_data,\n";
    t += "              out_valid => out_valid, out_data => out_data);\n\n";
    t += "  clk <= not clk after 5 ns;\n\n";
    t += R"(  stimulus : process
    file input_text : text open read_mode is INPUT_FILE;
    variable l     : line;
    variable value : integer;
    variable ok    : boolean;
    variable i     : natural := 0;
  begin
    wait until rising_edge(clk);
    wait until rising_edge(clk);
    rst <= '0';
    while not endfile(input_text) loop
      readline(input_text, l);
      read(l, value, ok);
      if ok then
        in_data <= to_signed(value, in_data'length);
        in_valid <= '1';
        wait until rising_edge(clk);
        in_valid <= '0';
        for gap in 1 to i mod (GAPS + 1) loop
          wait until rising_edge(clk);
        end loop;
        i := i + 1;
      end if;
    end loop;
    for c in 1 to LATENCY + 2 loop
      wait until rising_edge(clk);
    end loop;
    done <= true;
    wait;
  end process;

  recorder : process
    file output_text : text open write_mode is OUTPUT_FILE;
    variable l : line;
  begin
    loop
      wait until rising_edge(clk);
      if out_valid = '1' then
        write(l, decimal(out_data));
        writeline(output_text, l);
      end if;
      exit when done;
    end loop;
    file_close(output_text);
    std.env.finish;
    wait;
  end process;
)";
    t += "end architecture sim;\n";
    return t;
}
