// The kernels of RemezVector.h, included once by each instruction set's
// source. The includer defines, in an anonymous namespace: kLanes, kChains
// (independent recurrences kept in registers at a time), the vector types V
// (kLanes doubles) and VI (kLanes 64-bit integers) and V Fma(V a, V b, V c),
// a b + c rounded once. Only compiler built-ins are used here, so that no
// inline function compiled for one instruction set can stand in for
// another's at link time.

namespace {

constexpr int kVectorsPerBlock = kRemezVectorBlock / kLanes;
static_assert(kRemezVectorBlock % kLanes == 0, "a block holds whole vectors");

inline V Load(const double* p)
{
    V v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}

inline void Store(double* p, V v)
{
    __builtin_memcpy(p, &v, sizeof v);
}

// C points vectors at x through Clenshaw's recurrence side by side, each lane
// as ChebyshevSeries: b = fma(2x, b1, c_j - b2), a = fma(x, b1, c_0 - b2).
template <int C>
inline void SeriesChains(const double* x, const double* c, int n, double* out)
{
    V xv[C];
    V x2[C];
    V b1[C];
    V b2[C];
    for (int q = 0; q < C; ++q) {
        xv[q] = Load(x + q * kLanes);
        x2[q] = xv[q] + xv[q];
        b1[q] = V{};
        b2[q] = V{};
    }
    for (int j = n - 1; j >= 1; --j) {
        const double cj = c[j];
        for (int q = 0; q < C; ++q) {
            const V u = cj - b2[q];
            b2[q] = b1[q];
            b1[q] = Fma(x2[q], b1[q], u);
        }
    }
    for (int q = 0; q < C; ++q)
        Store(out + q * kLanes, n > 0 ? Fma(xv[q], b1[q], c[0] - b2[q]) : V{});
}

inline void SeriesImpl(const double* x, int firstBlock, int lastBlock, const double* c, int n, double* result)
{
    int v = firstBlock * kVectorsPerBlock;
    const int end = lastBlock * kVectorsPerBlock;
    for (; v + kChains <= end; v += kChains)
        SeriesChains<kChains>(x + v * kLanes, c, n, result + v * kLanes);
    for (; v < end; ++v)
        SeriesChains<1>(x + v * kLanes, c, n, result + v * kLanes);
}

// The barycentric sums of C vectors of points, each lane in the order of
// BarycentricSums: four nodes to a division, then the rest one by one
// (d = x - x_k, q = ad_k / d, num += q y_k, den += q). The nearest node's
// distance only when Near: its minima cost as much as the sums' additions.
template <int C, bool Near>
inline void InterpolateChains(const double* x, const double* xk, const double* ad, const double* y, int m,
                              double* out, double* nearest)
{
    V xv[C];
    V num[C];
    V den[C];
    V near[C];
    for (int q = 0; q < C; ++q) {
        xv[q] = Load(x + q * kLanes);
        num[q] = V{};
        den[q] = V{};
        near[q] = V{} + 1e300;
    }
    int k = 0;
    for (; k + 3 < m; k += 4) {
        for (int q = 0; q < C; ++q) {
            const V d0 = xv[q] - xk[k];
            const V d1 = xv[q] - xk[k + 1];
            const V d2 = xv[q] - xk[k + 2];
            const V d3 = xv[q] - xk[k + 3];
            const V p01 = d0 * d1;
            const V p23 = d2 * d3;
            const V inv = 1.0 / (p01 * p23);
            const V i01 = p23 * inv;
            const V i23 = p01 * inv;
            const V w0 = ad[k] * d1 * i01;
            const V w1 = ad[k + 1] * d0 * i01;
            const V w2 = ad[k + 2] * d3 * i23;
            const V w3 = ad[k + 3] * d2 * i23;
            num[q] += w0 * y[k];
            den[q] += w0;
            num[q] += w1 * y[k + 1];
            den[q] += w1;
            num[q] += w2 * y[k + 2];
            den[q] += w2;
            num[q] += w3 * y[k + 3];
            den[q] += w3;
            if (!Near)
                continue;
            const V e0 = d0 < 0.0 ? -d0 : d0;
            const V e1 = d1 < 0.0 ? -d1 : d1;
            const V e2 = d2 < 0.0 ? -d2 : d2;
            const V e3 = d3 < 0.0 ? -d3 : d3;
            const V e01 = e0 < e1 ? e0 : e1;
            const V e23 = e2 < e3 ? e2 : e3;
            const V e = e01 < e23 ? e01 : e23;
            near[q] = e < near[q] ? e : near[q];
        }
    }
    for (; k < m; ++k) {
        const double xkk = xk[k];
        const double adk = ad[k];
        const double yk = y[k];
        for (int q = 0; q < C; ++q) {
            const V d = xv[q] - xkk;
            const V w = adk / d;
            const V term = w * yk;
            num[q] += term;
            den[q] += w;
            if (!Near)
                continue;
            const V dist = d < 0.0 ? -d : d;
            near[q] = dist < near[q] ? dist : near[q];
        }
    }
    for (int q = 0; q < C; ++q) {
        Store(out + q * kLanes, num[q] / den[q]);
        if (Near)
            Store(nearest + q * kLanes, near[q]);
    }
}

inline void InterpolateImpl(const double* x, int firstBlock, int lastBlock, const double* xk, const double* ad,
                            const double* y, int m, double* result, double* nearest)
{
    constexpr int kSums = 4;
    int v = firstBlock * kVectorsPerBlock;
    const int end = lastBlock * kVectorsPerBlock;
    if (!nearest) {
        for (; v + kSums <= end; v += kSums)
            InterpolateChains<kSums, false>(x + v * kLanes, xk, ad, y, m, result + v * kLanes, nullptr);
        for (; v < end; ++v)
            InterpolateChains<1, false>(x + v * kLanes, xk, ad, y, m, result + v * kLanes, nullptr);
        return;
    }
    for (; v + kSums <= end; v += kSums)
        InterpolateChains<kSums, true>(x + v * kLanes, xk, ad, y, m, result + v * kLanes, nearest + v * kLanes);
    for (; v < end; ++v)
        InterpolateChains<1, true>(x + v * kLanes, xk, ad, y, m, result + v * kLanes, nearest + v * kLanes);
}

// p brought into [0.5, 1) with its binary exponent added to e, lane by lane,
// exactly as frexp: normal numbers by their bits, the rare subnormal one by
// frexp itself; 0, infinities and NaN stay as they are.
inline void Normalise(V& p, VI& e)
{
    VI bits;
    __builtin_memcpy(&bits, &p, sizeof bits);
    const VI biased = (bits >> 52) & 0x7ff;
    const VI normal = (biased != 0) & (biased != 0x7ff);
    const VI mantissa = (bits & ~(0x7ffLL << 52)) | (1022LL << 52);
    const VI shifted = (mantissa & normal) | (bits & ~normal);
    e += (biased - 1022) & normal;
    __builtin_memcpy(&p, &shifted, sizeof p);
    for (int l = 0; l < kLanes; ++l) {
        if (biased[l] == 0 && p[l] != 0.0) {
            int extra = 0;
            p[l] = __builtin_frexp(p[l], &extra);
            e[l] += extra;
        }
    }
}

inline void NodeProductsImpl(const double* x, int m, double* product, int* exponent)
{
    for (int k0 = 0; k0 < m; k0 += kLanes) {
        V xk;
        V index;
        for (int l = 0; l < kLanes; ++l) {
            xk[l] = x[k0 + l < m ? k0 + l : m - 1];
            index[l] = static_cast<double>(k0 + l);
        }
        V p = V{} + 1.0;
        VI e = VI{};
        // The factor of j = k is 1: an exact multiplication, no branch.
        for (int j = 0; j < m; ++j) {
            const V factor = 2.0 * (xk - x[j]);
            p *= index == static_cast<double>(j) ? V{} + 1.0 : factor;
            // Factors lie within [0, 4] in size: 16 of them cannot leave the
            // range of a double.
            if (j % 16 == 15)
                Normalise(p, e);
        }
        for (int l = 0; l < kLanes && k0 + l < m; ++l) {
            product[k0 + l] = p[l];
            exponent[k0 + l] = static_cast<int>(e[l]);
        }
    }
}

}  // namespace
