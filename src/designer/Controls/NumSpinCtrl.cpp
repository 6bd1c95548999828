#include "NumSpinCtrl.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionSpinBox>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 60;
constexpr double kTolerance = 1e-9; // relative, so a range in real numbers ends where it says

} // namespace

CNumSpinCtrl::CNumSpinCtrl(CNumEditCtrl* buddy) : QWidget(buddy), m_pBuddy(buddy) {
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    connect(&m_repeat, &QTimer::timeout, this, &CNumSpinCtrl::Repeat);
    buddy->installEventFilter(this);
    PlaceInBuddy();
    show();
}

void CNumSpinCtrl::SetRange(double minimum, double maximum, double step) {
    m_minimum = minimum;
    m_maximum = maximum;
    m_step = step;
    m_pBuddy->setEnabled(maximum != minimum);
}

void CNumSpinCtrl::SetValue(std::int64_t value) {
    m_pBuddy->SetValue(value);
}

void CNumSpinCtrl::Bind(double minimum, double maximum, double step, std::int64_t value,
                        NumFormat format) {
    SetRange(minimum, maximum, step);
    m_pBuddy->SetRange(minimum, maximum);
    m_pBuddy->SetFormat(format);
    m_pBuddy->SetEvenOnly(step != 0 && std::fmod(step, 2.0) == 0);
    SetValue(value);
}

QSize CNumSpinCtrl::sizeHint() const {
    // As wide as the buttons of the style's own spin box.
    QStyleOptionSpinBox option;
    option.initFrom(m_pBuddy);
    option.rect = QRect(0, 0, 100, m_pBuddy->height());
    option.frame = true;
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    const QRect up = style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp);
    return QSize(std::max(up.width(), 12), m_pBuddy->height());
}

bool CNumSpinCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_pBuddy) {
        return false;
    }
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::StyleChange:
        PlaceInBuddy();
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

void CNumSpinCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int half = height() / 2;
    const QRect up(0, 0, width(), half);
    const QRect down(0, half, width(), height() - half);
    if (m_pressed != 0) {
        QColor pressed = palette().color(QPalette::Highlight);
        pressed.setAlpha(60);
        painter.fillRect(m_pressed > 0 ? up : down, pressed);
    }
    painter.setPen(palette().color(QPalette::Midlight));
    painter.drawLine(0, 2, 0, height() - 3);

    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = up.adjusted(3, 2, -2, 0);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowUp, &arrow, &painter, this);
    arrow.rect = down.adjusted(3, 0, -2, -2);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
}

void CNumSpinCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_pressed = event->position().y() < height() / 2 ? 1 : -1;
    update();
    Step(m_pressed);
    m_repeat.start(kFirstRepeatMs);
}

void CNumSpinCtrl::mouseReleaseEvent(QMouseEvent*) {
    m_repeat.stop();
    m_pressed = 0;
    update();
}

// Up adds the step, down subtracts it; beyond one end the value continues at the other.
void CNumSpinCtrl::Step(int direction) {
    const double low = std::min(m_minimum, m_maximum);
    const double high = std::max(m_minimum, m_maximum);
    const double value = std::clamp(static_cast<double>(m_pBuddy->GetValue()), low, high);
    double next = value + direction * m_step;
    if (next > m_maximum + std::abs(m_maximum) * kTolerance) {
        next = m_minimum;
    } else if (next < m_minimum - std::abs(m_minimum) * kTolerance) {
        next = m_maximum;
    }
    m_pBuddy->EnterValue(std::llround(next));
}

void CNumSpinCtrl::Repeat() {
    m_repeat.setInterval(kRepeatMs);
    if (m_pressed != 0) {
        Step(m_pressed);
    }
}

void CNumSpinCtrl::PlaceInBuddy() {
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_pBuddy);
    const int width = sizeHint().width();
    setGeometry(m_pBuddy->width() - frame - width, frame, width, m_pBuddy->height() - 2 * frame);
    m_pBuddy->setTextMargins(0, 0, width, 0);
}
