#include "ColorButton.h"

#include "ColourPopup.h"
#include "ColourRef.h"

#include <QApplication>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

constexpr int kArrowWidth = 9;
constexpr int kSwatchWidth = 30;

} // namespace

CColorButton::CColorButton(QWidget* parent)
    : QPushButton(parent),
      // The workspace grey of the desktop stands for "no colour of its own".
      m_defaultColour(QColorToColourRef(QApplication::palette().color(QPalette::Mid))),
      m_defaultText(QStringLiteral("Automatic")), m_customText(QStringLiteral("More Colors...")) {
    connect(this, &QPushButton::clicked, this, &CColorButton::OpenPopup);
}

void CColorButton::SetColor(std::uint32_t colour) {
    m_colour = colour;
    update();
}

void CColorButton::SetDefaultColor(std::uint32_t colour) {
    m_defaultColour = colour;
    update();
}

QSize CColorButton::sizeHint() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const QSize content(kSwatchWidth + 8 + kArrowWidth, fontMetrics().height());
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, content, this);
}

QSize CColorButton::minimumSizeHint() const {
    return sizeHint();
}

void CColorButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    if (m_popupActive) {
        option.state |= QStyle::State_Sunken;
        option.state &= ~QStyle::State_Raised;
    }
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect content = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    QStyleOption arrow = option;
    arrow.rect =
        QRect(content.right() - kArrowWidth - 1, content.top(), kArrowWidth, content.height());
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrow);

    const int lineX = arrow.rect.left() - 4;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(lineX, content.top() + 2, lineX, content.bottom() - 2);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(lineX + 1, content.top() + 2, lineX + 1, content.bottom() - 2);

    if (!isEnabled()) {
        return;
    }
    const QRect swatch(content.left() + 3, content.top() + 3, lineX - content.left() - 6,
                       content.height() - 6);
    painter.setPen(Qt::black);
    painter.setBrush(ColourRefToQColor(m_colour == kAutomatic ? m_defaultColour : m_colour));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

void CColorButton::OpenPopup() {
    m_popupActive = true;
    update();
    auto* popup = new CColourPopup(this, m_colour, m_defaultColour, m_defaultText, m_customText);
    connect(popup, &CColourPopup::SelectionChanged, this, &CColorButton::OnPopupSelectionChanged);
    connect(popup, &CColourPopup::SelectionEnded, this, &CColorButton::OnPopupEnded);
    connect(popup, &CColourPopup::SelectionCancelled, this, &CColorButton::OnPopupCancelled);
    popup->Popup(QRect(mapToGlobal(QPoint(0, 0)), size()));
    emit PopupOpened(m_colour);
}

void CColorButton::OnPopupSelectionChanged(std::uint32_t colour) {
    if (m_trackSelection) {
        SetColor(colour);
    }
    emit SelectionChanged(colour);
}

void CColorButton::OnPopupEnded(std::uint32_t colour) {
    m_popupActive = false;
    const bool changed = colour != m_colour;
    SetColor(colour);
    emit PopupClosed(colour);
    emit SelectionEnded(colour);
    if (changed) {
        emit SelectionChanged(colour);
    }
}

void CColorButton::OnPopupCancelled(std::uint32_t colour) {
    m_popupActive = false;
    SetColor(colour);
    emit PopupClosed(colour);
    emit SelectionCancelled(colour);
}
