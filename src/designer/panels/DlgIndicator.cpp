#include "DlgIndicator.h"

#include "AddressGroup.h"
#include "PanelParts.h"
#include "PositionGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>

DlgIndicator::DlgIndicator(CKoravelDoc& doc)
    : CKindPanel(doc, QStringLiteral("指示灯属性"), kTypeIndicator) {
    setObjectName(QStringLiteral("indicatorPanel"));
    auto* fields = new QWidget;
    QFormLayout* form = NewFormLayout(fields);
    form->addRow(NewFlag(
        QStringLiteral("倍增"), QStringLiteral("double"),
        [](CGraphBase& element) { return element.m_bDouble; },
        [](CGraphBase& element, bool on) { element.SetDouble(on); }));
    form->addRow(QStringLiteral("形状："),
                 NewChoice(
                     {QStringLiteral("圆形"), QStringLiteral("方形")}, QStringLiteral("shape"),
                     [](CGraphBase& element) { return As(element).m_nShape; },
                     [](CGraphBase& element, int shape) { As(element).m_nShape = shape; }));
    form->addRow(QStringLiteral("逻辑："),
                 NewChoice(
                     {QStringLiteral("正逻辑"), QStringLiteral("负逻辑")}, QStringLiteral("logic"),
                     [](CGraphBase& element) { return As(element).m_nLogic; },
                     [](CGraphBase& element, int logic) { As(element).m_nLogic = logic; }));

    auto* column = new QVBoxLayout(this);
    column->addWidget(NewPositionGroup());
    column->addWidget(NewAddressGroup(
        QStringLiteral("线圈"), QStringLiteral("寄存器类型:"), QStringLiteral("wire"),
        [](CGraphBase& element) -> CPLCAddress& { return As(element).m_Wire; }));
    column->addWidget(fields);
    column->addStretch(1);
}
