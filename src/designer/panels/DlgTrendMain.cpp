#include "DlgTrendMain.h"

#include "AddressGroup.h"
#include "ColourGroup.h"
#include "LimitPair.h"
#include "NumberFormatGroup.h"
#include "PositionGroup.h"
#include "SizeGroup.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kMaxSamplingPoints = 94;
constexpr int kMaxSamplingTime = 60000;

// A field with its unit after it.
QWidget* WithUnit(QWidget* field, const QString& unit) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    layout->addWidget(new QLabel(unit));
    return row;
}

// A typed value into `low` … `high`, shown corrected when it had to be.
std::int64_t Bounded(CNumEditCtrl* edit, std::int64_t value, std::int64_t low, std::int64_t high) {
    const std::int64_t bounded = std::clamp(value, low, high);
    if (bounded != value)
        CorrectTypedValue(edit, bounded);
    return bounded;
}

} // namespace

DlgTrendMain::DlgTrendMain(CKoravelDoc& doc)
    : CKindPanel(doc, QStringLiteral("趋势图属性"), kTypeTrend),
      m_samplingPoint(NewNumberField(QStringLiteral("samplingPoint"))),
      m_samplingTime(NewNumberField(QStringLiteral("samplingTime"))) {
    setObjectName(QStringLiteral("trendPanel"));
    OnNumberEdited(m_samplingPoint.edit, [this](std::int64_t value, bool) {
        const std::int64_t points = Bounded(m_samplingPoint.edit, value, 1, kMaxSamplingPoints);
        Edit(QStringLiteral("sampling-point"), [points](CGraphBase& element) {
            As(element).m_nSamplingPoint = static_cast<std::int32_t>(points);
        });
    });
    OnNumberEdited(m_samplingTime.edit, [this](std::int64_t value, bool) {
        const std::int64_t time = Bounded(m_samplingTime.edit, value, 1, kMaxSamplingTime);
        Edit(QStringLiteral("sampling-time"), [time](CGraphBase& element) {
            As(element).m_nSamplingTime = static_cast<std::uint32_t>(time);
        });
    });

    auto* show = new QGroupBox(QStringLiteral("显示"));
    QFormLayout* form = NewFormLayout(show);
    form->addRow(NewLimitPair(
        QStringLiteral("满额度值:"), QStringLiteral("upperLimit"), QStringLiteral("零额度值:"),
        QStringLiteral("lowerLimit"),
        {[](CGraphBase& element) -> std::int64_t& { return As(element).m_nUpperLimit; },
         [](CGraphBase& element) -> std::int64_t& { return As(element).m_nLowerLimit; },
         [](CGraphBase& element) { return As(element).GetValueRange(); },
         [](CGraphBase& element) { return As(element).m_nDataFormat; }}));
    form->addRow(QStringLiteral("数据采集:"), WithUnit(m_samplingPoint.edit, QStringLiteral("点")));
    form->addRow(QStringLiteral("采样间隔:"), WithUnit(m_samplingTime.edit, QStringLiteral("秒")));

    auto* column = new QVBoxLayout(this);
    column->addWidget(NewPositionGroup());
    column->addWidget(NewSizeGroup());
    column->addWidget(
        NewAddressGroup(QStringLiteral("寄存器"), QStringLiteral("类型:"), QStringLiteral("reg"),
                        [](CGraphBase& element) -> CPLCAddress& { return As(element).m_Reg; }));
    column->addWidget(NewNumberFormatGroup(
        QStringLiteral("有符号"), [](CGraphBase& element) { return As(element).m_nDataFormat; },
        [](CGraphBase& element, int format) {
            CGETrend& trend = As(element);
            trend.m_nDataFormat = format;
            trend.NormalizeUpperLimit();
            trend.NormalizeLowerLimit();
        }));
    column->addWidget(show);
    column->addWidget(NewColourGroup(
        {{QStringLiteral("背景色:"), QStringLiteral("backColour"),
          [](CGraphBase& element) -> std::uint32_t& { return As(element).m_nBackColor; }},
         {QStringLiteral("前景色:"), QStringLiteral("foreColour"),
          [](CGraphBase& element) -> std::uint32_t& { return As(element).m_nForeColor; }},
         {QStringLiteral("线条色:"), QStringLiteral("penColour"),
          [](CGraphBase& element) -> std::uint32_t& { return As(element).m_nPenColor; }}}));
    column->addStretch(1);
}

void DlgTrendMain::ShowValues() {
    m_samplingPoint.spin->Bind(1, kMaxSamplingPoints, 1, Bound().m_nSamplingPoint, NumFormat::Dec);
    m_samplingTime.spin->Bind(1, kMaxSamplingTime, 1, Bound().m_nSamplingTime, NumFormat::Dec);
}
