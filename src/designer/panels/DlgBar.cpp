#include "DlgBar.h"

#include "AddressGroup.h"
#include "ColourGroup.h"
#include "LimitPair.h"
#include "NumberFormatGroup.h"
#include "PanelParts.h"
#include "PositionGroup.h"
#include "SizeGroup.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

DlgBar::DlgBar(CKoravelDoc& doc) : CKindPanel(doc, QStringLiteral("棒图属性"), kTypeBar) {
    setObjectName(QStringLiteral("barPanel"));
    auto* show = new QGroupBox(QStringLiteral("显示"));
    QFormLayout* form = NewFormLayout(show);
    form->addRow(NewLimitPair(
        QStringLiteral("满额度值:"), QStringLiteral("upperLimit"), QStringLiteral("零额度值:"),
        QStringLiteral("lowerLimit"),
        {[](CGraphBase& element) -> std::int64_t& { return As(element).m_nUpperLimit; },
         [](CGraphBase& element) -> std::int64_t& { return As(element).m_nLowerLimit; },
         [](CGraphBase& element) { return As(element).GetValueRange(); },
         [](CGraphBase& element) { return As(element).m_nDataFormat; }}));
    form->addRow(QStringLiteral("方向:"),
                 NewChoice(
                     {QStringLiteral("向上"), QStringLiteral("向下"), QStringLiteral("向左"),
                      QStringLiteral("向右")},
                     QStringLiteral("direction"),
                     [](CGraphBase& element) { return As(element).m_nDrawDir; },
                     [](CGraphBase& element, int direction) {
                         As(element).SetDrawDir(direction);
                         ShiftInsidePanel(element);
                     }));

    auto* column = new QVBoxLayout(this);
    column->addWidget(NewPositionGroup());
    column->addWidget(NewSizeGroup());
    column->addWidget(
        NewAddressGroup(QStringLiteral("寄存器"), QStringLiteral("类型:"), QStringLiteral("reg"),
                        [](CGraphBase& element) -> CPLCAddress& { return As(element).m_Reg; }));
    column->addWidget(NewNumberFormatGroup(
        QStringLiteral("有符号"), [](CGraphBase& element) { return As(element).m_nDataFormat; },
        [](CGraphBase& element, int format) {
            CGEBar& bar = As(element);
            bar.m_nDataFormat = format;
            bar.NormalizeUpperLimit();
            bar.NormalizeLowerLimit();
        }));
    column->addWidget(show);
    column->addWidget(NewColourGroup(
        {{QStringLiteral("背景色:"), QStringLiteral("backColour"),
          [](CGraphBase& element) -> std::uint32_t& { return As(element).m_nBkColor; }},
         {QStringLiteral("前景色:"), QStringLiteral("foreColour"),
          [](CGraphBase& element) -> std::uint32_t& { return As(element).m_nForeColor; }}}));
    column->addStretch(1);
}
