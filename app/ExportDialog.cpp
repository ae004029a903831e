#include "app/ExportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/CMainFrame.h"
#include "app/CZantroApp.h"
#include "document/ExportProfileTraits.h"
#include "document/HdlFilterPlan.h"
#include "form/CZantroView.h"
#include "form/ExportCommand.h"

namespace {

const char* kGroup = "Export";

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

// The files a profile writes for root, as the status bar and the dialog name them.
QString FilesOf(const ExportOptions& o)
{
    QString text;
    for (const std::string& path : ExportFilePaths(o))
        text += (text.isEmpty() ? QString() : QStringLiteral(" and ")) + Text(path);
    return text;
}

}  // namespace

ExportDialog::ExportDialog(const CZantroView& view, QWidget* parent)
    : QDialog(parent), m_design(ExportDesignOf(view))
{
    setWindowTitle(QStringLiteral("Export"));
    setObjectName(QStringLiteral("exportDialog"));

    m_pProfile = new QComboBox(this);
    m_pProfile->setObjectName(QStringLiteral("profile"));
    for (const ExportProfileTraits& t : AllExportProfileTraits())
        m_pProfile->addItem(QString::fromLatin1(t.name));
    m_pRoot = new QLineEdit(this);
    m_pRoot->setObjectName(QStringLiteral("root"));
    m_pRoot->setMinimumWidth(320);
    m_pBrowse = new QPushButton(QStringLiteral("&Browse..."), this);
    m_pBrowse->setObjectName(QStringLiteral("browse"));
    m_pWordLength = new QSpinBox(this);
    m_pWordLength->setObjectName(QStringLiteral("wordLength"));
    m_pWordLength->setRange(2, 32);
    m_pWordLength->setSuffix(QStringLiteral(" bits"));
    m_pRounding = new QComboBox(this);
    m_pRounding->setObjectName(QStringLiteral("rounding"));
    m_pRounding->addItem(QStringLiteral("nearest (halves away from zero)"));
    m_pRounding->addItem(QStringLiteral("truncate (toward zero)"));
    m_pBlockSize = new QSpinBox(this);
    m_pBlockSize->setObjectName(QStringLiteral("blockSize"));
    m_pBlockSize->setRange(kMinExportBlockSize, kMaxExportBlockSize);
    m_pBlockSize->setSuffix(QStringLiteral(" samples"));
    m_pHelium = new QCheckBox(QStringLiteral("Pad the array with zeros for &Helium"), this);
    m_pHelium->setObjectName(QStringLiteral("helium"));
    m_pInputBits = new QSpinBox(this);
    m_pInputBits->setObjectName(QStringLiteral("inputBits"));
    m_pInputBits->setRange(kMinHdlInputBits, kMaxHdlInputBits);
    m_pInputBits->setSuffix(QStringLiteral(" bits"));
    m_pOutputBits = new QSpinBox(this);
    m_pOutputBits->setObjectName(QStringLiteral("outputBits"));
    m_pOutputBits->setRange(kMinHdlOutputBits - 1, kMaxHdlOutputBits);
    m_pOutputBits->setSuffix(QStringLiteral(" bits"));
    m_pOutputBits->setSpecialValueText(QStringLiteral("accumulator (exact)"));
    m_pArchitecture = new QComboBox(this);
    m_pArchitecture->setObjectName(QStringLiteral("architecture"));
    for (int i = 0; i < kHdlArchitectureCount; ++i)
        m_pArchitecture->addItem(QString::fromLatin1(HdlArchitectureName(static_cast<HdlArchitecture>(i))));
    m_pClocks = new QSpinBox(this);
    m_pClocks->setObjectName(QStringLiteral("clocksPerSample"));
    m_pClocks->setRange(kMinHdlClocksPerSample, kMaxHdlClocksPerSample);
    m_pClocks->setSuffix(QStringLiteral(" clocks"));
    m_pPipeline = new QCheckBox(QStringLiteral("Pip&eline the products"), this);
    m_pPipeline->setObjectName(QStringLiteral("pipeline"));
    m_pStream = new QCheckBox(QStringLiteral("Also write an AXI4-&Stream wrapper"), this);
    m_pStream->setObjectName(QStringLiteral("stream"));
    m_pTestbench = new QCheckBox(QStringLiteral("Also write a self-checking &testbench"), this);
    m_pTestbench->setObjectName(QStringLiteral("testbench"));
    m_pFiles = new QLabel(this);
    m_pFiles->setObjectName(QStringLiteral("files"));
    m_pFiles->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pPreview = new QPlainTextEdit(this);
    m_pPreview->setObjectName(QStringLiteral("preview"));
    m_pPreview->setReadOnly(true);
    m_pPreview->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pPreview->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pPreview->setMinimumSize(820, 300);

    auto* rootRow = new QHBoxLayout;
    rootRow->addWidget(m_pRoot, 1);
    rootRow->addWidget(m_pBrowse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Profile:"), m_pProfile);
    // A row holding a layout gets no buddy of its own.
    auto* rootLabel = new QLabel(QStringLiteral("&Root:"), this);
    rootLabel->setBuddy(m_pRoot);
    form->addRow(rootLabel, rootRow);
    form->addRow(QStringLiteral("Files:"), m_pFiles);
    form->addRow(QStringLiteral("&Word length:"), m_pWordLength);
    form->addRow(QStringLiteral("R&ounding:"), m_pRounding);
    form->addRow(QStringLiteral("B&lock size:"), m_pBlockSize);
    form->addRow(QString(), m_pHelium);
    form->addRow(QStringLiteral("&Input bits:"), m_pInputBits);
    form->addRow(QStringLiteral("O&utput bits:"), m_pOutputBits);
    form->addRow(QStringLiteral("&Architecture:"), m_pArchitecture);
    form->addRow(QStringLiteral("&Clocks per sample:"), m_pClocks);
    form->addRow(QString(), m_pPipeline);
    form->addRow(QString(), m_pStream);
    form->addRow(QString(), m_pTestbench);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("The comment the files open with:"), this));
    layout->addWidget(m_pPreview, 1);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pBrowse, &QPushButton::clicked, this, &ExportDialog::ChooseFolder);
    connect(m_pProfile, &QComboBox::currentIndexChanged, this, &ExportDialog::Update);
    connect(m_pRounding, &QComboBox::currentIndexChanged, this, &ExportDialog::Update);
    connect(m_pRoot, &QLineEdit::textChanged, this, &ExportDialog::Update);
    connect(m_pWordLength, &QSpinBox::valueChanged, this, &ExportDialog::Update);
    connect(m_pBlockSize, &QSpinBox::valueChanged, this, &ExportDialog::Update);
    connect(m_pHelium, &QCheckBox::toggled, this, &ExportDialog::Update);
    connect(m_pInputBits, &QSpinBox::valueChanged, this, &ExportDialog::Update);
    connect(m_pOutputBits, &QSpinBox::valueChanged, this, &ExportDialog::Update);
    connect(m_pArchitecture, &QComboBox::currentIndexChanged, this, &ExportDialog::Update);
    connect(m_pClocks, &QSpinBox::valueChanged, this, &ExportDialog::Update);
    connect(m_pPipeline, &QCheckBox::toggled, this, &ExportDialog::Update);
    connect(m_pStream, &QCheckBox::toggled, this, &ExportDialog::Update);
    connect(m_pTestbench, &QCheckBox::toggled, this, &ExportDialog::Update);
    SetOptions(ExportOptions{});
}

ExportOptions ExportDialog::Options() const
{
    ExportOptions o;
    o.profile = static_cast<ExportProfile>(std::max(0, m_pProfile->currentIndex()));
    o.root = m_pRoot->text().toStdString();
    o.wordLength = m_pWordLength->value();
    o.rounding = m_pRounding->currentIndex() == 1 ? QuantRounding::Truncate : QuantRounding::Nearest;
    o.blockSize = m_pBlockSize->value();
    o.helium = m_pHelium->isChecked();
    o.inputBits = m_pInputBits->value();
    o.outputBits = m_pOutputBits->value() < kMinHdlOutputBits ? 0 : m_pOutputBits->value();
    o.filter.architecture = static_cast<HdlArchitecture>(std::max(0, m_pArchitecture->currentIndex()));
    o.filter.clocksPerSample = m_pClocks->value();
    o.filter.pipeline = m_pPipeline->isChecked();
    o.stream = m_pStream->isChecked();
    o.testbench = m_pTestbench->isChecked();
    return o;
}

void ExportDialog::SetOptions(const ExportOptions& o)
{
    m_pProfile->setCurrentIndex(static_cast<int>(o.profile));
    m_pRoot->setText(Text(o.root));
    m_pWordLength->setValue(o.wordLength);
    m_pRounding->setCurrentIndex(o.rounding == QuantRounding::Truncate ? 1 : 0);
    m_pBlockSize->setValue(o.blockSize);
    m_pHelium->setChecked(o.helium);
    m_pInputBits->setValue(o.inputBits);
    m_pOutputBits->setValue(o.outputBits == 0 ? kMinHdlOutputBits - 1 : o.outputBits);
    m_pArchitecture->setCurrentIndex(static_cast<int>(o.filter.architecture));
    m_pClocks->setValue(o.filter.clocksPerSample);
    m_pPipeline->setChecked(o.filter.pipeline);
    m_pStream->setChecked(o.stream);
    m_pTestbench->setChecked(o.testbench);
    Update();
}

ExportOptions ExportDialog::Load(QSettings& settings)
{
    ExportOptions o;
    settings.beginGroup(QString::fromLatin1(kGroup));
    if (auto p = ParseExportProfile(settings.value(QStringLiteral("Profile")).toString().toStdString()))
        o.profile = *p;
    const QString root = settings.value(QStringLiteral("Root")).toString();
    if (!root.isEmpty())
        o.root = root.toStdString();
    const int bits = settings.value(QStringLiteral("WordLength"), o.wordLength).toInt();
    if (bits >= 2 && bits <= 32)
        o.wordLength = bits;
    if (settings.value(QStringLiteral("Rounding")).toString() == QStringLiteral("truncate"))
        o.rounding = QuantRounding::Truncate;
    const int block = settings.value(QStringLiteral("BlockSize"), o.blockSize).toInt();
    if (block >= kMinExportBlockSize && block <= kMaxExportBlockSize)
        o.blockSize = block;
    o.helium = settings.value(QStringLiteral("Helium"), false).toBool();
    const int inputBits = settings.value(QStringLiteral("InputBits"), o.inputBits).toInt();
    if (inputBits >= kMinHdlInputBits && inputBits <= kMaxHdlInputBits)
        o.inputBits = inputBits;
    const int outputBits = settings.value(QStringLiteral("OutputBits"), o.outputBits).toInt();
    if (outputBits == 0 || (outputBits >= kMinHdlOutputBits && outputBits <= kMaxHdlOutputBits))
        o.outputBits = outputBits;
    ParseHdlArchitecture(settings.value(QStringLiteral("Architecture")).toString().toStdString(),
                         o.filter.architecture);
    const int clocks = settings.value(QStringLiteral("ClocksPerSample"), o.filter.clocksPerSample).toInt();
    if (clocks >= kMinHdlClocksPerSample && clocks <= kMaxHdlClocksPerSample)
        o.filter.clocksPerSample = clocks;
    o.filter.pipeline = settings.value(QStringLiteral("Pipeline"), false).toBool();
    o.stream = settings.value(QStringLiteral("Stream"), false).toBool();
    o.testbench = settings.value(QStringLiteral("Testbench"), false).toBool();
    settings.endGroup();
    return o;
}

void ExportDialog::Save(QSettings& settings, const ExportOptions& o)
{
    settings.beginGroup(QString::fromLatin1(kGroup));
    settings.setValue(QStringLiteral("Profile"), QString::fromLatin1(ExportProfileName(o.profile)));
    settings.setValue(QStringLiteral("Root"), Text(o.root));
    settings.setValue(QStringLiteral("WordLength"), o.wordLength);
    settings.setValue(QStringLiteral("Rounding"),
                      o.rounding == QuantRounding::Truncate ? QStringLiteral("truncate") : QStringLiteral("nearest"));
    settings.setValue(QStringLiteral("BlockSize"), o.blockSize);
    settings.setValue(QStringLiteral("Helium"), o.helium);
    settings.setValue(QStringLiteral("InputBits"), o.inputBits);
    settings.setValue(QStringLiteral("OutputBits"), o.outputBits);
    settings.setValue(QStringLiteral("Architecture"), QString::fromLatin1(HdlArchitectureName(o.filter.architecture)));
    settings.setValue(QStringLiteral("ClocksPerSample"), o.filter.clocksPerSample);
    settings.setValue(QStringLiteral("Pipeline"), o.filter.pipeline);
    settings.setValue(QStringLiteral("Stream"), o.stream);
    settings.setValue(QStringLiteral("Testbench"), o.testbench);
    settings.endGroup();
}

void ExportDialog::Update()
{
    const ExportOptions o = Options();
    m_pWordLength->setEnabled(TakesWordLength(o.profile));
    m_pRounding->setEnabled(TakesRounding(o.profile));
    m_pBlockSize->setEnabled(TakesBlock(o.profile));
    m_pHelium->setEnabled(TakesHelium(o.profile));
    m_pInputBits->setEnabled(TakesFilterOptions(o.profile));
    m_pOutputBits->setEnabled(TakesFilterOptions(o.profile));
    const bool folded = o.filter.architecture == HdlArchitecture::Folded;
    m_pArchitecture->setEnabled(TakesFilterOptions(o.profile));
    m_pClocks->setEnabled(TakesFilterOptions(o.profile) && folded);
    m_pPipeline->setEnabled(TakesFilterOptions(o.profile) && !folded);
    m_pStream->setEnabled(TakesFilterOptions(o.profile));
    m_pTestbench->setEnabled(TakesFilterOptions(o.profile));
    m_pFiles->setText(o.root.empty() ? QString() : FilesOf(o));
    const std::string preview = ExportPreviewText(m_design, o);
    m_pPreview->setPlainText(preview.empty() ? QStringLiteral("(no design yet)") : Text(preview));
}

void ExportDialog::ChooseFolder()
{
    const QFileInfo current(m_pRoot->text());
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Export Folder"),
                                                             current.absolutePath());
    if (folder.isEmpty())
        return;
    const QString name = current.fileName().isEmpty() ? QStringLiteral("Outfile") : current.fileName();
    m_pRoot->setText(QDir(folder).filePath(name));
}

void RunExportCommand(CZantroApp& app, CMainFrame& frame)
{
    CZantroView& view = app.m_view;
    if (!view.m_design) {
        // The form says why, as Make File does.
        app.m_host.RunCommand([&view]() { ExportDesignFiles(view, ExportOptions{}); });
        return;
    }
    QSettings settings(QString::fromLatin1(CZantroApp::kRegistryKey), QString::fromLatin1(CZantroApp::kAppName));
    ExportDialog dialog(view, &frame);
    dialog.SetOptions(ExportDialog::Load(settings));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ExportOptions options = dialog.Options();
    ExportDialog::Save(settings, options);
    // The form reports the files written in the status bar.
    app.m_host.RunCommand([&]() { ExportDesignFiles(view, options); });
}
