#pragma once

#include <QAbstractSeries>
#include <QChart>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/AnalysisChartView.h"
#include "app/AnalysisWindow.h"

// The controls of a modal dialog the desktop program built from a template:
// each is named "control<id>".
template <class W>
W* Field(QWidget* modal, int id)
{
    return modal->findChild<W*>(QStringLiteral("control%1").arg(id));
}

// The user replaces an edit's text by typing.
inline void SetText(QWidget* modal, int id, const QString& text)
{
    QLineEdit* edit = Field<QLineEdit>(modal, id);
    ASSERT_NE(edit, nullptr) << id;
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// The user clicks a push button (IDOK is control1, IDCANCEL control2).
inline void ClickButton(QWidget* modal, int id)
{
    QPushButton* button = Field<QPushButton>(modal, id);
    ASSERT_NE(button, nullptr) << id;
    button->click();
}

// The series of the Analysis window's magnitude chart with this name.
template <class S>
QList<S*> SeriesNamed(AnalysisWindow* w, const QString& name)
{
    QList<S*> found;
    for (QAbstractSeries* s : w->MagnitudeView()->chart()->series())
        if (s->name() == name)
            if (auto* typed = qobject_cast<S*>(s))
                found.append(typed);
    return found;
}
