#include "document/DesignExtension.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "document/CArchive.h"
#include "document/InputFile.h"

namespace {

constexpr std::uint32_t kMagic = 0x58544E5A;  // "ZNTX" as the file holds it
constexpr std::int32_t kVersion = 1;
enum Tag : std::uint32_t { kRequestTag = 1, kRateChangeTag = 2, kRequirementTag = 3 };
// Bounds of the counts a reader takes: none of these lists is longer.
constexpr std::int32_t kMaxStopBands = 64;
constexpr std::int32_t kMaxRequirementBands = 16;

// A record's bytes, written as the archive writes its fields.
class RecordWriter {
public:
    void Int(std::int32_t v) { Word(static_cast<std::uint32_t>(v)); }
    void Word(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void Double(double v)
    {
        const std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
        for (int i = 0; i < 8; ++i)
            m_bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

// A record's bytes read back; reading past its end, a kind outside its
// list or a number that is not finite fails it.
class RecordReader {
public:
    explicit RecordReader(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    std::int32_t Int() { return static_cast<std::int32_t>(Word()); }
    std::uint32_t Word()
    {
        if (!Take(4))
            return 0;
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(m_bytes[m_at - 4 + static_cast<size_t>(i)]) << (8 * i);
        return v;
    }
    double Double()
    {
        if (!Take(8))
            return 0.0;
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= static_cast<std::uint64_t>(m_bytes[m_at - 8 + static_cast<size_t>(i)]) << (8 * i);
        const double v = std::bit_cast<double>(bits);
        if (!std::isfinite(v))
            m_bFailed = true;
        return v;
    }
    // An index 0 .. count - 1 of a list, as a kind.
    template <class Kind>
    Kind Choice(int count)
    {
        const std::int32_t v = Int();
        if (v < 0 || v >= count)
            m_bFailed = true;
        return static_cast<Kind>(m_bFailed ? 0 : v);
    }
    // A count 0 .. most.
    int Count(std::int32_t most)
    {
        const std::int32_t v = Int();
        if (v < 0 || v > most)
            m_bFailed = true;
        return m_bFailed ? 0 : v;
    }
    void Fail() { m_bFailed = true; }
    bool Failed() const { return m_bFailed; }

private:
    bool Take(size_t n)
    {
        if (m_bFailed || m_bytes.size() - m_at < n) {
            m_bFailed = true;
            return false;
        }
        m_at += n;
        return true;
    }
    std::vector<std::uint8_t> m_bytes;
    size_t m_at = 0;
    bool m_bFailed = false;
};

void WriteWindow(RecordWriter& w, const WindowChoice& c)
{
    w.Int(IndexOf(c.type));
    w.Double(c.kaiserBeta);
    w.Int(c.chebyshevAttenuation);
}

WindowChoice ReadWindow(RecordReader& r)
{
    WindowChoice c;
    c.type = r.Choice<WindowType>(IndexOf(WindowType::Kaiser) + 1);
    c.kaiserBeta = r.Double();
    c.chebyshevAttenuation = r.Int();
    return c;
}

void WriteBands(RecordWriter& w, const std::vector<RemezBand>& bands, int gridDensity)
{
    w.Int(static_cast<std::int32_t>(bands.size()));
    for (const RemezBand& b : bands) {
        w.Int(b.m_bUse);
        w.Int(b.m_nLowerEdge);
        w.Int(b.m_nUpperEdge);
        w.Double(b.m_dValue);
        w.Double(b.m_dWeight);
    }
    w.Int(gridDensity);
}

std::vector<RemezBand> ReadBands(RecordReader& r, int& gridDensity)
{
    std::vector<RemezBand> bands(static_cast<size_t>(r.Count(kBandCount)));
    for (RemezBand& b : bands) {
        b.m_bUse = r.Int();
        b.m_nLowerEdge = r.Int();
        b.m_nUpperEdge = r.Int();
        b.m_dValue = r.Double();
        b.m_dWeight = r.Double();
    }
    gridDensity = r.Int();
    return bands;
}

void WriteMethod(RecordWriter& w, const DesignRequest& q)
{
    w.Int(IndexOf(q.Method()));
    if (const SincMethod* sinc = q.As<SincMethod>()) {
        WriteWindow(w, sinc->window);
        w.Double(sinc->differentiatorGain);
    } else if (const FrequencySamplingMethod* sampled = q.As<FrequencySamplingMethod>()) {
        WriteWindow(w, sampled->window);
        w.Int(sampled->points ? static_cast<std::int32_t>(sampled->points->size()) : -1);
        if (sampled->points)
            for (const Complex& p : *sampled->points) {
                w.Double(p.real());
                w.Double(p.imag());
            }
    } else if (const RemezMethod* remez = q.As<RemezMethod>()) {
        WriteBands(w, remez->bands, remez->gridDensity);
        w.Int(static_cast<std::int32_t>(remez->start));
        w.Int(remez->minimumPhase ? 1 : 0);
        w.Int(static_cast<std::int32_t>(remez->shape.kind));
        w.Int(remez->shape.decimation);
        w.Int(remez->shape.delay);
        w.Int(remez->shape.stages);
    } else if (const DirectMethod* direct = q.As<DirectMethod>()) {
        WriteWindow(w, direct->window);
        w.Double(direct->gaussianVariance);
    } else if (const LeastSquaresMethod* ls = q.As<LeastSquaresMethod>()) {
        WriteBands(w, ls->bands, ls->gridDensity);
        w.Int(ls->minimumPhase ? 1 : 0);
    } else if (const PulseMethod* pulse = q.As<PulseMethod>()) {
        const PulseRequest& p = pulse->pulse;
        w.Int(static_cast<std::int32_t>(p.shape));
        w.Double(p.rolloff);
        w.Double(p.bt);
        w.Int(p.sps);
        w.Int(p.span);
        w.Int(static_cast<std::int32_t>(p.normalisation));
    }
}

MethodParameters ReadMethod(RecordReader& r)
{
    switch (r.Choice<DesignMethod>(IndexOf(DesignMethod::Pulse) + 1)) {
    case DesignMethod::Sinc: {
        SincMethod m;
        m.window = ReadWindow(r);
        m.differentiatorGain = r.Double();
        return m;
    }
    case DesignMethod::FrequencySampling: {
        FrequencySamplingMethod m;
        m.window = ReadWindow(r);
        const std::int32_t count = r.Int();  // -1: no points read
        if (count < -1 || count > kMaxInputPoints)
            r.Fail();
        if (count >= 0 && !r.Failed()) {
            std::vector<Complex> points;
            for (std::int32_t i = 0; i < count && !r.Failed(); ++i) {
                const double re = r.Double();
                points.emplace_back(re, r.Double());
            }
            m.points = std::move(points);
        }
        return m;
    }
    case DesignMethod::Remez: {
        RemezMethod m;
        m.bands = ReadBands(r, m.gridDensity);
        m.start = r.Choice<RemezStart>(static_cast<int>(RemezStart::SparseGrid) + 1);
        m.minimumPhase = r.Int() != 0;
        m.shape.kind = r.Choice<ShapeKind>(static_cast<int>(ShapeKind::InverseSinc) + 1);
        m.shape.decimation = r.Int();
        m.shape.delay = r.Int();
        m.shape.stages = r.Int();
        return m;
    }
    case DesignMethod::Direct: {
        DirectMethod m;
        m.window = ReadWindow(r);
        m.gaussianVariance = r.Double();
        return m;
    }
    case DesignMethod::LeastSquares: {
        LeastSquaresMethod m;
        m.bands = ReadBands(r, m.gridDensity);
        m.minimumPhase = r.Int() != 0;
        return m;
    }
    case DesignMethod::Pulse: {
        PulseMethod m;
        PulseRequest& p = m.pulse;
        p.shape = r.Choice<PulseShape>(static_cast<int>(PulseShape::Gaussian) + 1);
        p.rolloff = r.Double();
        p.bt = r.Double();
        p.sps = r.Int();
        p.span = r.Int();
        p.normalisation = r.Choice<PulseNormalisation>(static_cast<int>(PulseNormalisation::UnitDcGain) + 1);
        return m;
    }
    }
    return SincMethod{};
}

RecordWriter RequestRecord(const DesignRequest& q)
{
    RecordWriter w;
    w.Int(IndexOf(q.filterType));
    w.Int(q.taps);
    w.Int(q.samplingRate);
    w.Int(q.firstCorner);
    w.Int(q.secondCorner);
    w.Int(IndexOf(q.scaling));
    w.Double(q.scale);
    w.Int(q.sinXCompensation ? 1 : 0);
    WriteMethod(w, q);
    return w;
}

DesignRequest ReadRequest(RecordReader& r)
{
    DesignRequest q;
    q.filterType = r.Choice<FilterType>(IndexOf(FilterType::MovingAverage) + 1);
    q.taps = r.Int();
    q.samplingRate = r.Int();
    q.firstCorner = r.Int();
    q.secondCorner = r.Int();
    q.scaling = r.Choice<IRScaling>(IndexOf(IRScaling::Custom) + 1);
    q.scale = r.Double();
    q.sinXCompensation = r.Int() != 0;
    q.method = ReadMethod(r);
    return q;
}

RecordWriter RateChangeRecord(const RateChange& rate)
{
    RecordWriter w;
    w.Int(static_cast<std::int32_t>(rate.kind));
    w.Int(rate.factor);
    w.Int(rate.aliasBands ? 1 : 0);
    w.Double(rate.stopWeight);
    w.Int(static_cast<std::int32_t>(rate.stopBands.size()));
    for (const MaskBand& b : rate.stopBands) {
        w.Double(b.loHz);
        w.Double(b.hiHz);
    }
    return w;
}

RateChange ReadRateChange(RecordReader& r)
{
    RateChange rate;
    rate.kind = r.Choice<RateChangeKind>(static_cast<int>(RateChangeKind::Halfband) + 1);
    rate.factor = r.Int();
    rate.aliasBands = r.Int() != 0;
    rate.stopWeight = r.Double();
    const int count = r.Count(kMaxStopBands);
    for (int i = 0; i < count && !r.Failed(); ++i) {
        const double lo = r.Double();
        rate.stopBands.push_back({BandKind::Stop, lo, r.Double(), 0.0});
    }
    return rate;
}

RecordWriter RequirementRecord(const SpecRequirement& req)
{
    RecordWriter w;
    w.Double(req.fs);
    w.Int(static_cast<std::int32_t>(req.bands.size()));
    for (const SpecBand& b : req.bands) {
        w.Int(static_cast<std::int32_t>(b.kind));
        w.Double(b.loHz);
        w.Double(b.hiHz);
        w.Double(b.limitDb);
    }
    return w;
}

SpecRequirement ReadRequirement(RecordReader& r)
{
    SpecRequirement req;
    req.fs = r.Double();
    const int count = r.Count(kMaxRequirementBands);
    for (int i = 0; i < count && !r.Failed(); ++i) {
        SpecBand b;
        b.kind = r.Choice<BandKind>(static_cast<int>(BandKind::Slope) + 1);
        b.loHz = r.Double();
        b.hiHz = r.Double();
        b.limitDb = r.Double();
        req.bands.push_back(b);
    }
    return req;
}

void WriteRecord(std::vector<std::uint8_t>& block, std::uint32_t tag, const RecordWriter& record)
{
    RecordWriter header;
    header.Word(tag);
    header.Word(static_cast<std::uint32_t>(record.Bytes().size()));
    block.insert(block.end(), header.Bytes().begin(), header.Bytes().end());
    block.insert(block.end(), record.Bytes().begin(), record.Bytes().end());
}

bool SameRequirement(const SpecRequirement& a, const SpecRequirement& b)
{
    if (a.fs != b.fs || a.bands.size() != b.bands.size())
        return false;
    for (size_t i = 0; i < a.bands.size(); ++i)
        if (a.bands[i].kind != b.bands[i].kind || a.bands[i].loHz != b.bands[i].loHz ||
            a.bands[i].hiHz != b.bands[i].hiHz || a.bands[i].limitDb != b.bands[i].limitDb)
            return false;
    return true;
}

}  // namespace

bool DesignExtension::operator==(const DesignExtension& other) const
{
    return request == other.request && requirement.has_value() == other.requirement.has_value() &&
           (!requirement || SameRequirement(*requirement, *other.requirement));
}

bool NeedsExtension(const DesignRequest& q, bool searched)
{
    if (searched || q.rateChange || q.As<LeastSquaresMethod>() || q.As<PulseMethod>())
        return true;
    if (const RemezMethod* remez = q.As<RemezMethod>())
        return remez->minimumPhase || remez->shape.kind != ShapeKind::None;
    if (const SincMethod* sinc = q.As<SincMethod>())
        return q.filterType == FilterType::Differentiator && sinc->differentiatorGain != std::numbers::pi;
    return false;
}

std::optional<DesignExtension> ExtensionFor(const DesignRequest& request,
                                            const std::optional<SpecRequirement>& requirement)
{
    if (!NeedsExtension(request, requirement.has_value()))
        return std::nullopt;
    DesignRequest stored = request;
    stored.measure = true;
    return DesignExtension{stored, requirement};
}

void WriteExtension(CArchive& ar, const DesignExtension& e)
{
    std::vector<std::uint8_t> block;
    if (e.request) {
        WriteRecord(block, kRequestTag, RequestRecord(*e.request));
        if (e.request->rateChange)
            WriteRecord(block, kRateChangeTag, RateChangeRecord(*e.request->rateChange));
    }
    if (e.requirement)
        WriteRecord(block, kRequirementTag, RequirementRecord(*e.requirement));
    ar.WriteUInt32(kMagic);
    ar.WriteInt32(kVersion);
    ar.WriteUInt32(static_cast<std::uint32_t>(block.size()));
    for (std::uint8_t b : block)
        ar.WriteByte(b);
}

std::optional<DesignExtension> ReadExtension(CArchive& ar)
{
    if (ar.IsFailed() || ar.Remaining() < 4)
        return std::nullopt;
    if (ar.ReadUInt32() != kMagic)
        return std::nullopt;
    ar.ReadInt32();  // the version: what a newer one adds comes in records of their own
    std::uint64_t left = ar.ReadUInt32();
    if (ar.IsFailed() || !ar.Expect(left, 1))
        return std::nullopt;
    DesignExtension e;
    std::optional<RateChange> rate;
    while (left > 0) {
        if (left < 8) {
            ar.MarkFormatError();
            return std::nullopt;
        }
        const std::uint32_t tag = ar.ReadUInt32();
        const std::uint32_t length = ar.ReadUInt32();
        left -= 8;
        if (length > left) {
            ar.MarkFormatError();
            return std::nullopt;
        }
        std::vector<std::uint8_t> bytes(length);
        for (std::uint8_t& b : bytes)
            b = ar.ReadByte();
        left -= length;
        RecordReader r(std::move(bytes));
        switch (tag) {
        case kRequestTag:
            e.request = ReadRequest(r);
            break;
        case kRateChangeTag:
            rate = ReadRateChange(r);
            break;
        case kRequirementTag:
            e.requirement = ReadRequirement(r);
            break;
        default:
            break;  // a record of a newer writer
        }
        if (r.Failed()) {
            ar.MarkFormatError();
            return std::nullopt;
        }
    }
    if (ar.IsFailed())
        return std::nullopt;
    if (e.request)
        e.request->rateChange = rate;
    return e;
}
