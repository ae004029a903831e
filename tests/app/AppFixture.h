#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "ModalScript.h"
#include "app/CMainFrame.h"
#include "app/CZantroApp.h"
#include "app/PlotWidget.h"
#include "form/CZantroView.h"

// The edit of a modal dialog's control id.
inline QLineEdit* DialogEdit(QWidget* modal, int id)
{
    return modal->findChild<QLineEdit*>(QStringLiteral("control%1").arg(id));
}

// Clicks a modal dialog's OK button.
inline void Ok(QWidget* modal)
{
    modal->findChild<QPushButton*>(QStringLiteral("control1"))->click();
}

// The row of the figures table whose label starts with text, or -1.
inline int RowOf(QTableWidget* table, const QString& text)
{
    for (int r = 0; r < table->rowCount(); ++r)
        if (table->item(r, 0)->text().startsWith(text))
            return r;
    return -1;
}

// The desktop program started as from the desktop, on an empty settings
// store, with a script answering its modal windows.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings(QString::fromLatin1(CZantroApp::kRegistryKey), QString::fromLatin1(CZantroApp::kAppName)).clear();
        app = std::make_unique<CZantroApp>();
        script = std::make_unique<ModalScript>();
    }

    void TearDown() override
    {
        EXPECT_TRUE(script->Unexpected().isEmpty()) << script->Unexpected().join(QStringLiteral(" | ")).toStdString();
        EXPECT_EQ(script->Pending(), 0);
        if (app->MainFrame())
            app->m_doc.SetModifiedFlag(false);
        app.reset();
    }

    void Start(const std::vector<std::string>& args = {})
    {
        ASSERT_TRUE(app->InitInstance(args));
        frame()->activateWindow();
    }

    // Start, then wait until the window is active, as the user sees it:
    // shortcuts and the focus work in the active window only.
    void StartActive(const std::vector<std::string>& args = {})
    {
        Start(args);
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame()));
    }

    CMainFrame* frame() const { return app->MainFrame(); }
    QWidget* Control(int id) const { return app->m_host.ControlWidget(app->m_view, id); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(Control(id)); }
    QComboBox* Combo(int id) const { return qobject_cast<QComboBox*>(Control(id)); }

    // The user replaces the text of an edit by typing.
    void Type(int id, const QString& text)
    {
        QLineEdit* edit = Edit(id);
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // The user picks an entry from a drop-down list.
    void Select(int id, int index)
    {
        QComboBox* combo = Combo(id);
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }
    void Press(int id)
    {
        auto* button = qobject_cast<QPushButton*>(Control(id));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Designs the Kaiser lowpass the analysis tests share: 101 taps, beta
    // 10 (typed into the window's dialog), fs 48000, corner 6000.
    void DesignKaiserLowpass()
    {
        Select(IDC_WINDOW_TYPE, 5);
        Type(IDC_TAPS, QStringLiteral("101"));
        Type(IDC_SAMPLING_RATE, QStringLiteral("48000"));
        Type(IDC_FIRST_CORNER, QStringLiteral("6000"));
        script->Expect([](QWidget* modal) {
            QLineEdit* beta = DialogEdit(modal, 1036);
            ASSERT_NE(beta, nullptr);
            beta->setText(QStringLiteral("10"));
            modal->findChild<QPushButton*>(QStringLiteral("control1"))->click();
        });
        Press(IDC_DESIGN);
    }
    // Counts the pixels of a colour in a widget as it paints now.
    static int CountPixels(QWidget* w, QColor color)
    {
        const QImage image = w->grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == color)
                    ++n;
        return n;
    }

    std::unique_ptr<CZantroApp> app;
    std::unique_ptr<ModalScript> script;
};
