#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/CWnd.h"
#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"
#include "platform/ScriptedHost.h"

namespace {

enum { ID_COUNT = 10, ID_TEXT = 11, ID_SIZE = 12, ID_MODE = 13, ID_FLAG = 14, ID_RADIO_A = 20, ID_RADIO_B = 21,
       ID_RADIO_C = 22, ID_OTHER_RADIO = 23 };

// A form with one field of every exchange kind, in a fixed order.
class ExchangeForm : public CWnd {
public:
    const DialogTemplate* GetTemplate() const override
    {
        static const DialogTemplate t = [] {
            using K = ControlKind;
            DialogTemplate d;
            d.id = 900;
            d.controls = {
                {ID_COUNT, K::Edit, "", 0, 0, 10, 10, StyleDigitsOnly},
                {ID_TEXT, K::Edit},
                {ID_SIZE, K::Edit},
                {ID_MODE, K::DropDownList, "", 0, 0, 10, 10, StyleNone, {"zero", "one", "two"}},
                {ID_FLAG, K::CheckBox, "", 0, 0, 10, 10, StyleAuto},
                {ID_RADIO_A, K::RadioButton, "a", 0, 0, 10, 10, StyleGroup | StyleAuto},
                {ID_RADIO_B, K::RadioButton, "b", 0, 0, 10, 10, StyleAuto},
                {ID_RADIO_C, K::RadioButton, "c", 0, 0, 10, 10, StyleAuto},
                {ID_OTHER_RADIO, K::RadioButton, "x", 0, 0, 10, 10, StyleGroup | StyleAuto},
            };
            return d;
        }();
        return &t;
    }

    void DoDataExchange(CDataExchange& dx) override
    {
        DDX_Text(dx, ID_COUNT, m_nCount);
        DDV_MinMaxInt(dx, m_nCount, 4, 1025);
        DDX_Text(dx, ID_TEXT, m_strText);
        DDV_MaxChars(dx, m_strText, 8);
        DDX_Text(dx, ID_SIZE, m_nSize);
        DDX_CBIndex(dx, ID_MODE, m_nMode);
        DDX_Check(dx, ID_FLAG, m_bFlag);
        DDX_Radio(dx, ID_RADIO_A, m_nRadio);
    }

    int m_nCount = 63;
    std::string m_strText = "1.0";
    unsigned m_nSize = 7;
    int m_nMode = 1;
    int m_bFlag = 1;
    int m_nRadio = 2;
};

class DataExchangeTest : public ::testing::Test {
protected:
    DataExchangeTest()
    {
        form.SetHost(&host);
        host.CreateControls(form);
        EXPECT_TRUE(form.UpdateData(false));
    }
    std::string Text(int id) const { return host.GetDlgItemText(form, id); }

    ScriptedHost host;
    ExchangeForm form;
};

}  // namespace

TEST_F(DataExchangeTest, WritingFillsEveryControl)
{
    EXPECT_EQ(Text(ID_COUNT), "63");
    EXPECT_EQ(Text(ID_TEXT), "1.0");
    EXPECT_EQ(Text(ID_SIZE), "7");
    EXPECT_EQ(host.GetCurSel(form, ID_MODE), 1);
    EXPECT_EQ(Text(ID_MODE), "one");
    EXPECT_EQ(host.IsDlgButtonChecked(form, ID_FLAG), 1);
    EXPECT_EQ(host.IsDlgButtonChecked(form, ID_RADIO_A), 0);
    EXPECT_EQ(host.IsDlgButtonChecked(form, ID_RADIO_B), 0);
    EXPECT_EQ(host.IsDlgButtonChecked(form, ID_RADIO_C), 1);
    // Writing limits the edit; reading then never sees more than the limit from typing.
    EXPECT_EQ(host.TextLimit(form, ID_TEXT), 8);
    host.TypeText(form, ID_TEXT, "123456789");
    EXPECT_EQ(Text(ID_TEXT), "12345678");
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(DataExchangeTest, ReadingTakesEveryControl)
{
    host.TypeText(form, ID_COUNT, "1025");
    host.TypeText(form, ID_TEXT, "0.5");
    host.TypeText(form, ID_SIZE, " 12 ");
    host.SelectEntry(form, ID_MODE, 2);
    host.Click(form, ID_FLAG);
    host.Click(form, ID_RADIO_A);
    ASSERT_TRUE(form.UpdateData(true));
    EXPECT_EQ(form.m_nCount, 1025);
    EXPECT_EQ(form.m_strText, "0.5");
    EXPECT_EQ(form.m_nSize, 12u);
    EXPECT_EQ(form.m_nMode, 2);
    EXPECT_EQ(form.m_bFlag, 0);
    EXPECT_EQ(form.m_nRadio, 0);

    // No radio of the group checked reads as -1.
    host.CheckDlgButton(form, ID_RADIO_A, 0);
    host.CheckDlgButton(form, ID_OTHER_RADIO, 1);
    ASSERT_TRUE(form.UpdateData(true));
    EXPECT_EQ(form.m_nRadio, -1);
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(DataExchangeTest, NonIntegerStopsTheExchangeAtThatControl)
{
    host.SetDlgItemText(form, ID_COUNT, "12x");
    host.TypeText(form, ID_TEXT, "2.0");
    host.SelectEntry(form, ID_MODE, 0);
    host.GotoDlgCtrl(form, ID_MODE);
    EXPECT_FALSE(form.UpdateData(true));
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "Please enter an integer.");
    EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
    EXPECT_EQ(host.Messages()[0].ownerTemplate, 900);
    EXPECT_EQ(host.FocusedControl(form), ID_COUNT);
    EXPECT_EQ(form.m_nCount, 63);
    // The later fields were not read.
    EXPECT_EQ(form.m_strText, "1.0");
    EXPECT_EQ(form.m_nMode, 1);
}

TEST_F(DataExchangeTest, RangeMessageCarriesTheLimits)
{
    for (const char* text : {"3", "1026", "0"}) {
        host.ClearMessages();
        host.TypeText(form, ID_COUNT, text);
        host.TypeText(form, ID_TEXT, "9.0");
        EXPECT_FALSE(form.UpdateData(true)) << text;
        ASSERT_EQ(host.Messages().size(), 1u);
        EXPECT_EQ(host.Messages()[0].text, "Please enter an integer between 4 and 1025.");
        EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
        EXPECT_EQ(host.FocusedControl(form), ID_COUNT);
        // The refused value has been taken; the next field has not.
        EXPECT_EQ(form.m_nCount, std::stoi(text));
        EXPECT_EQ(form.m_strText, "1.0");
    }
    host.ClearMessages();
    host.TypeText(form, ID_COUNT, "4");
    EXPECT_TRUE(form.UpdateData(true));
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(DataExchangeTest, TooLongTextIsRefused)
{
    host.SetDlgItemText(form, ID_TEXT, "123456789");
    host.SetDlgItemText(form, ID_SIZE, "99");
    EXPECT_FALSE(form.UpdateData(true));
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "Please enter no more than 8 characters.");
    EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
    EXPECT_EQ(host.FocusedControl(form), ID_TEXT);
    EXPECT_EQ(form.m_nSize, 7u);

    host.ClearMessages();
    host.SetDlgItemText(form, ID_TEXT, "12345678");
    EXPECT_TRUE(form.UpdateData(true));
    EXPECT_EQ(form.m_strText, "12345678");
}

TEST_F(DataExchangeTest, NegativeUnsignedIsRefused)
{
    host.SetDlgItemText(form, ID_SIZE, "-1");
    EXPECT_FALSE(form.UpdateData(true));
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "Please enter a positive integer.");
    EXPECT_EQ(host.FocusedControl(form), ID_SIZE);
}

TEST(DataExchange, FailShowsOnlyTheFirstMessage)
{
    ScriptedHost host;
    CWnd wnd;
    wnd.SetHost(&host);
    CDataExchange dx(wnd, true);
    dx.PrepareCtrl(5);
    dx.Fail("first");
    dx.PrepareCtrl(6);
    dx.Fail("second");
    DDV_MinMaxInt(dx, 0, 1, 2);
    EXPECT_TRUE(dx.m_bFailed);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "first");
    EXPECT_EQ(host.FocusedControl(wnd), 5);
}

TEST(DataExchange, ParseIntAcceptsOnlyWholeIntegers)
{
    const struct {
        const char* text;
        int value;
    } good[] = {{"0", 0},           {"42", 42},   {" 42 ", 42}, {"\t-7\n", -7}, {"+7", 7},
                {"-0", 0},          {"007", 7},   {"2147483647", INT_MAX},     {"-2147483648", INT_MIN},
                {"0000000000000000000001", 1}};
    for (const auto& g : good) {
        int v = -99;
        EXPECT_TRUE(ParseInt(g.text, v)) << g.text;
        EXPECT_EQ(v, g.value) << g.text;
    }
    for (const char* text : {"", " ", "-", "+", "1 2", "12x", "x12", "1.5", "1e3", "0x10", "--1", "+-1",
                             "2147483648", "-2147483649", "4294967296", "99999999999999999999"}) {
        int v = -99;
        EXPECT_FALSE(ParseInt(text, v)) << text;
        EXPECT_EQ(v, -99) << text;
    }
    unsigned u = 0;
    EXPECT_TRUE(ParseUInt("4294967295", u));
    EXPECT_EQ(u, 4294967295u);
    EXPECT_FALSE(ParseUInt("4294967296", u));
    EXPECT_FALSE(ParseUInt("-1", u));
}

TEST(DataExchange, FillPlaceholders)
{
    EXPECT_EQ(FillPlaceholders(kMsgIntRange, {"10", "100"}), "Please enter an integer between 10 and 100.");
    EXPECT_EQ(FillPlaceholders(kMsgMaxChars, {"8"}), "Please enter no more than 8 characters.");
    EXPECT_EQ(FillPlaceholders("%2 before %1, %1 again", {"a", "b"}), "b before a, a again");
    // Markers without an argument, and lone percent signs, stay as they are.
    EXPECT_EQ(FillPlaceholders("%1 of %3", {"x"}), "x of %3");
    EXPECT_EQ(FillPlaceholders("100% %0 %", {"x"}), "100% %0 %");
    // A replacement is not scanned again.
    EXPECT_EQ(FillPlaceholders("%1", {"%2", "no"}), "%2");
}

TEST(DataExchange, TextToDoubleTakesTheLeadingNumber)
{
    EXPECT_EQ(TextToDouble(""), 0.0);
    EXPECT_EQ(TextToDouble("-"), 0.0);
    EXPECT_EQ(TextToDouble("."), 0.0);
    EXPECT_EQ(TextToDouble("1-3"), 1.0);
    EXPECT_EQ(TextToDouble("  2.5x"), 2.5);
    EXPECT_EQ(TextToDouble(".5"), 0.5);
    EXPECT_EQ(TextToDouble("-0.25"), -0.25);
    EXPECT_EQ(TextToDouble("+3."), 3.0);
    EXPECT_EQ(TextToDouble("1.-2"), 1.0);
    EXPECT_EQ(FormatText("%2.2f", 5.4432), "5.44");
    EXPECT_EQ(FormatText("%1.5f", 3.14159265358979), "3.14159");
    EXPECT_EQ(FormatText("%d", -40), "-40");
}
