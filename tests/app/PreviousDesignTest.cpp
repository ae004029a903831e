#include <QDir>
#include <QStatusBar>
#include <QTemporaryDir>

#include "AppFixture.h"
#include "form/COutfileDlg.h"
#include "form/ShownDesign.h"

// After a Design that made nothing the plots keep the design before it:
// they, the status bar, Make File and Export say which design that is.
namespace {

class PreviousDesign : public AppFixture {
protected:
    // Dark pixels in the strip above a plot's frame, right of its y labels.
    int NotePixels(int plot) const
    {
        const QImage image = frame()->Plot(plot)->grab().toImage();
        int n = 0;
        for (int y = 4; y < 20; ++y)
            for (int x = 300; x < image.width() - 4; ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    ++n;
        return n;
    }
    std::vector<std::string> Notes() const
    {
        CZantroView& v = app->m_view;
        return {v.m_MagnitudeWnd.m_strNote, v.m_PhaseWnd.m_strNote, v.m_ImpulseWnd.m_strNote, v.m_StepWnd.m_strNote};
    }
    void MakeFile(const QString& folder)
    {
        const QString cwd = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(folder));
        script->Expect([](QWidget* modal) {
            ASSERT_EQ(modal->windowTitle(), QStringLiteral("Make File"));
            modal->findChild<QLineEdit*>(QStringLiteral("control%1").arg(COutfileDlg::IDC_ROOT))
                ->setText(QStringLiteral("taps"));
            modal->findChild<QPushButton*>(QStringLiteral("control1"))->click();
        });
        Press(IDC_MAKE_FILE);
        QDir::setCurrent(cwd);
    }
    QString Status() const { return frame()->statusBar()->currentMessage(); }
};

}  // namespace

TEST_F(PreviousDesign, ARefusedDesignMarksThePlotsAndMakeFileNamesTheDesignItWrites)
{
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).canonicalPath();
    StartActive();
    Type(IDC_TAPS, QStringLiteral("31"));
    Press(IDC_DESIGN);
    ASSERT_EQ(app->m_view.m_bDesignValid, 1);
    const std::string caption = "Lowpass, 31 taps, Sync + Window, Hamming, fs 8000 Hz, corners 1000 and 3000 Hz";
    EXPECT_EQ(app->m_view.m_shown.Caption(), caption);
    EXPECT_EQ(Notes(), std::vector<std::string>(4, ""));
    EXPECT_EQ(NotePixels(0), 0);

    // The form's own design: Make File says nothing more.
    MakeFile(folder);
    EXPECT_EQ(Status(), QStringLiteral("Wrote %1/taps.h and %1/taps.c").arg(folder));

    Type(IDC_FIRST_CORNER, QStringLiteral("5000"));
    script->ExpectMessage();
    Press(IDC_DESIGN);
    EXPECT_EQ(script->Seen().last(), QStringLiteral("The corner frequencies must be < ((sampling rate) / 2)"));
    EXPECT_EQ(Notes(), std::vector<std::string>(4, ShownDesign::kPreviousNote));
    for (int k = 0; k < 4; ++k)
        EXPECT_GT(NotePixels(k), 20) << "plot " << k;
    EXPECT_EQ(Status().toStdString(),
              "The plots show the previous design (" + caption + "); the form's parameters were not designed.");

    // Make File writes the taps on the plots and says they are not the form's.
    Type(IDC_FIRST_CORNER, QStringLiteral("1500"));
    MakeFile(folder);
    EXPECT_EQ(Status().toStdString(), QStringLiteral("Wrote %1/taps.h and %1/taps.c").arg(folder).toStdString() +
                                          " (the design on the plots: " + caption + ")");

    // A design that goes through clears every mark.
    Press(IDC_DESIGN);
    EXPECT_EQ(app->m_view.m_shown.Caption(),
              "Lowpass, 31 taps, Sync + Window, Hamming, fs 8000 Hz, corners 1500 and 3000 Hz");
    EXPECT_EQ(Notes(), std::vector<std::string>(4, ""));
    EXPECT_EQ(NotePixels(2), 0);
    EXPECT_FALSE(app->m_view.m_shown.DiffersFromForm(app->m_view));
}

TEST_F(PreviousDesign, NothingIsMarkedBeforeTheFirstDesign)
{
    StartActive();
    Type(IDC_FIRST_CORNER, QStringLiteral("5000"));
    script->ExpectMessage();
    Press(IDC_DESIGN);
    EXPECT_EQ(Notes(), std::vector<std::string>(4, ""));
    EXPECT_FALSE(Status().startsWith(QStringLiteral("The plots show")));
}
