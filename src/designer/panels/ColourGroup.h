#pragma once

#include <QGroupBox>

#include <cstdint>
#include <vector>

class CColorButton;
class QGridLayout;

// "颜色": the colour buttons of a panel, two to a row. A colour chosen in a popup is reported
// at once.
class CColourGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit CColourGroup(QWidget* parent = nullptr);

    // A button labelled `label` ("背景色:", "前景色:", ...) named `name`; its index.
    int AddColour(const QString& label, const QString& name);
    void Show(int index, std::uint32_t colour);

signals:
    void ColourChosen(int index, std::uint32_t colour);

private:
    QGridLayout* m_pGrid;
    std::vector<CColorButton*> m_buttons;
};

// A colour button as every panel makes it, named `name`.
CColorButton* NewColourButton(const QString& name);
