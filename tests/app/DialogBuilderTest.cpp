#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>

#include "app/CAboutDlg.h"
#include "app/ControlEdit.h"
#include "app/DialogBuilder.h"
#include "form/CDifferentiatorDlg.h"
#include "form/CZantroView.h"
#include "form/FormTemplate.h"

namespace {

struct Built {
    std::unique_ptr<QWidget> parent = std::make_unique<QWidget>();
    std::vector<DialogBuilder::Control> controls;

    explicit Built(const DialogTemplate& t) { controls = DialogBuilder(t).Build(parent.get()); }

    QWidget* Widget(int id) const
    {
        for (const auto& c : controls)
            if (c.id == id)
                return c.widget;
        return nullptr;
    }
    template <class T>
    T* As(int id) const
    {
        return qobject_cast<T*>(Widget(id));
    }
};

}  // namespace

TEST(DialogBuilder, BuildsTheMainFormControlByControl)
{
    const Built form(ZantroFormTemplate());
    ASSERT_EQ(form.controls.size(), ZantroFormTemplate().controls.size());

    // Edits: digits only and right-aligned where the template says so.
    auto* taps = form.As<ControlEdit>(IDC_TAPS);
    ASSERT_NE(taps, nullptr);
    EXPECT_EQ(taps->geometry(), QRect(210, 49, 60, 23));
    EXPECT_TRUE(taps->alignment() & Qt::AlignRight);
    auto* scale = form.As<ControlEdit>(IDC_IR_SCALE);
    ASSERT_NE(scale, nullptr);
    EXPECT_TRUE(scale->alignment() & Qt::AlignRight);

    // Drop-down lists hold their entries, nothing selected yet; the target
    // filter is an editable drop-down combo.
    auto* type = form.As<QComboBox>(IDC_FILTER_TYPE);
    ASSERT_NE(type, nullptr);
    EXPECT_FALSE(type->isEditable());
    EXPECT_EQ(type->count(), 9);
    EXPECT_EQ(type->itemText(4), QStringLiteral("Hilbert Transformer"));
    EXPECT_EQ(type->currentIndex(), -1);
    EXPECT_EQ(type->geometry().topLeft(), QPoint(165, 16));
    EXPECT_EQ(type->height(), 21);
    auto* target = form.As<QComboBox>(IDC_TARGET_FILTER);
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(target->isEditable());
    EXPECT_NE(qobject_cast<ControlEdit*>(target->lineEdit()), nullptr);
    EXPECT_EQ(target->count(), 11);
    EXPECT_GE(target->maxVisibleItems(), 11);

    EXPECT_NE(form.As<QCheckBox>(IDC_SINX_COMP), nullptr);
    EXPECT_EQ(form.As<QPushButton>(IDC_DESIGN)->text(), QStringLiteral("Design"));
    // "Spare" exists but is never shown.
    ASSERT_NE(form.As<QPushButton>(IDC_SPARE), nullptr);
    EXPECT_TRUE(form.As<QPushButton>(IDC_SPARE)->isHidden());
    EXPECT_FALSE(form.As<QPushButton>(IDC_DESIGN)->isHidden());
    EXPECT_EQ(form.As<QLabel>(IDC_MAGNITUDE_CAPTION)->text(), QStringLiteral("Magnitude"));
    EXPECT_EQ(form.parent->font().pixelSize(), 11);
}

TEST(DialogBuilder, AStaticTooNarrowForTheFallbackFontGrowsInsteadOfWrapping)
{
    const Built form(ZantroFormTemplate());
    // "Impulse Response Scaling" has 84 units (126 pixels).
    auto* label = form.As<QLabel>(IDC_IR_SCALING_LABEL);
    ASSERT_NE(label, nullptr);
    const int needed = label->fontMetrics().horizontalAdvance(label->text());
    EXPECT_GE(label->width(), needed);
    EXPECT_FALSE(label->wordWrap());
    // It still ends before the drop-down beside it.
    EXPECT_LT(label->geometry().right(), form.Widget(IDC_IR_SCALING)->x());
    // A static that fits keeps its template rectangle.
    EXPECT_EQ(form.As<QLabel>(1000)->geometry(), QRect(30, 24, 60, 13));
}

TEST(DialogBuilder, AutomaticRadioButtonsFormOneExclusiveGroupInsideTheirGroupBox)
{
    CDifferentiatorDlg dlg(nullptr);
    const Built built(*dlg.GetTemplate());
    using D = CDifferentiatorDlg;
    auto* pi = built.As<QRadioButton>(D::IDC_GAIN_PI);
    auto* other = built.As<QRadioButton>(D::IDC_GAIN_OTHER);
    ASSERT_NE(pi, nullptr);
    ASSERT_NE(other, nullptr);
    ASSERT_NE(pi->group(), nullptr);
    EXPECT_EQ(pi->group(), other->group());
    EXPECT_TRUE(pi->group()->exclusive());
    EXPECT_EQ(pi->group()->buttons().size(), 4);
    EXPECT_NE(built.As<QGroupBox>(D::IDC_GAIN_GROUP), nullptr);
    // The three-line note keeps its line breaks.
    EXPECT_EQ(built.As<QLabel>(D::IDC_NOTE)->text().count(QLatin1Char('\n')), 2);
    auto* ok = built.As<QPushButton>(IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(built.As<QPushButton>(IDCANCEL)->isDefault());
    EXPECT_EQ(DialogBuilder(*dlg.GetTemplate()).ClientSize(), QSize(356, 281));
}

TEST(DialogBuilder, TheAboutBoxShowsTheProgramIcon)
{
    CAboutDlg about(nullptr);
    const DialogTemplate& t = *about.GetTemplate();
    EXPECT_EQ(t.caption, "About Zantro");
    const Built built(t);
    ASSERT_EQ(built.controls.size(), 3u);
    auto* icon = qobject_cast<QLabel*>(built.controls[0].widget);
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_EQ(icon->geometry(), QRect(17, 28, 32, 32));
    EXPECT_EQ(qobject_cast<QLabel*>(built.controls[1].widget)->text(), QStringLiteral("Zantro Version 1.0"));
    EXPECT_EQ(DialogBuilder(t).ClientSize(), QSize(393, 89));
}

TEST(DialogBuilder, ADropDownGrowsToShowItsLongestEntryUpToItsNeighbour)
{
    const Built form(ZantroFormTemplate());
    auto* method = form.As<QComboBox>(IDC_DESIGN_METHOD);
    ASSERT_NE(method, nullptr);
    EXPECT_GE(method->width(), 105);
    EXPECT_GE(method->width(), method->sizeHint().width());
    // "Sampling Rate" starts at 330 pixels on the same lines.
    EXPECT_LT(method->geometry().right(), form.Widget(IDC_SAMPLING_RATE_LABEL)->x());
    auto* target = form.As<QComboBox>(IDC_TARGET_FILTER);
    EXPECT_GE(target->width(), target->sizeHint().width());
    EXPECT_LT(target->geometry().right(), form.Widget(IDC_DESIGN)->x());
}
