#include <gtest/gtest.h>

#include "plot/CValues.h"

TEST(CValues, SetSizeKeepsGrowsAndShrinks)
{
    CValues v(3);
    EXPECT_EQ(v[0], 0.0);
    v[0] = 1.0;
    v[1] = 2.0;
    v[2] = 3.0;
    v.SetSize(3);
    EXPECT_EQ(v[2], 3.0);
    v.SetSize(5);
    ASSERT_EQ(v.m_nCount, 5);
    EXPECT_EQ(v[0], 1.0);
    EXPECT_EQ(v[2], 3.0);
    EXPECT_EQ(v[3], 0.0);
    EXPECT_EQ(v[4], 0.0);
    v.SetSize(2);
    ASSERT_EQ(v.m_nCount, 2);
    EXPECT_EQ(v[1], 2.0);
    v.SetSize(0);
    EXPECT_EQ(v.m_nCount, 0);
    EXPECT_EQ(v.m_pValues, nullptr);
}
