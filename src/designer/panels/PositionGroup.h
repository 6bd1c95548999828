#pragma once

#include "PanelParts.h"

#include <QGroupBox>

class CGraphBase;

// "坐标": the element's X and Y, bounded by what its size leaves of the panel. A value that
// does not fit is corrected as the panel always did: X to 0, Y to the lowest place that fits.
class CPositionGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit CPositionGroup(QWidget* parent = nullptr);

    void Show(const CGraphBase& element);

signals:
    void LeftChosen(int left);
    void TopChosen(int top);

private:
    void OnX(std::int64_t x);
    void OnY(std::int64_t y);

    NumberField m_x;
    NumberField m_y;
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
};
