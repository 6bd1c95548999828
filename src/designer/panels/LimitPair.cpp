#include "LimitPair.h"

#include <QFormLayout>

#include <algorithm>

CLimitPair::CLimitPair(const QString& upperLabel, const QString& upperName,
                       const QString& lowerLabel, const QString& lowerName, QWidget* parent)
    : QWidget(parent), m_upper(NewNumberField(upperName)), m_lower(NewNumberField(lowerName)) {
    QFormLayout* form = NewFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(upperLabel, m_upper.edit);
    form->addRow(lowerLabel, m_lower.edit);
    OnNumberEdited(m_upper.edit,
                   [this](std::int64_t value, bool typing) { OnUpper(value, typing); });
    OnNumberEdited(m_lower.edit,
                   [this](std::int64_t value, bool typing) { OnLower(value, typing); });
}

void CLimitPair::Show(std::int64_t upper, std::int64_t lower, ValueRange range, int dataFormat) {
    m_nUpper = upper;
    m_nLower = lower;
    m_range = range;
    const auto min = static_cast<double>(range.min);
    const auto max = static_cast<double>(range.max);
    m_upper.spin->Bind(min, max, 1, upper, EditFormat(dataFormat));
    m_lower.spin->Bind(min, max, 1, lower, EditFormat(dataFormat));
}

void CLimitPair::OnUpper(std::int64_t value, bool typing) {
    const std::int64_t upper = std::clamp(value, m_range.min, m_range.max);
    if (upper != value)
        CorrectTypedValue(m_upper.edit, upper);
    m_nUpper = upper;
    if (!typing && m_nLower >= m_nUpper) {
        m_nLower = std::max(m_nUpper - 1, m_range.min);
        m_lower.edit->SetValue(m_nLower);
    }
    emit LimitsChosen(m_nUpper, m_nLower);
}

void CLimitPair::OnLower(std::int64_t value, bool typing) {
    const std::int64_t lower = std::clamp(value, m_range.min, m_range.max);
    if (lower != value)
        CorrectTypedValue(m_lower.edit, lower);
    m_nLower = lower;
    if (!typing && m_nLower >= m_nUpper) {
        m_nUpper = std::min(m_nLower + 1, m_range.max);
        m_upper.edit->SetValue(m_nUpper);
    }
    emit LimitsChosen(m_nUpper, m_nLower);
}
