#include "PositionGroup.h"

#include "GraphBase.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

// The highest coordinate that keeps `size` inside `panel`; an element larger than the panel
// may still be put at 0 or 1.
int HighestPlace(int panel, int size) {
    return size > panel ? 1 : panel - size;
}

} // namespace

CPositionGroup::CPositionGroup(QWidget* parent)
    : QGroupBox(QStringLiteral("坐标"), parent), m_x(NewNumberField(QStringLiteral("positionX"))),
      m_y(NewNumberField(QStringLiteral("positionY"))) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 4, 6, 4);
    row->addWidget(new QLabel(QStringLiteral("X:")));
    row->addWidget(m_x.edit, 1);
    row->addSpacing(8);
    row->addWidget(new QLabel(QStringLiteral("Y:")));
    row->addWidget(m_y.edit, 1);
    OnNumberEdited(m_x.edit, [this](std::int64_t x, bool) { OnX(x); });
    OnNumberEdited(m_y.edit, [this](std::int64_t y, bool) { OnY(y); });
}

void CPositionGroup::Show(const CGraphBase& element) {
    m_nLeft = element.m_nLeft;
    m_nTop = element.m_nTop;
    m_nWidth = element.m_nWidth;
    m_nHeight = element.m_nHeight;
    m_x.spin->Bind(0, HighestPlace(kPanelWidth, m_nWidth), 1, m_nLeft, NumFormat::Dec);
    m_y.spin->Bind(0, HighestPlace(kPanelHeight, m_nHeight), 1, m_nTop, NumFormat::Dec);
}

void CPositionGroup::OnX(std::int64_t x) {
    if (x == m_nLeft)
        return;
    if (x > kPanelWidth - m_nWidth || x < 0) {
        x = 0;
        CorrectTypedValue(m_x.edit, x);
    }
    m_nLeft = static_cast<int>(x);
    emit LeftChosen(m_nLeft);
}

void CPositionGroup::OnY(std::int64_t y) {
    if (y == m_nTop)
        return;
    if (y > kPanelHeight - m_nHeight) {
        y = kPanelHeight - m_nHeight;
        CorrectTypedValue(m_y.edit, y);
    }
    if (y < 0) {
        y = 0;
        CorrectTypedValue(m_y.edit, y);
    }
    m_nTop = static_cast<int>(y);
    emit TopChosen(m_nTop);
}
