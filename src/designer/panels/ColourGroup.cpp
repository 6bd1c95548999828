#include "ColourGroup.h"

#include "ColorButton.h"

#include <QGridLayout>
#include <QLabel>

CColorButton* NewColourButton(const QString& name) {
    auto* button = new CColorButton;
    button->setObjectName(name);
    return button;
}

CColourGroup::CColourGroup(QWidget* parent)
    : QGroupBox(QStringLiteral("颜色"), parent), m_pGrid(new QGridLayout(this)) {
    m_pGrid->setContentsMargins(6, 4, 6, 4);
    m_pGrid->setHorizontalSpacing(6);
    m_pGrid->setColumnStretch(1, 1);
    m_pGrid->setColumnStretch(3, 1);
}

int CColourGroup::AddColour(const QString& label, const QString& name) {
    const int index = static_cast<int>(m_buttons.size());
    CColorButton* button = NewColourButton(name);
    m_pGrid->addWidget(new QLabel(label), index / 2, (index % 2) * 2);
    m_pGrid->addWidget(button, index / 2, (index % 2) * 2 + 1);
    connect(button, &CColorButton::SelectionEnded, this,
            [this, index](std::uint32_t colour) { emit ColourChosen(index, colour); });
    m_buttons.push_back(button);
    return index;
}

void CColourGroup::Show(int index, std::uint32_t colour) {
    m_buttons[static_cast<std::size_t>(index)]->SetColor(colour);
}
