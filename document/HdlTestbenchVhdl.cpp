#include <string>

#include "document/HdlFilterWriter.h"
#include "document/HdlVhdlText.h"

namespace hdl_vhdl_testbench {

// Text helpers of the testbench, and the reader and checker processes.
constexpr const char* kFunctions = R"(
  -- Decimal text of a signed value of any width (integer holds only 32 bits).
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

  -- The first character of a line that is not blank, NUL for none.
  function first(s : string) return character is
  begin
    for i in s'range loop
      if s(i) /= ' ' and s(i) /= HT and s(i) /= CR then
        return s(i);
      end if;
    end loop;
    return NUL;
  end function;

  -- The decimal integer a line opens with, as an output value.
  function value(s : string) return signed is
    variable v        : signed(OUT_BITS + 4 downto 0) := (others => '0');
    variable negative : boolean := false;
    variable digits   : boolean := false;
  begin
    for i in s'range loop
      if s(i) = '-' and not digits then
        negative := true;
      elsif s(i) >= '0' and s(i) <= '9' then
        v := resize(v * 10, v'length) + (character'pos(s(i)) - character'pos('0'));
        digits := true;
      elsif digits then
        exit;
      end if;
    end loop;
    if negative then
      v := -v;
    end if;
    return resize(v, OUT_BITS);
  end function;
)";

constexpr const char* kProcesses = R"(
  stimulus : process
    file input_text : text;
    variable status  : file_open_status;
    variable l       : line;
    variable sample  : integer;
    variable idle    : integer;
    variable ok      : boolean;
    variable samples : natural := 0;
    variable c       : character;
  begin
    file_open(status, input_text, INPUT_FILE, read_mode);
    if status /= open_ok then
      report "TB: cannot open " & INPUT_FILE;
      std.env.finish(1);
    end if;
    wait until rising_edge(clk);
    wait until rising_edge(clk);
    rst <= '0';
    while not endfile(input_text) loop
      readline(input_text, l);
      c := first(l.all);
      if c = 'r' then
        rst <= '1';
        reset_line <= true;
        wait until rising_edge(clk);
        rst <= '0';
        reset_line <= false;
      elsif c /= '#' and c /= NUL then
        read(l, sample, ok);
        if ok then
          read(l, idle, ok);
          if not ok then
            idle := 0;
          end if;
          in_data <= to_signed(sample, in_data'length);
          in_valid <= '1';
          loop
            wait until rising_edge(clk);
            exit when in_ready = '1';
          end loop;
          in_valid <= '0';
          for gap in 1 to idle + samples mod (GAPS + 1) loop
            wait until rising_edge(clk);
          end loop;
          samples := samples + 1;
        end if;
      end if;
    end loop;
    input_done <= true;
    wait;
  end process;

  checker : process
    file expected_text : text;
    file output_text   : text;
    variable status        : file_open_status;
    variable l             : line;
    variable o             : line;
    variable kind          : natural;  -- of the last entry read: 0 none left, 1 a value, 2 "reset"
    variable expected      : signed(OUT_BITS - 1 downto 0);
    variable outputs       : natural := 0;
    variable mismatches    : natural := 0;
    variable missing       : natural := 0;
    variable quiet         : natural := 0;
    variable segment_ended : boolean := false;

    procedure read_expected is
      variable c : character;
    begin
      kind := 0;
      while kind = 0 and not endfile(expected_text) loop
        readline(expected_text, l);
        c := first(l.all);
        if c = 'r' then
          kind := 2;
        elsif c /= '#' and c /= NUL then
          expected := value(l.all);
          kind := 1;
        end if;
      end loop;
    end procedure;
  begin
    file_open(status, expected_text, EXPECTED_FILE, read_mode);
    if status /= open_ok then
      report "TB: cannot open " & EXPECTED_FILE;
      std.env.finish(1);
    end if;
    file_open(status, output_text, OUTPUT_FILE, write_mode);
    if status /= open_ok then
      report "TB: cannot open " & OUTPUT_FILE;
      std.env.finish(1);
    end if;
    loop
      wait until rising_edge(clk);
      if out_valid = '1' and out_ready = '1' then
        write(o, decimal(out_data));
        writeline(output_text, o);
        outputs := outputs + 1;
        quiet := 0;
        kind := 2;
        if not segment_ended then
          read_expected;
        end if;
        if kind /= 1 or out_data /= expected then
          mismatches := mismatches + 1;
          if mismatches <= 10 and kind = 1 then
            report "TB: output " & integer'image(outputs) & " is " & decimal(out_data) & ", expected " &
              decimal(expected);
          elsif mismatches <= 10 then
            report "TB: output " & integer'image(outputs) & " is " & decimal(out_data) & ", expected none";
          end if;
        end if;
        if kind = 2 then
          segment_ended := true;
        end if;
      end if;
      -- A reset drops the outputs in flight: the rest of the segment.
      if reset_line then
        kind := 1;
        while not segment_ended and kind = 1 loop
          read_expected;
        end loop;
        segment_ended := false;
      end if;
      if input_done then
        quiet := quiet + 1;
        exit when quiet > TIMEOUT;
      end if;
    end loop;
    kind := 1;
    while not segment_ended and kind = 1 loop
      read_expected;
      if kind = 1 then
        missing := missing + 1;
      end if;
    end loop;
    if missing > 0 then
      report "TB: " & integer'image(missing) & " expected outputs missing";
    end if;
    mismatches := mismatches + missing;
    file_close(output_text);
    report "TB: " & integer'image(mismatches) & " mismatches in " & integer'image(outputs) & " outputs";
    if mismatches /= 0 then
      report "TB: FAILED";
      std.env.finish(1);
    end if;
    std.env.finish(0);
    wait;
  end process;
end architecture sim;
)";

}  // namespace hdl_vhdl_testbench

std::string VhdlFilterTestbenchText(const HdlFilterPlan& plan, const std::string& name, const HdlTestbench& bench)
{
    using namespace hdl_vhdl_testbench;
    using hdlvh::N;
    using hdlvh::SignedType;
    const std::string tb = name + "_tb";
    const int b = plan.inputBits, o = plan.outputBits;
    const bool folded = plan.options.architecture == HdlArchitecture::Folded;
    std::string t = HdlComment(HdlTestbenchComment(plan, name, bench, "VHDL"), "--");
    t += "\nlibrary ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\nuse std.textio.all;\n\n";
    t += "entity " + tb + " is\n  generic (\n";
    t += "    INPUT_FILE    : string  := \"" + HdlStringText(bench.inputFile, true) + "\";\n";
    t += "    EXPECTED_FILE : string  := \"" + HdlStringText(bench.expectedFile, true) + "\";\n";
    t += "    OUTPUT_FILE   : string  := \"" + HdlStringText(bench.outputFile, true) + "\";\n";
    t += std::string("    GAPS          : natural := 0") + (bench.stream ? ";\n    BACKPRESSURE  : natural := 1\n" : "\n");
    t += "  );\nend entity " + tb + ";\n\n";
    t += "architecture sim of " + tb + " is\n";
    t += "  constant OUT_BITS : positive := " + N(o) + ";\n";
    t += "  constant TIMEOUT  : natural := " + N(HdlTestbenchTimeout(plan)) + ";\n";
    t += "  signal clk        : std_logic := '0';\n";
    t += "  signal rst        : std_logic := '1';\n";
    t += "  signal reset_line : boolean := false;\n";
    t += "  signal in_valid   : std_logic := '0';\n";
    t += "  signal in_ready   : std_logic;\n";
    t += "  signal in_data    : " + SignedType(b) + " := (others => '0');\n";
    t += "  signal out_valid  : std_logic;\n";
    t += "  signal out_ready  : std_logic := '1';\n";
    t += "  signal out_data   : " + SignedType(o) + ";\n";
    t += "  signal input_done : boolean := false;\n";
    if (bench.stream) {
        t += "  signal aresetn    : std_logic;\n";
        t += "  signal out_tdata  : std_logic_vector(" + N(HdlStreamBytes(o) * 8 - 1) + " downto 0);\n";
        t += "  signal lfsr       : unsigned(15 downto 0) := x\"ace1\";\n";
    }
    t += kFunctions;
    t += "begin\n";
    if (bench.stream) {
        t += "  aresetn <= not rst;\n";
        t += "  dut : entity work." + name + "_axis\n";
        t += "    port map (aclk => clk, aresetn => aresetn, s_axis_tvalid => in_valid, s_axis_tready => in_ready,\n";
        t += "              s_axis_tdata => std_logic_vector(resize(in_data, " + N(HdlStreamBytes(b) * 8) + ")),\n";
        t += "              m_axis_tvalid => out_valid, m_axis_tready => out_ready, m_axis_tdata => out_tdata);\n";
        t += "  out_data <= signed(out_tdata(" + N(o - 1) + " downto 0));\n\n";
        t += "  -- m_axis_tready low about half the clocks: bit 0 of a 16-bit LFSR (x^16 + x^14 + x^13 + x^11 + 1).\n";
        t += "  ready_gen : process (clk)\n  begin\n    if rising_edge(clk) then\n";
        t += "      if lfsr(0) = '1' then\n        lfsr <= shift_right(lfsr, 1) xor x\"b400\";\n";
        t += "      else\n        lfsr <= shift_right(lfsr, 1);\n      end if;\n";
        t += "      out_ready <= '1' when BACKPRESSURE = 0 or lfsr(0) = '1' else '0';\n";
        t += "    end if;\n  end process;\n";
    } else {
        if (!folded)
            t += "  in_ready <= '1';\n";
        t += "  dut : entity work." + name + "\n";
        t += "    port map (clk => clk, rst => rst, in_valid => in_valid, " +
             (folded ? std::string("in_ready => in_ready, ") : std::string()) + "in_data => in_data,\n";
        t += "              out_valid => out_valid, out_data => out_data);\n";
    }
    t += "\n  clk <= not clk after 5 ns;\n";
    t += kProcesses;
    std::string::size_type at = 0;
    while ((at = t.find("\"TB: ", at)) != std::string::npos)
        t.replace(at + 1, 2, tb), at += tb.size();
    return t;
}
