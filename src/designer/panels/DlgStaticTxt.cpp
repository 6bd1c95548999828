#include "DlgStaticTxt.h"

#include "ColourGroup.h"
#include "FontGroup.h"
#include "PanelParts.h"
#include "PositionGroup.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

namespace {

constexpr int kMaxTextLength = 32;

} // namespace

DlgStaticTxt::DlgStaticTxt(CKoravelDoc& doc)
    : CKindPanel(doc, QStringLiteral("静态文本属性"), kTypeStaticText), m_pText(new QLineEdit) {
    setObjectName(QStringLiteral("staticTextPanel"));
    m_pText->setObjectName(QStringLiteral("text"));
    m_pText->setMaxLength(kMaxTextLength);
    connect(m_pText, &QLineEdit::textEdited, this, &DlgStaticTxt::OnText);

    auto* fields = new QWidget;
    QFormLayout* form = NewFormLayout(fields);
    form->addRow(QStringLiteral("文字串:"), m_pText);
    form->addRow(NewFlag(
        QStringLiteral("背景"), QStringLiteral("background"),
        [](CGraphBase& element) { return element.m_nSameColor != 0; },
        [](CGraphBase& element, bool on) { element.m_nSameColor = on ? 1 : 0; }, true));

    auto* column = new QVBoxLayout(this);
    column->addWidget(NewPositionGroup());
    column->addWidget(fields);
    column->addWidget(NewFontGroup());
    column->addWidget(NewColourGroup(
        {{QStringLiteral("背景色:"), QStringLiteral("backColour"),
          [](CGraphBase& element) -> std::uint32_t& { return As(element).m_nBkColor; }},
         {QStringLiteral("前景色:"), QStringLiteral("foreColour"),
          [](CGraphBase& element) -> std::uint32_t& { return As(element).m_nForeColor; }}}));
    column->addStretch(1);
}

void DlgStaticTxt::ShowValues() {
    if (m_pText->text() != Bound().m_strText)
        m_pText->setText(Bound().m_strText);
}

void DlgStaticTxt::OnText(const QString& text) {
    if (!Element() || text == Bound().m_strText)
        return;
    Edit(QStringLiteral("text"), [text](CGraphBase& element) {
        As(element).SetText(text);
        if (element.m_nWidth <= kPanelWidth)
            ShiftInsidePanel(element);
    });
    // The text stays, so the user sees which characters are too many.
    if (Bound().m_nWidth > kPanelWidth)
        QMessageBox::warning(this, QStringLiteral("提示"),
                             QStringLiteral("文本越界,请删除部分字符串来适应屏幕尺寸!"));
}
