#include <string>

#include "document/HdlFilterWriter.h"
#include "document/HdlVhdlText.h"

std::string VhdlStreamText(const HdlFilterPlan& plan, const std::string& name)
{
    using hdlvh::N;
    const int b = plan.inputBits, o = plan.outputBits, depth = HdlStreamDepth(plan);
    const int iw = HdlStreamBytes(b) * 8, ow = HdlStreamBytes(o) * 8;
    const bool folded = plan.options.architecture == HdlArchitecture::Folded;
    const std::string wrapper = name + "_axis";

    std::vector<std::string> comment = HdlStreamComment(plan, name);
    comment.push_back("VHDL-2008, ieee.numeric_std only.");
    std::string t = HdlComment(comment, "--");
    t += "\nlibrary ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n\n";
    t += "entity " + wrapper + " is\n  port (\n";
    t += "    aclk          : in  std_logic;\n    aresetn       : in  std_logic;\n";
    t += "    s_axis_tvalid : in  std_logic;\n    s_axis_tready : out std_logic;\n";
    t += "    s_axis_tdata  : in  std_logic_vector(" + N(iw - 1) + " downto 0);\n";
    t += "    m_axis_tvalid : out std_logic;\n    m_axis_tready : in  std_logic;\n";
    t += "    m_axis_tdata  : out std_logic_vector(" + N(ow - 1) + " downto 0)\n  );\n";
    t += "end entity " + wrapper + ";\n\n";
    t += "architecture rtl of " + wrapper + " is\n";
    t += "  constant DEPTH : positive := " + N(depth) + ";\n";
    t += "  type fifo_type is array (0 to DEPTH - 1) of " + hdlvh::SignedType(o) + ";\n";
    t += "  signal fifo_data  : fifo_type;\n";
    t += "  -- pending: samples taken whose results have not left; count: results in the buffer.\n";
    t += "  signal pending    : natural range 0 to DEPTH := 0;\n";
    t += "  signal count      : natural range 0 to DEPTH := 0;\n";
    t += "  signal wr_ptr     : natural range 0 to DEPTH - 1 := 0;\n";
    t += "  signal rd_ptr     : natural range 0 to DEPTH - 1 := 0;\n";
    t += "  signal core_rst   : std_logic;\n  signal core_ready : std_logic;\n  signal core_valid : std_logic;\n";
    t += "  signal core_data  : " + hdlvh::SignedType(o) + ";\n";
    t += "  signal ready      : std_logic;\n  signal valid      : std_logic;\n";
    t += "  signal take       : std_logic;\n  signal give       : std_logic;\n";
    t += "begin\n";
    t += "  core_rst <= not aresetn;\n";
    if (!folded)
        t += "  core_ready <= '1';\n";
    t += "  ready <= '1' when aresetn = '1' and core_ready = '1' and pending /= DEPTH else '0';\n";
    t += "  valid <= '1' when aresetn = '1' and count /= 0 else '0';\n";
    t += "  take <= s_axis_tvalid and ready;\n  give <= valid and m_axis_tready;\n";
    t += "  s_axis_tready <= ready;\n  m_axis_tvalid <= valid;\n";
    t += "  m_axis_tdata <= std_logic_vector(resize(fifo_data(rd_ptr), " + N(ow) + "));\n\n";
    t += "  core : entity work." + name + "\n";
    t += "    port map (clk => aclk, rst => core_rst, in_valid => take,";
    t += folded ? " in_ready => core_ready,\n" : "\n";
    t += "              in_data => signed(s_axis_tdata(" + N(b - 1) + " downto 0)),\n";
    t += "              out_valid => core_valid, out_data => core_data);\n\n";
    t += R"(  process (aclk)
    variable level : natural range 0 to DEPTH;
  begin
    if rising_edge(aclk) then
      if aresetn = '0' then
        pending <= 0;
        count <= 0;
        wr_ptr <= 0;
        rd_ptr <= 0;
      else
        if core_valid = '1' then
          fifo_data(wr_ptr) <= core_data;
          wr_ptr <= 0 when wr_ptr = DEPTH - 1 else wr_ptr + 1;
        end if;
        if give = '1' then
          rd_ptr <= 0 when rd_ptr = DEPTH - 1 else rd_ptr + 1;
        end if;
        level := count;
        if core_valid = '1' then
          level := level + 1;
        end if;
        if give = '1' then
          level := level - 1;
        end if;
        count <= level;
        level := pending;
        if take = '1' then
          level := level + 1;
        end if;
        if give = '1' then
          level := level - 1;
        end if;
        pending <= level;
      end if;
    end if;
  end process;
end architecture rtl;
)";
    return t;
}
