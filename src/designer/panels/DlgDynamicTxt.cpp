#include "DlgDynamicTxt.h"

#include "AddressGroup.h"
#include "ColourGroup.h"
#include "EditableGrid.h"
#include "FontGroup.h"
#include "NumberFormatGroup.h"
#include "PLCNumber.h"
#include "PanelParts.h"
#include "PositionGroup.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column { kNumberColumn, kValueColumn, kContentColumn };

// A dynamic text's rectangle never leaves the panel's size, whatever its texts measure.
void LimitToPanel(CGraphBase& element) {
    element.m_nWidth = std::min(element.m_nWidth, kPanelWidth);
    element.m_nHeight = std::min(element.m_nHeight, kPanelHeight);
}

std::int64_t ParseValue(const QString& text, int dataFormat) {
    switch (dataFormat) {
    case kFormatHex:
        return ParseNumber(text, 16);
    case kFormatDec:
    case kFormatDecSign:
        return ParseNumber(text, 10);
    default:
        return 0;
    }
}

struct Entry {
    std::int64_t value;
    QString content;
};

} // namespace

QString DlgDynamicTxt::ValueText(std::int64_t value, int dataFormat) {
    if (value == -1)
        return {};
    // As the panel's printf showed them: 32 bits.
    switch (dataFormat) {
    case kFormatHex:
        return QString::number(static_cast<std::uint32_t>(value), 16).toUpper();
    case kFormatDecSign:
        return QStringLiteral("%1").arg(static_cast<std::int32_t>(value), 5);
    default:
        return QStringLiteral("%1").arg(static_cast<std::uint32_t>(value), 5);
    }
}

DlgDynamicTxt::DlgDynamicTxt(CKoravelDoc& doc)
    : CKindPanel(doc, QStringLiteral("动态文本属性"), kTypeDynamicText),
      m_pGrid(new CEditableGrid) {
    setObjectName(QStringLiteral("dynamicTextPanel"));
    m_pGrid->setObjectName(QStringLiteral("texts"));
    m_pGrid->setColumnCount(3);
    m_pGrid->setRowCount(kTextListSize);
    m_pGrid->setHorizontalHeaderLabels(
        {QStringLiteral("序号"), QStringLiteral("数值"), QStringLiteral("内容")});
    m_pGrid->SetColumnWidthTwips(kNumberColumn, 500);
    m_pGrid->SetColumnWidthTwips(kValueColumn, 600);
    m_pGrid->SetColumnWidthTwips(kContentColumn, 2500);
    m_pGrid->SetRowHeightTwips(400);
    m_pGrid->SetColumnRule(kContentColumn, {true, 255, false, false});
    m_pGrid->setMinimumHeight(200);
    m_pGrid->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < kTextListSize; ++row)
        m_pGrid->SetCellText(row, kNumberColumn, QString::number(row + 1));
    connect(m_pGrid, &CEditableGrid::EditingEnded, this, &DlgDynamicTxt::OnEditingEnded);

    auto* fields = new QWidget;
    QFormLayout* form = NewFormLayout(fields);
    form->addRow(NewFlag(
        QStringLiteral("背景"), QStringLiteral("background"),
        [](CGraphBase& element) { return element.m_nSameColor != 0; },
        [](CGraphBase& element, bool on) { element.m_nSameColor = on ? 1 : 0; }, true));

    auto* texts = new QGroupBox(QStringLiteral("显示文本"));
    auto* textsLayout = new QVBoxLayout(texts);
    textsLayout->setContentsMargins(4, 4, 4, 4);
    textsLayout->addWidget(m_pGrid);

    auto* column = new QVBoxLayout(this);
    column->addWidget(NewPositionGroup());
    column->addWidget(
        NewAddressGroup(QStringLiteral("寄存器"), QStringLiteral("类型:"), QStringLiteral("reg"),
                        [](CGraphBase& element) -> CPLCAddress& { return As(element).m_Reg; }));
    column->addWidget(NewNumberFormatGroup(
        QStringLiteral("有符号数"), [](CGraphBase& element) { return As(element).m_nDataFormat; },
        [](CGraphBase& element, int format) { As(element).m_nDataFormat = format; }));
    column->addWidget(NewFontGroup(LimitToPanel));
    column->addWidget(NewColourGroup(
        {{QStringLiteral("背景色:"), QStringLiteral("backColour"),
          [](CGraphBase& element) -> std::uint32_t& { return As(element).m_nBkColor; }},
         {QStringLiteral("前景色:"), QStringLiteral("foreColour"),
          [](CGraphBase& element) -> std::uint32_t& { return As(element).m_nForeColor; }}}));
    column->addWidget(fields);
    column->addWidget(texts, 1);
}

void DlgDynamicTxt::ShowValues() {
    const CGEDynamicTxt& text = Bound();
    m_pGrid->SetColumnRule(kValueColumn, {true, 5, true, text.m_nDataFormat == kFormatHex});
    for (int row = 0; row < kTextListSize; ++row) {
        const CTextItem& item = (*text.m_pTexts)[row];
        const QString value = ValueText(item.m_nValue, text.m_nDataFormat);
        if (m_pGrid->GetCellText(row, kValueColumn) != value)
            m_pGrid->SetCellText(row, kValueColumn, value);
        if (m_pGrid->GetCellText(row, kContentColumn) != item.m_strContent)
            m_pGrid->SetCellText(row, kContentColumn, item.m_strContent);
    }
}

void DlgDynamicTxt::OnEditingEnded(bool written) {
    if (!Element() || !written)
        return;
    const CGEDynamicTxt& text = Bound();
    const ValueRange range = text.GetValueRange();
    std::vector<Entry> entries;
    std::vector<int> changed;
    QStringList cells; // what changed, so that only edits of the same cells merge
    for (int row = 0; row < kTextListSize; ++row) {
        const CTextItem& item = (*text.m_pTexts)[row];
        const QString valueText = m_pGrid->GetCellText(row, kValueColumn);
        Entry entry{item.m_nValue, m_pGrid->GetCellText(row, kContentColumn)};
        // A row reads back as it shows; an empty row keeps its entry out of use.
        const bool unchanged = valueText == ValueText(item.m_nValue, text.m_nDataFormat) ||
                               (valueText.trimmed().isEmpty() && entry.content.isEmpty());
        if (!unchanged)
            entry.value =
                std::clamp(ParseValue(valueText, text.m_nDataFormat), range.min, range.max);
        if (entry.value != item.m_nValue)
            cells << QStringLiteral("%1.%2").arg(row).arg(kValueColumn);
        if (entry.content != item.m_strContent)
            cells << QStringLiteral("%1.%2").arg(row).arg(kContentColumn);
        if (entry.value != item.m_nValue || entry.content != item.m_strContent)
            changed.push_back(row);
        entries.push_back(entry);
    }
    // Two texts in use may not answer to the same value.
    for (const int row : changed) {
        const Entry& entry = entries[static_cast<std::size_t>(row)];
        if (entry.content.isEmpty())
            continue;
        for (int other = 0; other < kTextListSize; ++other) {
            const Entry& rival = entries[static_cast<std::size_t>(other)];
            if (other != row && !rival.content.isEmpty() && rival.value == entry.value) {
                QMessageBox::warning(this, QStringLiteral("提示"),
                                     QStringLiteral("值不能重复，请重新输入！"));
                Refresh();
                return;
            }
        }
    }
    Edit(QStringLiteral("texts:") + cells.join(u','), [entries](CGraphBase& element) {
        CGEDynamicTxt& text = As(element);
        for (int row = 0; row < kTextListSize; ++row) {
            CTextItem& item = (*text.m_pTexts)[row];
            item.m_nValue = entries[static_cast<std::size_t>(row)].value;
            item.m_strContent = entries[static_cast<std::size_t>(row)].content;
            item.m_strValueText = ValueText(item.m_nValue, text.m_nDataFormat);
        }
        text.RecalcSize();
        LimitToPanel(text);
    });
    // A value beyond the register's range shows as it was stored.
    Refresh();
}
