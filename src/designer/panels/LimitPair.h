#pragma once

#include "PanelParts.h"
#include "ValueRange.h"

#include <QWidget>

// Two limits of a register's value, each bounded by the register's value range: a typed value
// beyond the range becomes the nearer bound. When the lower limit is not below the upper one,
// the other limit gives way: after an upper-limit edit the lower becomes upper − 1, after a
// lower-limit edit the upper becomes lower + 1.
class CLimitPair : public QWidget {
    Q_OBJECT

public:
    // The labels ("满额度值:", ...) and the names of the two edits.
    CLimitPair(const QString& upperLabel, const QString& upperName, const QString& lowerLabel,
               const QString& lowerName, QWidget* parent = nullptr);

    void Show(std::int64_t upper, std::int64_t lower, ValueRange range, int dataFormat);

signals:
    void LimitsChosen(std::int64_t upper, std::int64_t lower);

private:
    void OnUpper(std::int64_t value, bool typing);
    void OnLower(std::int64_t value, bool typing);

    NumberField m_upper;
    NumberField m_lower;
    ValueRange m_range;
    std::int64_t m_nUpper = 0;
    std::int64_t m_nLower = 0;
};
