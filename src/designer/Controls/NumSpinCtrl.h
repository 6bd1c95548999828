#pragma once

#include "NumEditCtrl.h"

#include <QTimer>
#include <QWidget>

// The up-down buttons of a numeric edit. The spin lives inside its buddy edit at the right
// edge (so it is shown, moved and enabled with it); its buttons and the buddy's Up and Down keys
// step the buddy's value and wrap around at the ends. A step is a user change of the buddy
// (CNumEditCtrl::ValueEdited).
class CNumSpinCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CNumSpinCtrl(CNumEditCtrl* buddy);

    CNumEditCtrl* GetBuddy() const { return m_pBuddy; }

    // The buddy and the spin are enabled only when maximum and minimum differ: a panel that
    // disables the field for its own reasons does so after setting the range.
    void SetRange(double minimum, double maximum, double step = 1);

    // Writes the value into the buddy without reporting it.
    void SetValue(std::int64_t value);

    // The binding every panel uses: the buddy gets the same range and the format, and accepts
    // even values only when the step is even.
    void Bind(double minimum, double maximum, double step, std::int64_t value, NumFormat format);

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Step(int direction);
    void Repeat();
    void PlaceInBuddy();

    CNumEditCtrl* m_pBuddy;
    double m_minimum = 0;
    double m_maximum = 65535;
    double m_step = 1;
    int m_pressed = 0; // +1 up button, -1 down button, 0 none
    QTimer m_repeat;
};
