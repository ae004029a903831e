#include "dsp/AdderGraph.h"

#include <algorithm>
#include <bit>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace adder_graph {

__extension__ typedef __int128 Wide;
__extension__ typedef unsigned __int128 UnsignedWide;

// Above 2^27 the successor set is hashed, and stops growing beyond this
// many values (wide words on long filters); the rest is built digit by digit.
constexpr size_t kMaxHashedSuccessors = 1'000'000;
// Distance-2 and route searches cost targets x built x shifts a step;
// beyond this in one step or in all (a quarter of it hashed), the cheapest
// target is built digit by digit: seconds at most.
constexpr long long kMaxStepWork = 5'000'000;
constexpr long long kMaxSearchWork = 60'000'000;

int BitLength(unsigned long long v)
{
    return 64 - std::countl_zero(v);
}

// One way of making a value from operands u and v (values; the builder maps
// them to nodes).
struct Form {
    long long value = 0;
    long long u = 0, v = 0;
    int uShift = 0, vShift = 0;
    bool negateU = false, negateV = false;
    int postShift = 0;
};

// Every odd value up to limit of the A-operation on odd u and v
// (Voronenko and Pueschel, section 3): |2^i u +- 2^j v| / 2^k.
template <class Visit>
void ForEachForm(long long u, long long v, long long limit, Visit visit)
{
    auto offer = [&](long long a, int as, long long b, int bs, bool subtract, int post) {
        const long long x = a << as, y = b << bs;
        long long raw = subtract ? x - y : x + y;
        Form f{0, a, b, as, bs, false, subtract, post};
        if (raw < 0) {
            raw = -raw;
            f.negateU = true;
            f.negateV = false;
        }
        f.value = raw >> post;
        if (f.value >= 1 && f.value <= limit)
            visit(f);
    };
    const long long sum = u + v;
    offer(u, 0, v, 0, false, std::countr_zero(static_cast<unsigned long long>(sum)));
    if (u != v)
        offer(u, 0, v, 0, true, std::countr_zero(static_cast<unsigned long long>(u > v ? u - v : v - u)));
    for (int j = 1; (v << (j - 1)) <= limit + u; ++j) {
        offer(u, 0, v, j, false, 0);
        offer(u, 0, v, j, true, 0);
    }
    for (int j = 1; (u << (j - 1)) <= limit + v; ++j) {
        offer(u, j, v, 0, false, 0);
        offer(u, j, v, 0, true, 0);
    }
}

// Odd values up to a limit: a bit a value up to 2^27 (16 MiB), a hash set
// above, holding at most kMaxSuccessors.
class OddValueSet {
public:
    explicit OddValueSet(long long limit)
    {
        if (limit <= (1LL << 27))
            m_bits.assign(static_cast<size_t>(limit / 128 + 1), 0);
    }
    bool Contains(long long v) const
    {
        if (m_bits.empty())
            return m_hashed.count(v) != 0;
        const auto i = static_cast<size_t>(v >> 1);
        return (m_bits[i / 64] >> (i % 64)) & 1;
    }
    void Insert(long long v)
    {
        if (m_bits.empty()) {
            m_hashed.insert(v);
            return;
        }
        const auto i = static_cast<size_t>(v >> 1);
        m_size += ((m_bits[i / 64] >> (i % 64)) & 1) == 0;
        m_bits[i / 64] |= 1ULL << (i % 64);
    }
    void Erase(long long v)
    {
        if (m_bits.empty()) {
            m_hashed.erase(v);
            return;
        }
        const auto i = static_cast<size_t>(v >> 1);
        m_size -= (m_bits[i / 64] >> (i % 64)) & 1;
        m_bits[i / 64] &= ~(1ULL << (i % 64));
    }
    bool Hashed() const { return m_bits.empty(); }
    size_t Size() const { return m_bits.empty() ? m_hashed.size() : m_size; }
    void Clear()
    {
        m_bits.clear();
        m_hashed.clear();
        m_size = 0;
    }

private:
    std::vector<unsigned long long> m_bits;
    std::unordered_set<long long> m_hashed;
    size_t m_size = 0;
};

class GraphBuilder {
public:
    explicit GraphBuilder(long long limit) : m_limit(limit), m_successors(limit)
    {
        m_index[1] = -1;
        m_built.push_back(1);
        AddSuccessors(1);
    }

    bool Built(long long v) const { return m_index.count(v) != 0; }
    bool Successor(long long v) const { return !m_capped && m_successors.Contains(v); }
    bool SuccessorsComplete() const { return !m_capped; }
    bool SuccessorsHashed() const { return m_successors.Hashed(); }
    const std::vector<long long>& BuiltValues() const { return m_built; }
    long long Limit() const { return m_limit; }

    // Builds s, one adder from two built values (s must be a successor).
    void Build(long long s)
    {
        Form best;
        int bestDepth = -1;
        for (long long r : m_built)
            ForEachForm(s, r, m_limit, [&](const Form& reverse) {
                if (!Built(reverse.value))
                    return;
                // s is one of the forms of r and reverse.value.
                ForEachForm(r, reverse.value, m_limit, [&](const Form& f) {
                    const int depth = std::max(DepthOf(f.u), DepthOf(f.v));
                    if (f.value == s && (bestDepth < 0 || depth < bestDepth)) {
                        best = f;
                        bestDepth = depth;
                    }
                });
            });
        // Every successor has a construction; digits keep the graph whole regardless.
        if (bestDepth < 0)
            BuildByDigits(s);
        else
            Add(best);
    }

    // Builds v adding its canonical signed digits from the least
    // significant up, each partial sum a fundamental (reused when built).
    void BuildByDigits(long long v)
    {
        if (Built(v))
            return;
        long long partial = 1;
        bool negative = false;  // the partial sum is -partial
        long long rest = v;
        // The lowest digit of an odd value is +-1 at bit 0.
        int digit = (rest & 3) == 3 ? -1 : 1;
        negative = digit < 0;
        rest -= digit;
        for (int bit = 1; rest != 0; ++bit) {
            if (((rest >> bit) & 1) == 0)
                continue;
            digit = ((rest >> bit) & 3) == 3 ? -1 : 1;
            rest -= static_cast<long long>(digit) << bit;
            // next = (negative ? -partial : partial) + digit * 2^bit
            Form f{0, partial, 1, 0, bit, negative, digit < 0, 0};
            long long raw = (negative ? -partial : partial) + (static_cast<long long>(digit) << bit);
            const bool nextNegative = raw < 0;
            if (nextNegative) {
                f.negateU = !f.negateU;
                f.negateV = !f.negateV;
                raw = -raw;
            }
            f.value = raw;
            if (!Built(raw))
                Add(f);
            partial = raw;
            negative = nextNegative;
        }
    }

    AdderGraph Take()
    {
        m_graph.depth = 0;
        for (const AdderNode& n : m_graph.nodes)
            m_graph.depth = std::max(m_graph.depth, n.depth);
        return std::move(m_graph);
    }

private:
    int DepthOf(long long value) const
    {
        const int node = m_index.at(value);
        return node < 0 ? 0 : m_graph.nodes[static_cast<size_t>(node)].depth;
    }

    void Add(const Form& f)
    {
        AdderNode n;
        n.value = f.value;
        n.left = m_index.at(f.u);
        n.right = m_index.at(f.v);
        n.leftShift = f.uShift;
        n.rightShift = f.vShift;
        n.negateLeft = f.negateU;
        n.negateRight = f.negateV;
        n.postShift = f.postShift;
        n.depth = 1 + std::max(DepthOf(f.u), DepthOf(f.v));
        m_index[f.value] = static_cast<int>(m_graph.nodes.size());
        m_graph.nodes.push_back(n);
        m_built.push_back(f.value);
        m_successors.Erase(f.value);
        AddSuccessors(f.value);
    }

    void AddSuccessors(long long r)
    {
        if (m_capped)
            return;
        for (long long b : m_built)
            ForEachForm(r, b, m_limit, [&](const Form& f) {
                if (f.value > 1 && !Built(f.value))
                    m_successors.Insert(f.value);
            });
        if (m_successors.Hashed() && m_successors.Size() > kMaxHashedSuccessors) {
            m_capped = true;
            m_successors.Clear();
        }
    }

    long long m_limit;
    AdderGraph m_graph;
    std::vector<long long> m_built;               // 1, then the nodes' values
    std::unordered_map<long long, int> m_index;   // value -> node, -1 for the input
    OddValueSet m_successors;                     // one adder from the built values, not built
    bool m_capped = false;
};

// The successor that brings the most distance-2 targets to distance 1
// (ties: the smallest), or 0 when no target is two adders away.
long long BestSuccessor(const GraphBuilder& b, const std::set<long long>& targets)
{
    std::unordered_map<long long, int> benefit;
    for (long long t : targets) {
        std::unordered_set<long long> helpers;
        // t = A(s, r) for a built r exactly when s is one of A(t, r).
        for (long long r : b.BuiltValues())
            ForEachForm(t, r, b.Limit(), [&](const Form& f) {
                if (b.Successor(f.value))
                    helpers.insert(f.value);
            });
        // t = s (2^j +- 1).
        for (int j = 1; (1LL << j) - 1 <= t; ++j)
            for (long long d : {(1LL << j) - 1, (1LL << j) + 1})
                if (d > 1 && t % d == 0 && b.Successor(t / d))
                    helpers.insert(t / d);
        for (long long s : helpers)
            ++benefit[s];
    }
    long long best = 0;
    int most = 0;
    for (const auto& [s, count] : benefit)
        if (count > most || (count == most && s < best)) {
            best = s;
            most = count;
        }
    return best;
}

}  // namespace adder_graph

using namespace adder_graph;

long long OddPart(long long v)
{
    unsigned long long m = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    if (m == 0)
        return 0;
    return static_cast<long long>(m >> std::countr_zero(m));
}

int CsdDigits(long long v)
{
    // The non-adjacent form has a nonzero digit at bit i exactly where bit
    // i + 1 of v ^ 3v is set.
    const UnsignedWide m = static_cast<UnsignedWide>(v < 0 ? -static_cast<Wide>(v) : static_cast<Wide>(v));
    const UnsignedWide x = (m ^ (3 * m)) >> 1;
    return std::popcount(static_cast<unsigned long long>(x)) +
           std::popcount(static_cast<unsigned long long>(x >> 64));
}

int CsdAdders(const std::vector<long long>& constants)
{
    std::set<long long> odd;
    for (long long c : constants)
        if (OddPart(c) > 1)
            odd.insert(OddPart(c));
    int adders = 0;
    for (long long v : odd)
        adders += CsdDigits(v) - 1;
    return adders;
}

AdderGraph MakeAdderGraph(const std::vector<long long>& constants)
{
    std::set<long long> targets;
    for (long long c : constants)
        if (OddPart(c) > 1)
            targets.insert(OddPart(c));
    if (targets.empty())
        return {};
    GraphBuilder b(1LL << (BitLength(static_cast<unsigned long long>(*targets.rbegin())) + 1));
    const long long shifts = BitLength(static_cast<unsigned long long>(b.Limit()));
    long long searched = 0;

    while (!targets.empty()) {
        std::erase_if(targets, [&b](long long t) { return b.Built(t); });
        // Optimal part: every target one adder from what is built.
        for (bool progress = true; progress && b.SuccessorsComplete();) {
            progress = false;
            for (auto it = targets.begin(); it != targets.end();)
                if (b.Successor(*it)) {
                    b.Build(*it);
                    it = targets.erase(it);
                    progress = true;
                } else {
                    ++it;
                }
        }
        if (targets.empty())
            break;
        const long long work = static_cast<long long>(targets.size()) *
                               static_cast<long long>(b.BuiltValues().size()) * 4 * shifts;
        searched += work;
        if (!b.SuccessorsComplete() || work > kMaxStepWork ||
            searched > (b.SuccessorsHashed() ? kMaxSearchWork / 4 : kMaxSearchWork)) {
            // Too large to search: the rest digit by digit, fewest digits
            // first, each reusing the partial sums built before it.
            std::vector<long long> rest(targets.begin(), targets.end());
            std::stable_sort(rest.begin(), rest.end(),
                             [](long long x, long long y) { return CsdDigits(x) < CsdDigits(y); });
            for (long long t : rest)
                b.BuildByDigits(t);
            break;
        }
        if (const long long s = BestSuccessor(b, targets); s != 0) {
            b.Build(s);
            continue;
        }
        // Every target three or more adders away: the one cheapest as a
        // built value combined with a remainder in signed digits.
        long long bestTarget = 0, bestRemainder = 0;
        int bestCost = 0;
        for (long long t : targets) {
            if (bestTarget == 0 || CsdDigits(t) - 1 < bestCost) {
                bestTarget = t;
                bestRemainder = 0;
                bestCost = CsdDigits(t) - 1;
            }
            for (long long r : b.BuiltValues())
                ForEachForm(t, r, b.Limit(), [&](const Form& f) {
                    if (f.value > 1 && CsdDigits(f.value) < bestCost) {
                        bestTarget = t;
                        bestRemainder = f.value;
                        bestCost = CsdDigits(f.value);
                    }
                });
        }
        if (bestRemainder != 0) {
            b.BuildByDigits(bestRemainder);
            b.Build(bestTarget);
        } else {
            b.BuildByDigits(bestTarget);
        }
        targets.erase(bestTarget);
    }
    return b.Take();
}

int AdderNodeOf(const AdderGraph& graph, long long oddValue)
{
    for (size_t i = 0; i < graph.nodes.size(); ++i)
        if (graph.nodes[i].value == oddValue)
            return static_cast<int>(i);
    return -1;
}

bool AdderGraphConsistent(const AdderGraph& graph)
{
    for (size_t i = 0; i < graph.nodes.size(); ++i) {
        const AdderNode& n = graph.nodes[i];
        auto valueOf = [&](int operand) -> Wide {
            if (operand < 0)
                return 1;
            if (static_cast<size_t>(operand) >= i)
                return -1;
            return graph.nodes[static_cast<size_t>(operand)].value;
        };
        const Wide l = valueOf(n.left), r = valueOf(n.right);
        if (l < 0 || r < 0 || (n.negateLeft && n.negateRight))
            return false;
        const Wide raw =
            (n.negateLeft ? -1 : 1) * (l << n.leftShift) + (n.negateRight ? -1 : 1) * (r << n.rightShift);
        if (raw <= 0 || raw != static_cast<Wide>(n.value) << n.postShift)
            return false;
    }
    return true;
}
