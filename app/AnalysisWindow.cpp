#include "app/AnalysisWindow.h"

#include <QAreaSeries>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QSvgGenerator>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "app/AnalysisChartView.h"
#include "app/AnalysisChosenWords.h"
#include "app/AnalysisReference.h"
#include "app/ChartSvg.h"
#include "form/AnalysisTable.h"
#include "form/CZantroView.h"

const std::vector<int> AnalysisWindow::kWordLengths = {8, 10, 12, 14, 16, 18, 20, 24, 32};

namespace {

const QColor kDesignColor(0, 90, 200);
const QColor kQuantColor(220, 110, 0);
const QColor kMaskColor(120, 120, 120);
const QColor kAliasColor(220, 40, 40, 48);
const QColor kFoldedColor(0, 150, 60);

// A number typed into the band table, whatever the locale.
std::optional<double> CellNumber(const QTableWidgetItem* item)
{
    if (!item)
        return std::nullopt;
    const std::string text = item->text().trimmed().toStdString();
    double v = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

}  // namespace

AnalysisWindow::AnalysisWindow(const CZantroView& view, QWidget* parent) : QWidget(parent, Qt::Window), m_view(view)
{
    setWindowTitle(QStringLiteral("Analysis"));
    setObjectName(QStringLiteral("analysisWindow"));
    BuildLayout();
    resize(1180, 760);
    Refresh();
}

AnalysisWindow::~AnalysisWindow() = default;

void AnalysisWindow::BuildLayout()
{
    auto* top = new QHBoxLayout();
    m_pFormat = new QComboBox(this);
    m_pFormat->addItems({QStringLiteral("Q7"), QStringLiteral("Q15"), QStringLiteral("Q31")});
    for (int bits : kWordLengths)
        m_pFormat->addItem(QStringLiteral("%1 bits").arg(bits));
    m_pFormat->setCurrentIndex(1);
    m_pRounding = new QComboBox(this);
    m_pRounding->addItems({QStringLiteral("nearest"), QStringLiteral("truncate")});
    m_pRounding->setEnabled(false);
    m_pReferenceButton = new QPushButton(QStringLiteral("Hold as &Reference"), this);
    m_pReferenceButton->setToolTip(QStringLiteral("Keep this design for comparison with the next ones"));
    auto* reset = new QPushButton(QStringLiteral("Reset Zoom"), this);
    auto* exportButton = new QPushButton(QStringLiteral("Export..."), this);
    top->addWidget(new QLabel(QStringLiteral("Fixed point:"), this));
    top->addWidget(m_pFormat);
    top->addWidget(new QLabel(QStringLiteral("Rounding:"), this));
    top->addWidget(m_pRounding);
    top->addStretch();
    // The hint wraps rather than widen the window beyond the room beside the form.
    auto* hint = new QLabel(QStringLiteral("Wheel or drag a rectangle: zoom; right drag: pan"), this);
    hint->setWordWrap(true);
    top->addWidget(hint, 1);
    m_pReadout = new QLabel(this);
    m_pReadout->setMinimumWidth(m_pReadout->fontMetrics().horizontalAdvance(QStringLiteral("00000.0 Hz, -000.00 samples")));
    top->addWidget(m_pReadout);
    top->addWidget(reset);
    top->addWidget(exportButton);

    m_pMagnitude = new AnalysisChartView(this);
    m_pMagnitude->chart()->setTitle(QStringLiteral("Magnitude (dB)"));
    m_pMagnitude->AxisX()->setTitleText(QStringLiteral("Hz"));
    m_pMagnitude->AxisY()->setTitleText(QStringLiteral("dB"));
    m_pDesignCurve = m_pMagnitude->AddCurve(QStringLiteral("double"), kDesignColor);
    m_pQuantCurve = m_pMagnitude->AddCurve(QStringLiteral("quantized"), kQuantColor);
    m_pChosen = std::make_unique<AnalysisChosenWords>(*m_pMagnitude, this);
    m_pChosen->CheckBox()->setChecked(m_view.m_WordRequest.has_value());
    m_pGroupDelay = new AnalysisChartView(this);
    m_pGroupDelay->chart()->setTitle(QStringLiteral("Group delay (samples)"));
    m_pGroupDelay->AxisX()->setTitleText(QStringLiteral("Hz"));
    m_pGroupDelay->m_strReadoutUnit = QStringLiteral("samples");
    for (AnalysisChartView* view : {m_pMagnitude, m_pGroupDelay})
        view->m_onReadout = [this](const QString& text) { m_pReadout->setText(text); };
    m_pReference = std::make_unique<AnalysisReference>(*m_pMagnitude, *m_pGroupDelay);
    m_pDesignDelay = m_pGroupDelay->AddCurve(QStringLiteral("double"), kDesignColor);
    m_pQuantDelay = m_pGroupDelay->AddCurve(QStringLiteral("quantized"), kQuantColor);

    auto* plots = new QSplitter(Qt::Vertical, this);
    plots->addWidget(m_pMagnitude);
    plots->addWidget(m_pGroupDelay);
    plots->setStretchFactor(0, 3);
    plots->setStretchFactor(1, 1);
    m_pPlots = plots;

    m_pBands = new QTableWidget(0, 4, this);
    m_pBands->setHorizontalHeaderLabels(
        {QStringLiteral("Kind"), QStringLiteral("Lower Edge"), QStringLiteral("Upper Edge"), QStringLiteral("Limit dB")});
    m_pBands->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_pBands->setToolTip(QStringLiteral("Kind pass or stop; edges in Hz; limit: a pass band's largest ripple, "
                                        "a stop band's smallest attenuation"));
    auto* add = new QPushButton(QStringLiteral("Add Band"), this);
    auto* remove = new QPushButton(QStringLiteral("Remove Band"), this);
    auto* derived = new QPushButton(QStringLiteral("Derived Bands"), this);
    auto* bandButtons = new QHBoxLayout();
    bandButtons->addWidget(add);
    bandButtons->addWidget(remove);
    bandButtons->addWidget(derived);
    m_pStatus = new QLabel(this);
    m_pStatus->setWordWrap(true);
    m_pFigures = new QTableWidget(0, 3, this);
    m_pFigures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The figures keep their whole text and stay in sight: a narrow window
    // wraps the names over more lines instead of hiding columns.
    m_pFigures->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pFigures->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_pFigures->horizontalHeader()->setStretchLastSection(false);
    m_pFigures->setWordWrap(true);
    m_pFigures->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pFigures->verticalHeader()->setMinimumSectionSize(20);
    m_pBands->verticalHeader()->setDefaultSectionSize(22);
    m_pFigures->verticalHeader()->setVisible(false);

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(new QLabel(QStringLiteral("Bands"), side));
    sideLayout->addWidget(m_pBands, 1);
    sideLayout->addLayout(bandButtons);
    sideLayout->addWidget(m_pStatus);
    auto* figuresRow = new QHBoxLayout();
    figuresRow->addWidget(new QLabel(QStringLiteral("Figures"), side));
    figuresRow->addStretch();
    figuresRow->addWidget(m_pChosen->CheckBox());
    figuresRow->addWidget(m_pReferenceButton);
    sideLayout->addLayout(figuresRow);
    sideLayout->addWidget(m_pFigures, 3);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(plots);
    split->addWidget(side);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({720, 460});
    split->setChildrenCollapsible(false);
    m_pMagnitude->setMinimumSize(360, 260);
    // Tall enough for its tick labels, which the chart elides when cramped.
    m_pGroupDelay->setMinimumSize(360, 180);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);

    connect(m_pFormat, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_pRounding->setEnabled(index >= 3);
        Recompute();
    });
    connect(m_pRounding, &QComboBox::currentIndexChanged, this, [this](int) { Recompute(); });
    connect(m_pChosen->CheckBox(), &QCheckBox::toggled, this, [this](bool) { Recompute(); });
    connect(m_pReferenceButton, &QPushButton::clicked, this, &AnalysisWindow::ToggleReference);
    connect(reset, &QPushButton::clicked, this, &AnalysisWindow::ResetZoom);
    connect(exportButton, &QPushButton::clicked, this, &AnalysisWindow::ExportDialog);
    connect(add, &QPushButton::clicked, this, &AnalysisWindow::AddBand);
    connect(remove, &QPushButton::clicked, this, &AnalysisWindow::RemoveBand);
    connect(derived, &QPushButton::clicked, this, &AnalysisWindow::UseDerivedBands);
    connect(m_pBands, &QTableWidget::cellChanged, this, [this](int, int) {
        if (!m_bFilling)
            BandEdited();
    });
}

QuantSpec AnalysisWindow::ChosenQuantSpec() const
{
    QuantSpec quantSpec;
    const int index = m_pFormat->currentIndex();
    if (index < 3) {
        quantSpec.format = index == 0 ? QuantFormat::Q7 : index == 1 ? QuantFormat::Q15 : QuantFormat::Q31;
        quantSpec.wordLength = index == 0 ? 8 : index == 1 ? 16 : 32;
    } else {
        quantSpec.format = QuantFormat::Bits;
        quantSpec.wordLength = kWordLengths[static_cast<size_t>(index - 3)];
        quantSpec.rounding = m_pRounding->currentIndex() == 1 ? QuantRounding::Truncate : QuantRounding::Nearest;
    }
    return quantSpec;
}

std::vector<double> AnalysisWindow::Signature() const
{
    // The design the plots show: its fields and taps.
    const CZantroView& v = m_view;
    if (!v.m_design)
        return {0.0};
    const FormFields& f = v.m_design->fields;
    std::vector<double> s = {1.0, double(f.samplingRate), double(f.filterType), double(f.designMethod),
                             double(f.windowType), double(f.firstCorner), double(f.secondCorner)};
    s.insert(s.end(), v.m_design->taps.begin(), v.m_design->taps.end());
    // The same taps designed again answer no requirement any more.
    s.push_back(v.ShownRequirement() ? 1.0 : 0.0);
    // Nor are they the same rate change's lowpass.
    const std::optional<MultirateDesign> rate = RateChangeOf(v);
    s.push_back(rate ? 100.0 * (static_cast<int>(rate->kind) + 1) + rate->factor : 0.0);
    s.push_back(v.m_WordRequest ? 1.0 : 0.0);
    return s;
}

void AnalysisWindow::Follow()
{
    if (Signature() != m_signature)
        Refresh();
}

void AnalysisWindow::Refresh()
{
    m_signature = Signature();
    m_bDerivedChosen = false;
    if (m_view.m_WordRequest) {
        const QSignalBlocker quiet(m_pChosen->CheckBox());
        m_pChosen->CheckBox()->setChecked(true);
    }
    Recompute();
    ResetZoom();
}

void AnalysisWindow::Recompute()
{
    // Right after Design to Requirement the design answers that requirement:
    // its bands and limits are what to judge, not bands derived from the design.
    const SpecRequirement* requirement = m_userMask || m_bDerivedChosen ? nullptr : m_view.ShownRequirement();
    std::optional<std::vector<MaskBand>> mask = m_userMask;
    if (requirement)
        mask = RequirementMask(*requirement);
    m_analysis = AnalyzeDesign(m_view, mask, ChosenQuantSpec());
    if (!m_userMask) {
        m_limits = requirement ? RequirementLimits(*requirement) : DefaultBandLimits(m_analysis.figures);
        FillBandTable();
    }
    m_limits.resize(m_analysis.bands.size(), std::numeric_limits<double>::quiet_NaN());
    m_pChosen->Apply(m_analysis, m_limits, ChosenQuantSpec());
    m_referenceMeasured = m_pReference->MeasuredOn(m_analysis.bands, ChosenQuantSpec());
    m_pReferenceButton->setText(m_pReference->IsHeld() ? QStringLiteral("Clear &Reference")
                                                       : QStringLiteral("Hold as &Reference"));
    m_pReferenceButton->setEnabled(m_pReference->IsHeld() || m_analysis.valid);
    if (!m_analysis.valid)
        m_pStatus->setText(QStringLiteral("No design available. Press Design on the form."));
    else if (m_analysis.figures.status == MeasureStatus::BadBand)
        m_pStatus->setText(QStringLiteral("A band lies outside 0 .. fs/2; edit it or press Derived Bands."));
    else
        m_pStatus->setText(m_userMask    ? QStringLiteral("Bands as edited.")
                           : requirement ? QStringLiteral("Bands of the requirement (Design to Requirement).")
                                         : QStringLiteral("Bands derived from the design."));
    DrawCurves();
    m_pReference->WidenHomeRanges();
    DrawMask();
    FillFigures();
}

void AnalysisWindow::ToggleReference()
{
    if (m_pReference->IsHeld())
        m_pReference->Clear();
    else
        m_pReference->Hold(m_analysis);
    Recompute();
}

void AnalysisWindow::FillBandTable()
{
    m_bFilling = true;
    const std::vector<MaskBand>& bands = m_analysis.bands;
    m_pBands->setRowCount(static_cast<int>(bands.size()));
    for (size_t i = 0; i < bands.size(); ++i) {
        const int row = static_cast<int>(i);
        const char* kind = bands[i].kind == BandKind::Pass ? "pass" : bands[i].kind == BandKind::Stop ? "stop" : "slope";
        m_pBands->setItem(row, kKindColumn, new QTableWidgetItem(QString::fromLatin1(kind)));
        m_pBands->setItem(row, kLoColumn, new QTableWidgetItem(Text(FixedText(bands[i].loHz, 1))));
        m_pBands->setItem(row, kHiColumn, new QTableWidgetItem(Text(FixedText(bands[i].hiHz, 1))));
        const double limit = i < m_limits.size() ? m_limits[i] : std::numeric_limits<double>::quiet_NaN();
        m_pBands->setItem(row, kLimitColumn, new QTableWidgetItem(std::isnan(limit) ? QString() : Text(FixedText(limit, 2))));
    }
    m_bFilling = false;
}

void AnalysisWindow::BandEdited()
{
    std::vector<MaskBand> bands;
    std::vector<double> limits;
    const std::vector<MaskBand> before = m_analysis.bands;
    for (int row = 0; row < m_pBands->rowCount(); ++row) {
        const QTableWidgetItem* kindItem = m_pBands->item(row, kKindColumn);
        const QString kind = kindItem ? kindItem->text().trimmed().toLower() : QString();
        const std::optional<double> lo = CellNumber(m_pBands->item(row, kLoColumn));
        const std::optional<double> hi = CellNumber(m_pBands->item(row, kHiColumn));
        const QTableWidgetItem* limitItem = m_pBands->item(row, kLimitColumn);
        const std::optional<double> limit = CellNumber(limitItem);
        const bool kindOk = kind == QLatin1String("pass") || kind == QLatin1String("stop") || kind == QLatin1String("slope");
        if (!kindOk || !lo || !hi || *lo < 0.0 || *hi <= *lo || *hi > m_view.m_nSamplingRate / 2.0 ||
            (limitItem && !limitItem->text().trimmed().isEmpty() && !limit)) {
            m_pStatus->setText(QStringLiteral("Band %1: the kind must be pass, stop or slope, the edges numbers "
                                              "with 0 <= lower < upper <= fs/2, the limit a number.")
                                   .arg(row + 1));
            return;
        }
        MaskBand b;
        b.kind = kind == QLatin1String("pass") ? BandKind::Pass : kind == QLatin1String("stop") ? BandKind::Stop : BandKind::Slope;
        b.loHz = *lo;
        b.hiHz = *hi;
        // Keep a derived band's ideal gain when only its edges moved.
        b.desired = static_cast<size_t>(row) < before.size() && before[static_cast<size_t>(row)].kind == b.kind
                        ? before[static_cast<size_t>(row)].desired
                        : 1.0;
        bands.push_back(b);
        limits.push_back(limit ? *limit : std::numeric_limits<double>::quiet_NaN());
    }
    m_userMask = bands;
    m_limits = limits;
    Recompute();
}

void AnalysisWindow::UseDerivedBands()
{
    m_userMask.reset();
    m_bDerivedChosen = true;
    Recompute();
}

void AnalysisWindow::AddBand()
{
    const double nyq = m_view.m_nSamplingRate / 2.0;
    m_bFilling = true;
    const int row = m_pBands->rowCount();
    m_pBands->insertRow(row);
    m_pBands->setItem(row, kKindColumn, new QTableWidgetItem(QStringLiteral("stop")));
    m_pBands->setItem(row, kLoColumn, new QTableWidgetItem(Text(FixedText(nyq / 2.0, 1))));
    m_pBands->setItem(row, kHiColumn, new QTableWidgetItem(Text(FixedText(nyq, 1))));
    m_pBands->setItem(row, kLimitColumn, new QTableWidgetItem(QStringLiteral("40.00")));
    m_bFilling = false;
    BandEdited();
}

void AnalysisWindow::RemoveBand()
{
    const int row = m_pBands->currentRow() >= 0 ? m_pBands->currentRow() : m_pBands->rowCount() - 1;
    if (row < 0)
        return;
    m_pBands->removeRow(row);
    BandEdited();
}

void AnalysisWindow::DrawCurves()
{
    const DesignAnalysis& a = m_analysis;
    const double nyq = std::max(1.0, a.fs / 2.0);
    m_pQuantCurve->setName(Text(QuantFormatName(a.quantized.quantSpec)));
    m_pQuantDelay->setName(m_pQuantCurve->name());
    if (!a.valid || a.figures.status == MeasureStatus::NoTaps || a.fs <= 0.0) {
        for (QLineSeries* s : {m_pDesignCurve, m_pQuantCurve, m_pDesignDelay, m_pQuantDelay, m_pChosen->Curve()})
            s->clear();
        m_pMagnitude->SetHomeRange(QRectF(QPointF(0.0, -100.0), QPointF(nyq, 10.0)));
        m_pGroupDelay->SetHomeRange(QRectF(QPointF(0.0, 0.0), QPointF(nyq, 1.0)));
        return;
    }
    const int count = std::clamp(8 * static_cast<int>(a.taps.size()), 4096, 16384) + 1;
    const bool quantOk = a.quantized.status == QuantStatus::Ok;
    AnalysisChartView::FillCurve(m_pDesignCurve, MagnitudeCurveDb(a.taps, a.fs, count));
    AnalysisChartView::FillCurve(m_pDesignDelay, GroupDelayCurve(a.taps, a.fs, count / 4 + 1));
    if (quantOk) {
        AnalysisChartView::FillCurve(m_pQuantCurve, MagnitudeCurveDb(a.quantized.values, a.fs, count));
        AnalysisChartView::FillCurve(m_pQuantDelay, GroupDelayCurve(a.quantized.values, a.fs, count / 4 + 1));
    } else {
        m_pQuantCurve->clear();
        m_pQuantDelay->clear();
    }
    m_pChosen->Draw(a, count);

    // Home: from just above the top of the response to 40 dB under the
    // deepest stop band; nulls further down are cut off.
    double top = -400.0, floorDb = -60.0;
    for (const QPointF& p : m_pDesignCurve->points())
        top = std::max(top, p.y());
    for (const ResponseFigures* f : {&a.figures, quantOk ? &a.quantized.figures : nullptr})
        if (f)
            for (const BandFigures& b : f->bands)
                if (b.band.kind == BandKind::Stop)
                    floorDb = std::min(floorDb, b.maxDb - 40.0);
    floorDb = std::max(floorDb, -240.0);
    m_pMagnitude->SetHomeRange(
        QRectF(QPointF(0.0, std::floor(floorDb / 10.0) * 10.0), QPointF(nyq, std::ceil((top + 5.0) / 10.0) * 10.0)));

    // Group delay: the range it takes where the filter passes.
    double lo = a.figures.groupDelayMinSamples, hi = a.figures.groupDelayMaxSamples;
    if (quantOk) {
        lo = std::min(lo, a.quantized.figures.groupDelayMinSamples);
        hi = std::max(hi, a.quantized.figures.groupDelayMaxSamples);
    }
    const double margin = std::max(1.0, 0.1 * (hi - lo));
    m_pGroupDelay->SetHomeRange(QRectF(QPointF(0.0, lo - margin), QPointF(nyq, hi + margin)));
}

void AnalysisWindow::DrawMask()
{
    QChart* chart = m_pMagnitude->chart();
    for (QAbstractSeries* s : chart->series())
        if (s != m_pDesignCurve && s != m_pQuantCurve && s != m_pChosen->Curve() && s != m_pReference->MagnitudeCurve())
            chart->removeSeries(s), delete s;
    const DesignAnalysis& a = m_analysis;
    if (!a.valid || a.figures.status != MeasureStatus::Ok)
        return;
    const double nominal = GainDb(a.figures.nominalPassGain);
    bool first = true;
    auto segment = [&](double lo, double hi, double db) {
        auto* s = new QLineSeries(m_pMagnitude);
        s->setName(QStringLiteral("mask"));
        s->setPen(QPen(kMaskColor, 2.0, Qt::DashLine));
        s->append(lo, db);
        s->append(hi, db);
        chart->addSeries(s);
        s->attachAxis(m_pMagnitude->AxisX());
        s->attachAxis(m_pMagnitude->AxisY());
        for (QLegendMarker* m : chart->legend()->markers(s))
            m->setVisible(first);
        first = false;
    };
    for (size_t i = 0; i < a.bands.size(); ++i) {
        const MaskBand& b = a.bands[i];
        const double limit = i < m_limits.size() ? m_limits[i] : std::numeric_limits<double>::quiet_NaN();
        if (b.kind == BandKind::Pass) {
            const double half = std::isnan(limit) ? 0.0 : limit / 2.0;
            segment(b.loHz, b.hiHz, nominal + half);
            if (half > 0.0)
                segment(b.loHz, b.hiHz, nominal - half);
        } else if (b.kind == BandKind::Stop) {
            segment(b.loHz, b.hiHz, nominal - (std::isnan(limit) ? a.figures.bands[i].attenuationDb : limit));
        }
    }
    DrawRateChange();
}

void AnalysisWindow::DrawRateChange()
{
    QChart* chart = m_pMagnitude->chart();
    const DesignAnalysis& a = m_analysis;
    if (!a.rateChange) {
        chart->setTitle(QStringLiteral("Magnitude (dB)"));
        return;
    }
    const RateChangeFigures& r = *a.rateChange;
    const bool decimate = r.design.kind != MultirateKind::Interpolate;
    const QString kind = r.design.kind == MultirateKind::Halfband ? QStringLiteral("half-band")
                         : decimate                               ? QStringLiteral("decimation")
                                                                  : QStringLiteral("interpolation");
    chart->setTitle(QStringLiteral("Magnitude (dB); %1 by %2: alias attenuation %3 dB")
                        .arg(kind)
                        .arg(r.design.factor)
                        .arg(Text(FixedText(r.aliasAttenuationDb, 2))));
    // Shaded from far below to far above any range the views reach.
    bool first = true;
    for (const MaskBand& b : r.aliasBands) {
        auto* upper = new QLineSeries();
        auto* lower = new QLineSeries();
        upper->append(b.loHz, 1000.0);
        upper->append(b.hiHz, 1000.0);
        lower->append(b.loHz, -1000.0);
        lower->append(b.hiHz, -1000.0);
        auto* area = new QAreaSeries(upper, lower);
        // The edges go with the area when the next drawing removes it.
        upper->setParent(area);
        lower->setParent(area);
        area->setName(QStringLiteral("alias bands"));
        area->setBrush(kAliasColor);
        area->setPen(Qt::NoPen);
        chart->addSeries(area);
        area->attachAxis(m_pMagnitude->AxisX());
        area->attachAxis(m_pMagnitude->AxisY());
        for (QLegendMarker* m : chart->legend()->markers(area))
            m->setVisible(first);
        first = false;
    }
    if (!decimate || a.taps.empty())
        return;
    auto* folded = new QLineSeries(m_pMagnitude);
    folded->setName(QStringLiteral("folded"));
    folded->setPen(QPen(kFoldedColor, 1.5));
    // At most 16385 evaluations of the response, whatever the factor.
    const int count = std::clamp(16384 / std::max(r.design.factor, 1), 64, 512) + 1;
    AnalysisChartView::FillCurve(folded, FoldedResponseDb(a.taps, r.design.factor, r.fs, count));
    chart->addSeries(folded);
    folded->attachAxis(m_pMagnitude->AxisX());
    folded->attachAxis(m_pMagnitude->AxisY());
}

void AnalysisWindow::FillFigures()
{
    const std::vector<FigureRow> rows = FigureRows(m_analysis, m_limits);
    std::vector<FigureRow> reference;
    if (m_referenceMeasured)
        reference = AlignedRows(rows, FigureRows(*m_referenceMeasured, m_limits));
    QStringList header = {QStringLiteral("Figure"), QStringLiteral("double"),
                          Text(QuantFormatName(m_analysis.quantized.quantSpec))};
    // The chosen words beside the rounded ones, judged by the same limits.
    std::vector<FigureRow> chosen;
    if (m_analysis.chosen && m_analysis.optimized.status == QuantStatus::Ok) {
        DesignAnalysis words = m_analysis;
        words.quantized = m_analysis.optimized;
        chosen = FigureRows(words, m_limits);
        header << QStringLiteral("chosen ") + header.back();
    }
    const int referenceColumn = static_cast<int>(header.size());
    if (m_referenceMeasured)
        header << QStringLiteral("reference");
    m_pFigures->setColumnCount(static_cast<int>(header.size()));
    m_pFigures->setHorizontalHeaderLabels(header);
    m_pFigures->setRowCount(static_cast<int>(rows.size()));
    auto figure = [this](int row, int column, const std::string& text, bool miss) {
        auto* item = new QTableWidgetItem(Text(text));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (miss)
            item->setForeground(QBrush(Qt::red));
        m_pFigures->setItem(row, column, item);
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i);
        m_pFigures->setItem(row, 0, new QTableWidgetItem(Text(rows[i].label)));
        figure(row, 1, rows[i].doubleText, rows[i].doubleMisses);
        figure(row, 2, rows[i].quantText, rows[i].quantMisses);
        if (i < chosen.size())
            figure(row, 3, chosen[i].quantText, chosen[i].quantMisses);
        // The reference's design in double precision, judged by the same limits.
        if (i < reference.size())
            figure(row, referenceColumn, reference[i].doubleText, reference[i].doubleMisses);
    }
    for (int column = 1; column < m_pFigures->columnCount(); ++column)
        m_pFigures->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

void AnalysisWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AnalysisWindow::ResetZoom()
{
    m_pMagnitude->ResetZoom();
    m_pGroupDelay->ResetZoom();
}

bool AnalysisWindow::ExportPicture(const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QSize size = m_pPlots->size();
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Zantro analysis"));
        QPainter painter(&svg);
        RenderWithClippedCurves(*m_pPlots, {m_pMagnitude, m_pGroupDelay}, painter);
        painter.end();
    } else {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        m_pPlots->render(&painter);
        painter.end();
        if (!image.save(&file, "PNG"))
            return false;
    }
    return file.commit();
}

void AnalysisWindow::ExportDialog()
{
    QString filter;
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export Picture"), QStringLiteral("analysis.png"),
                                                      QStringLiteral("PNG image (*.png);;SVG image (*.svg)"), &filter);
    if (path.isEmpty())
        return;
    QString target = path;
    if (!target.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) &&
        !target.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive))
        target += filter.startsWith(QStringLiteral("SVG")) ? QStringLiteral(".svg") : QStringLiteral(".png");
    if (!ExportPicture(target))
        QMessageBox::warning(this, QStringLiteral("Zantro"), QStringLiteral("Cannot write file %1").arg(target));
    else
        m_pStatus->setText(QStringLiteral("Picture written to %1").arg(target));
}
