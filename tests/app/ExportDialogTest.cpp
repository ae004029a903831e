#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "app/ExportDialog.h"
#include "document/DocumentMessages.h"

namespace {

QSettings Store()
{
    return QSettings(QString::fromLatin1(CZantroApp::kRegistryKey), QString::fromLatin1(CZantroApp::kAppName));
}

}  // namespace

using ExportDialogTest = AppFixture;

TEST_F(ExportDialogTest, FileExportIsAMenuEntryWithAPromptAndNeedsADesign)
{
    Start();
    QAction* action = frame()->Action(ID_FILE_EXPORT);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QStringLiteral("&Export..."));
    EXPECT_EQ(action->statusTip(),
              QStringLiteral("Write the design for its target: CMSIS-DSP, plain C, CSV, JSON or FPGA tools"));
    script->ExpectMessage();
    action->trigger();
    EXPECT_EQ(script->Seen(), QStringList{QString::fromLatin1(kMsgNoDesign)});
}

TEST_F(ExportDialogTest, TheDialogWritesTheFilesAndRemembersItsChoices)
{
    Start();
    Press(IDC_DESIGN);
    ASSERT_EQ(app->m_view.m_bDesignValid, 1);
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("lp"));
    script->Expect([&](QWidget* modal) {
        auto* d = qobject_cast<ExportDialog*>(modal);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Export"));
        // The defaults: cmsis-q15 with its own word, block 32.
        EXPECT_EQ(d->Profile()->currentText(), QStringLiteral("cmsis-q15"));
        EXPECT_FALSE(d->WordLength()->isEnabled());
        EXPECT_TRUE(d->Rounding()->isEnabled());
        EXPECT_TRUE(d->BlockSize()->isEnabled());
        EXPECT_EQ(d->BlockSize()->value(), 32);
        const QString preview = d->Preview()->toPlainText();
        EXPECT_TRUE(preview.contains(QStringLiteral(" * Filter: Lowpass, 63 taps, Sync + Window\n"))) << preview.toStdString();
        EXPECT_TRUE(preview.contains(QStringLiteral("arm_fir_init_q15(&fir, OUTFILE_NUM_TAPS")));
        d->Profile()->setCurrentText(QStringLiteral("c-fixed"));
        EXPECT_TRUE(d->WordLength()->isEnabled());
        EXPECT_FALSE(d->BlockSize()->isEnabled());
        EXPECT_FALSE(d->Helium()->isEnabled());
        d->WordLength()->setValue(12);
        d->Rounding()->setCurrentIndex(1);
        d->Root()->setText(root);
        EXPECT_TRUE(d->Preview()->toPlainText().contains(QStringLiteral("12-bit two's complement words")));
        EXPECT_TRUE(d->Preview()->toPlainText().contains(QStringLiteral("truncated toward zero")));
        d->accept();
    });
    frame()->Action(ID_FILE_EXPORT)->trigger();
    EXPECT_TRUE(QFile::exists(root + QStringLiteral(".h")));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral(".c")));
    EXPECT_EQ(frame()->statusBar()->currentMessage(),
              QStringLiteral("Wrote ") + QFileInfo(root).absoluteFilePath() + QStringLiteral(".h and ") +
                  QFileInfo(root).absoluteFilePath() + QStringLiteral(".c"));
    QSettings settings = Store();
    EXPECT_EQ(settings.value(QStringLiteral("Export/Profile")).toString(), QStringLiteral("c-fixed"));
    EXPECT_EQ(settings.value(QStringLiteral("Export/WordLength")).toInt(), 12);

    // The next time the dialog opens on the same choices; Cancel writes nothing.
    QFile::remove(root + QStringLiteral(".h"));
    script->Expect([&](QWidget* modal) {
        auto* d = qobject_cast<ExportDialog*>(modal);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->Profile()->currentText(), QStringLiteral("c-fixed"));
        EXPECT_EQ(d->Root()->text(), root);
        EXPECT_EQ(d->WordLength()->value(), 12);
        EXPECT_EQ(d->Rounding()->currentIndex(), 1);
        d->reject();
    });
    frame()->Action(ID_FILE_EXPORT)->trigger();
    EXPECT_FALSE(QFile::exists(root + QStringLiteral(".h")));
}

TEST_F(ExportDialogTest, StoredChoicesOutsideTheirRangesKeepTheDefaults)
{
    QSettings settings = Store();
    settings.setValue(QStringLiteral("Export/Profile"), QStringLiteral("cmsis-q99"));
    settings.setValue(QStringLiteral("Export/WordLength"), 40);
    settings.setValue(QStringLiteral("Export/BlockSize"), 0);
    ExportOptions o = ExportDialog::Load(settings);
    EXPECT_EQ(o.profile, ExportProfile::CmsisQ15);
    EXPECT_EQ(o.wordLength, 16);
    EXPECT_EQ(o.blockSize, 32);
    settings.setValue(QStringLiteral("Export/InputBits"), 33);
    settings.setValue(QStringLiteral("Export/OutputBits"), 1);
    o = ExportDialog::Load(settings);
    EXPECT_EQ(o.inputBits, 16);
    EXPECT_EQ(o.outputBits, 0);
    o = {ExportProfile::Verilog, "/tmp/v", 9, QuantRounding::Truncate, 128, true, 12, 20, true};
    ExportDialog::Save(settings, o);
    const ExportOptions back = ExportDialog::Load(settings);
    EXPECT_EQ(back.profile, ExportProfile::Verilog);
    EXPECT_EQ(back.root, "/tmp/v");
    EXPECT_EQ(back.wordLength, 9);
    EXPECT_EQ(back.rounding, QuantRounding::Truncate);
    EXPECT_EQ(back.blockSize, 128);
    EXPECT_TRUE(back.helium);
    EXPECT_EQ(back.inputBits, 12);
    EXPECT_EQ(back.outputBits, 20);
    EXPECT_TRUE(back.testbench);
    EXPECT_EQ(back.filter.architecture, HdlArchitecture::Parallel);
    o.filter = {HdlArchitecture::Folded, 7, true};
    o.stream = true;
    ExportDialog::Save(settings, o);
    const ExportOptions folded = ExportDialog::Load(settings);
    EXPECT_EQ(folded.filter.architecture, HdlArchitecture::Folded);
    EXPECT_EQ(folded.filter.clocksPerSample, 7);
    EXPECT_TRUE(folded.filter.pipeline);
    EXPECT_TRUE(folded.stream);
    settings.setValue(QStringLiteral("Export/Architecture"), QStringLiteral("systolic"));
    settings.setValue(QStringLiteral("Export/ClocksPerSample"), 1025);
    EXPECT_EQ(ExportDialog::Load(settings).filter.architecture, HdlArchitecture::Parallel);
    EXPECT_EQ(ExportDialog::Load(settings).filter.clocksPerSample, kDefaultHdlClocksPerSample);
}

// The architecture's options are enabled where they apply: clocks per
// sample when folded, pipelining otherwise.
TEST_F(ExportDialogTest, TheFpgaFiltersTakeInputAndOutputBitsAndATestbench)
{
    Start();
    Press(IDC_DESIGN);
    ASSERT_EQ(app->m_view.m_bDesignValid, 1);
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("fir"));
    script->Expect([&](QWidget* modal) {
        auto* d = qobject_cast<ExportDialog*>(modal);
        ASSERT_NE(d, nullptr);
        EXPECT_FALSE(d->InputBits()->isEnabled());
        EXPECT_FALSE(d->Testbench()->isEnabled());
        EXPECT_FALSE(d->Architecture()->isEnabled());
        EXPECT_FALSE(d->Stream()->isEnabled());
        d->Profile()->setCurrentText(QStringLiteral("verilog-fir"));
        EXPECT_TRUE(d->Architecture()->isEnabled());
        EXPECT_TRUE(d->Stream()->isEnabled());
        EXPECT_TRUE(d->Pipeline()->isEnabled());
        EXPECT_FALSE(d->ClocksPerSample()->isEnabled());
        d->Architecture()->setCurrentText(QStringLiteral("folded"));
        EXPECT_FALSE(d->Pipeline()->isEnabled());
        EXPECT_TRUE(d->ClocksPerSample()->isEnabled());
        d->ClocksPerSample()->setValue(3);
        d->Stream()->setChecked(true);
        EXPECT_TRUE(d->InputBits()->isEnabled());
        EXPECT_TRUE(d->OutputBits()->isEnabled());
        EXPECT_TRUE(d->Testbench()->isEnabled());
        EXPECT_TRUE(d->WordLength()->isEnabled());
        EXPECT_FALSE(d->BlockSize()->isEnabled());
        EXPECT_EQ(d->OutputBits()->text(), QStringLiteral("accumulator (exact)"));
        EXPECT_EQ(d->Options().outputBits, 0);
        d->Root()->setText(root);
        d->InputBits()->setValue(12);
        d->OutputBits()->setValue(14);
        d->Testbench()->setChecked(true);
        EXPECT_TRUE(d->Preview()->toPlainText().contains(QStringLiteral("// Zantro ")));
        d->accept();
    });
    frame()->Action(ID_FILE_EXPORT)->trigger();
    const QString base = QFileInfo(root).absoluteFilePath();
    const QString filter = base + QStringLiteral(".v");
    EXPECT_EQ(frame()->statusBar()->currentMessage(),
              QStringLiteral("Wrote ") + filter + QStringLiteral(", ") + base + QStringLiteral("_axis.v, ") + base +
                  QStringLiteral("_tb.v, ") + base + QStringLiteral("_in.txt and ") + base +
                  QStringLiteral("_expected.txt"));
    QFile file(filter);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("input  wire signed [11:0] in_data")));
    EXPECT_TRUE(text.contains(QStringLiteral("output wire signed [13:0] out_data")));
    EXPECT_TRUE(text.contains(QStringLiteral("// Structure: folded, ")));
    EXPECT_TRUE(text.contains(QStringLiteral(", 3 clocks a sample\n")));
}
