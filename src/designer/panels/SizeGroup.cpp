#include "SizeGroup.h"

#include "GraphBase.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

constexpr int kSmallestSide = 32;

} // namespace

CSizeGroup::CSizeGroup(QWidget* parent)
    : QGroupBox(QStringLiteral("尺寸"), parent),
      m_width(NewNumberField(QStringLiteral("sizeWidth"))),
      m_height(NewNumberField(QStringLiteral("sizeHeight"))) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 4, 6, 4);
    row->addWidget(new QLabel(QStringLiteral("宽:")));
    row->addWidget(m_width.edit, 1);
    row->addSpacing(8);
    row->addWidget(new QLabel(QStringLiteral("高:")));
    row->addWidget(m_height.edit, 1);
    OnNumberEdited(m_width.edit, [this](std::int64_t width, bool typing) {
        emit WidthChosen(Corrected(m_width.edit, width, kPanelWidth, typing));
    });
    OnNumberEdited(m_height.edit, [this](std::int64_t height, bool typing) {
        emit HeightChosen(Corrected(m_height.edit, height, kPanelHeight, typing));
    });
}

void CSizeGroup::Show(const CGraphBase& element) {
    m_width.spin->Bind(kSmallestSide, kPanelWidth, 1, element.m_nWidth, NumFormat::Dec);
    m_height.spin->Bind(kSmallestSide, kPanelHeight, 1, element.m_nHeight, NumFormat::Dec);
}

int CSizeGroup::Corrected(CNumEditCtrl* edit, std::int64_t value, int panel, bool typing) {
    if (value > panel) {
        value = panel;
        CorrectTypedValue(edit, value);
    } else if (value < kSmallestSide && !typing) {
        value = kSmallestSide;
        CorrectTypedValue(edit, value);
    }
    return static_cast<int>(value);
}
