#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "dsp/CPoints.h"

namespace {

CPoints Make(std::initializer_list<Complex> values)
{
    CPoints p(static_cast<int>(values.size()));
    int i = 0;
    for (const Complex& v : values)
        p[i++] = v;
    return p;
}

}  // namespace

TEST(CPoints, ConstructionAndSetSize)
{
    CPoints empty;
    EXPECT_EQ(empty.m_nCount, 0);
    EXPECT_EQ(empty.m_pData, nullptr);

    CPoints p = Make({1.0, 2.0, 3.0});
    p.SetSize(3);
    EXPECT_EQ(p[2], Complex(3.0));  // same count: contents kept
    p.SetSize(5);
    EXPECT_EQ(p[2], Complex(3.0));
    EXPECT_EQ(p[3], Complex(0.0));
    EXPECT_EQ(p[4], Complex(0.0));
    p.SetSize(2);
    EXPECT_EQ(p.m_nCount, 2);
    EXPECT_EQ(p[1], Complex(2.0));
}

TEST(CPoints, UnsatisfiableSizeThrowsBadAlloc)
{
    CPoints p;
    EXPECT_THROW(p.SetSize(0x10000000), std::bad_alloc);  // 16 bytes each: beyond 32 bits
    EXPECT_EQ(p.m_nCount, 0);
}

TEST(CPoints, CenterPadPositions)
{
    CPoints odd(63);
    for (int i = 0; i < 63; ++i)
        odd[i] = Complex(i + 1.0);
    odd.CenterPad(1024);
    EXPECT_EQ(odd.m_nCount, 1024);
    EXPECT_EQ(odd[479], Complex(0.0));
    EXPECT_EQ(odd[480], Complex(1.0));
    EXPECT_EQ(odd[542], Complex(63.0));
    EXPECT_EQ(odd[543], Complex(0.0));

    CPoints even(64);
    for (int i = 0; i < 64; ++i)
        even[i] = Complex(i + 1.0);
    even.CenterPad(1024);
    EXPECT_EQ(even[480], Complex(1.0));
    EXPECT_EQ(even[543], Complex(64.0));

    CPoints odd1025(63);
    odd1025[0] = 7.0;
    odd1025.CenterPad(1025);
    EXPECT_EQ(odd1025[481], Complex(7.0));

    CPoints same = Make({1.0, 2.0});
    same.CenterPad(2);
    same.CenterPad(1);
    EXPECT_EQ(same.m_nCount, 2);
    CPoints none;
    none.CenterPad(16);
    EXPECT_EQ(none.m_nCount, 0);
}

TEST(CPoints, MirrorExtend)
{
    CPoints odd = Make({1.0, 2.0, 3.0});
    odd.MirrorExtend(1);
    ASSERT_EQ(odd.m_nCount, 5);
    const double expectOdd[] = {1, 2, 3, 2, 1};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(odd[i].real(), expectOdd[i]);

    CPoints even = Make({Complex(1, 1), 2.0, 3.0});
    even.MirrorExtend(0);
    ASSERT_EQ(even.m_nCount, 6);
    const double expectEven[] = {1, 2, 3, 3, 2, 1};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(even[i].real(), expectEven[i]);
    EXPECT_EQ(even[5], Complex(1, 1));  // no conjugation

    CPoints single = Make({4.0});
    single.MirrorExtend(1);
    EXPECT_EQ(single.m_nCount, 1);
    EXPECT_EQ(single[0], Complex(4.0));
}

TEST(CPoints, ArithmeticAndCumulativeSum)
{
    CPoints p = Make({1.0, 1.0, 1.0});
    Complex total = p.CumulativeSum();
    EXPECT_EQ(total, Complex(3.0));
    EXPECT_EQ(p[0], Complex(1.0));
    EXPECT_EQ(p[1], Complex(2.0));
    EXPECT_EQ(p[2], Complex(3.0));
    CPoints empty;
    EXPECT_EQ(empty.CumulativeSum(), Complex(0.0));

    CPoints a = Make({Complex(1, 1), Complex(2, 0)});
    a.Divide(2.0, 0.0);
    EXPECT_EQ(a[0], Complex(0.5, 0.5));
    a.Scale(0.0, 2.0);
    EXPECT_EQ(a[0], Complex(-1.0, 1.0));
    CPoints b = Make({Complex(0, 1), Complex(3, 0)});
    a.Multiply(b);
    EXPECT_EQ(a[0], Complex(-1.0, -1.0));
    EXPECT_EQ(a[1], Complex(0.0, 6.0));

    CPoints c;
    c.Copy(a);
    c.m_nVersion = 3;
    CPoints d;
    d.Copy(c);
    EXPECT_EQ(d.m_nCount, 2);
    EXPECT_EQ(d.m_nVersion, 3);
    EXPECT_EQ(d[1], Complex(0.0, 6.0));
    d.MakeReal();
    EXPECT_EQ(d[1], Complex(0.0, 0.0));
    d.Clear();
    EXPECT_EQ(d[0], Complex(0.0));
}

TEST(CPoints, GetValueSelectorsAndPeak)
{
    CPoints p = Make({Complex(-1.0, 0.0), Complex(3, 4), Complex(-6, 0)});
    EXPECT_DOUBLE_EQ(p.GetValue(0, 3), std::numbers::pi);
    EXPECT_EQ(p.GetValue(0, 7), 0.0);
    EXPECT_EQ(p.GetValue(1, 0), 3.0);
    EXPECT_EQ(p.GetValue(1, 1), 4.0);
    EXPECT_EQ(p.GetValue(1, 2), 5.0);
    EXPECT_EQ(p.GetMaxMagnitude(), 6.0);
    CPoints empty;
    EXPECT_EQ(empty.GetMaxMagnitude(), 0.0);

    CPoints big = Make({Complex(1e300, 1e300), Complex(std::numeric_limits<double>::infinity(), 0.0),
                        Complex(std::nan(""), 1.0)});
    EXPECT_DOUBLE_EQ(big.GetValue(0, 2), std::sqrt(2.0) * 1e300);  // no overflow
    EXPECT_TRUE(std::isinf(big.GetValue(1, 2)));
    EXPECT_TRUE(std::isnan(big.GetValue(2, 2)));
}

TEST(CPoints, CleanImaginaryThreshold)
{
    CPoints p = Make({Complex(1.0, 9.9e-15), Complex(1.0, 1e-14), Complex(1.0, -5e-15)});
    p.CleanImaginary();
    EXPECT_EQ(p[0].imag(), 0.0);
    EXPECT_EQ(p[1].imag(), 1e-14);
    EXPECT_EQ(p[2].imag(), 0.0);
}
