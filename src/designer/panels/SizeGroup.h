#pragma once

#include "PanelParts.h"

#include <QGroupBox>

class CGraphBase;

// "尺寸": the element's width and height, from 32 up to the panel's size. A width above the
// panel's becomes the panel's; one below 32 becomes 32 when the typing ends.
class CSizeGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit CSizeGroup(QWidget* parent = nullptr);

    void Show(const CGraphBase& element);

signals:
    void WidthChosen(int width);
    void HeightChosen(int height);

private:
    static int Corrected(CNumEditCtrl* edit, std::int64_t value, int panel, bool typing);

    NumberField m_width;
    NumberField m_height;
};
