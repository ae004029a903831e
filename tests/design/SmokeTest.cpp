#include <gtest/gtest.h>

#include "design/CZantroView.h"
#include "document/CZantroDoc.h"
#include "platform/ScriptedHost.h"

TEST(Smoke, DefaultDesignRuns)
{
    ScriptedHost host;
    CZantroDoc doc;
    CZantroView view;
    view.SetHost(&host);
    view.SetDocument(&doc);
    host.CreateControls(view);
    ASSERT_EQ(view.OnCreate(), 0);
    view.OnInitialUpdate();
    host.Click(view, IDC_DESIGN);
    EXPECT_EQ(view.m_bDesignValid, 1);
    EXPECT_EQ(view.m_Coeffs.m_nCount, 63);
}
