#include "ColourPopup.h"

#include "ColourRef.h"

#include <QApplication>
#include <QColorDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr std::uint32_t kAutomatic = 0xFF000000;
constexpr int kColumns = 8;
constexpr int kRows = 5;
constexpr int kBoxSize = 18;
constexpr int kDefaultCell = -1;
constexpr int kCustomCell = CColourPopup::kColourCount;
constexpr int kNoCell = -2;

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}

struct PaletteEntry {
    std::uint32_t colour;
    const char* name;
};

constexpr PaletteEntry kPalette[CColourPopup::kColourCount] = {
    {Rgb(0, 0, 0), "Black"},
    {Rgb(165, 42, 0), "Brown"},
    {Rgb(0, 64, 64), "Dark Olive Green"},
    {Rgb(0, 85, 0), "Dark Green"},
    {Rgb(0, 0, 94), "Dark Teal"},
    {Rgb(0, 0, 139), "Dark blue"},
    {Rgb(75, 0, 130), "Indigo"},
    {Rgb(40, 40, 40), "Dark grey"},
    {Rgb(139, 0, 0), "Dark red"},
    {Rgb(255, 104, 32), "Orange"},
    {Rgb(139, 139, 0), "Dark yellow"},
    {Rgb(0, 147, 0), "Green"},
    {Rgb(56, 142, 142), "Teal"},
    {Rgb(0, 0, 255), "Blue"},
    {Rgb(123, 123, 192), "Blue-grey"},
    {Rgb(102, 102, 102), "Grey - 40"},
    {Rgb(255, 0, 0), "Red"},
    {Rgb(255, 173, 91), "Light orange"},
    {Rgb(50, 205, 50), "Lime"},
    {Rgb(60, 179, 113), "Sea green"},
    {Rgb(127, 255, 212), "Aqua"},
    {Rgb(125, 158, 192), "Light blue"},
    {Rgb(128, 0, 128), "Violet"},
    {Rgb(127, 127, 127), "Grey - 50"},
    {Rgb(255, 192, 203), "Pink"},
    {Rgb(255, 215, 0), "Gold"},
    {Rgb(255, 255, 0), "Yellow"},
    {Rgb(0, 255, 0), "Bright green"},
    {Rgb(64, 224, 208), "Turquoise"},
    {Rgb(192, 255, 255), "Skyblue"},
    {Rgb(72, 0, 72), "Plum"},
    {Rgb(192, 192, 192), "Light grey"},
    {Rgb(255, 228, 225), "Rose"},
    {Rgb(210, 180, 140), "Tan"},
    {Rgb(255, 255, 224), "Light yellow"},
    {Rgb(152, 251, 152), "Pale green "},
    {Rgb(175, 238, 238), "Pale turquoise"},
    {Rgb(104, 131, 139), "Pale blue"},
    {Rgb(230, 230, 250), "Lavender"},
    {Rgb(255, 255, 255), "White"},
};

void PaintSwatch(QPainter& painter, const QRect& rect, std::uint32_t colour) {
    painter.setPen(QColor(0, 0, 0, 110));
    painter.setBrush(ColourRefToQColor(colour));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
}

} // namespace

// One box of the popup. The popup handles the mouse; a box only shows itself.
class CColourPopup::Box : public QWidget {
public:
    Box(CColourPopup* popup, int cell, const QString& text)
        : QWidget(popup), m_popup(popup), m_cell(cell), m_text(text) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    int Cell() const { return m_cell; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        if (m_popup->m_selected == m_cell) {
            QColor fill = palette().color(QPalette::Highlight);
            fill.setAlpha(48);
            painter.setPen(palette().color(QPalette::Highlight));
            painter.setBrush(fill);
            painter.drawRoundedRect(frame, 3, 3);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        if (m_cell >= 0 && m_cell < kColourCount) {
            PaintSwatch(painter, rect().adjusted(3, 3, -3, -3), kPalette[m_cell].colour);
            return;
        }
        QRect textRect = rect().adjusted(6, 0, -6, 0);
        if (m_cell == kDefaultCell) {
            const int side = kBoxSize - 6;
            const QRect swatch(textRect.left(), (height() - side) / 2, side, side);
            PaintSwatch(painter, swatch, m_popup->m_defaultColour);
            textRect.setLeft(swatch.right() + 1);
        }
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(textRect, Qt::AlignCenter, m_text);
    }

private:
    CColourPopup* m_popup;
    int m_cell;
    QString m_text;
};

CColourPopup::CColourPopup(QWidget* button, std::uint32_t colour, std::uint32_t defaultColour,
                           const QString& defaultText, const QString& customText)
    : QWidget(button, Qt::Popup | Qt::FramelessWindowHint), m_pButton(button),
      m_colourAtOpening(colour), m_defaultColour(defaultColour), m_selected(kNoCell) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    if (!defaultText.isEmpty()) {
        AddBox(kDefaultCell, "defaultBox", defaultText);
    }
    for (int i = 0; i < kColourCount; ++i) {
        AddBox(i, QStringLiteral("colourBox%1").arg(i), QString());
        m_boxes.back()->setToolTip(QString::fromLatin1(kPalette[i].name));
    }
    if (!customText.isEmpty()) {
        AddBox(kCustomCell, "customBox", customText);
    }
    LayOut();

    const auto inPalette = std::find_if(std::begin(kPalette), std::end(kPalette),
                                        [colour](const auto& e) { return e.colour == colour; });
    if (inPalette != std::end(kPalette)) {
        m_selected = static_cast<int>(inPalette - std::begin(kPalette));
        m_column = m_selected % kColumns;
    } else if (colour == kAutomatic && !defaultText.isEmpty()) {
        m_selected = kDefaultCell;
    } else if (!customText.isEmpty()) {
        m_selected = kCustomCell;
    }

    // Switching to another application abandons the choice.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive) {
                    EndCancel();
                }
            });
}

void CColourPopup::AddBox(int cell, const QString& name, const QString& text) {
    Box* box = new Box(this, cell, text);
    box->setObjectName(name);
    m_boxes.push_back(box);
}

void CColourPopup::LayOut() {
    const int margin = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) + 2;
    const int width = kColumns * kBoxSize;
    const int textHeight = fontMetrics().height() + 8;
    const int gap = 2;
    const bool hasDefault = m_boxes.front()->Cell() == kDefaultCell;
    const int coloursTop = margin + (hasDefault ? textHeight + gap : 0);
    const int coloursBottom = coloursTop + kRows * kBoxSize;
    int bottom = coloursBottom;
    for (Box* box : m_boxes) {
        const int cell = box->Cell();
        if (cell == kDefaultCell) {
            box->setGeometry(margin, margin, width, textHeight);
        } else if (cell == kCustomCell) {
            box->setGeometry(margin, coloursBottom + gap, width, textHeight);
            bottom = coloursBottom + gap + textHeight;
        } else {
            box->setGeometry(margin + cell % kColumns * kBoxSize,
                             coloursTop + cell / kColumns * kBoxSize, kBoxSize, kBoxSize);
        }
    }
    setFixedSize(width + 2 * margin, bottom + margin);
}

void CColourPopup::Popup(const QRect& anchor) {
    QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (screen == nullptr) {
        screen = m_pButton->screen();
    }
    const QRect area = screen->availableGeometry();
    QPoint pos(anchor.left(), anchor.bottom() + 1);
    if (pos.x() + width() > area.right() + 1) {
        pos.setX(area.right() + 1 - width());
    }
    if (pos.x() < area.left()) {
        pos.setX(area.left());
    }
    if (pos.y() + height() > area.bottom() + 1) {
        pos.setY(anchor.top() - height());
    }
    move(pos);
    show();
    setFocus(Qt::PopupFocusReason);
}

CColourPopup::Box* CColourPopup::BoxAt(const QPoint& pos) const {
    for (Box* box : m_boxes) {
        if (box->geometry().contains(pos)) {
            return box;
        }
    }
    return nullptr;
}

void CColourPopup::Select(int cell) {
    if (cell == m_selected) {
        return;
    }
    m_selected = cell;
    if (cell >= 0 && cell < kColourCount) {
        m_column = cell % kColumns;
    }
    for (Box* box : m_boxes) {
        box->update();
    }
    emit SelectionChanged(CellColour(cell));
}

// Left and right run through the boxes in reading order and wrap around.
void CColourPopup::MoveInRow(int direction) {
    const int count = static_cast<int>(m_boxes.size());
    const auto current = std::find_if(m_boxes.begin(), m_boxes.end(),
                                      [this](Box* box) { return box->Cell() == m_selected; });
    int index = current == m_boxes.end() ? (direction > 0 ? -1 : count)
                                         : static_cast<int>(current - m_boxes.begin());
    index = (index + direction + count) % count;
    Select(m_boxes[index]->Cell());
}

// Up and down run through the rows, the default box above the first and the custom box below
// the last, and wrap around; a colour row is entered at the column last used.
void CColourPopup::MoveAcrossRows(int direction) {
    std::vector<int> rowStarts; // the first cell of every row, top to bottom
    if (m_boxes.front()->Cell() == kDefaultCell) {
        rowStarts.push_back(kDefaultCell);
    }
    for (int row = 0; row < kRows; ++row) {
        rowStarts.push_back(row * kColumns);
    }
    if (m_boxes.back()->Cell() == kCustomCell) {
        rowStarts.push_back(kCustomCell);
    }
    const int count = static_cast<int>(rowStarts.size());
    int row = direction > 0 ? -1 : count;
    for (int i = 0; i < count; ++i) {
        const int start = rowStarts[static_cast<std::size_t>(i)];
        const bool colourRow = start >= 0 && start < kColourCount;
        if (m_selected == start ||
            (colourRow && m_selected >= start && m_selected < start + kColumns)) {
            row = i;
        }
    }
    row = (row + direction + count) % count;
    const int start = rowStarts[static_cast<std::size_t>(row)];
    Select(start >= 0 && start < kColourCount ? start + m_column : start);
}

std::uint32_t CColourPopup::CellColour(int cell) const {
    if (cell >= 0 && cell < kColourCount) {
        return kPalette[cell].colour;
    }
    return cell == kDefaultCell ? kAutomatic : m_colourAtOpening;
}

bool CColourPopup::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const Box* box = BoxAt(help->pos());
        if (box != nullptr && !box->toolTip().isEmpty()) {
            QToolTip::showText(help->globalPos(), box->toolTip(), this, box->geometry());
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

void CColourPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CColourPopup::mouseMoveEvent(QMouseEvent* event) {
    if (const Box* box = BoxAt(event->position().toPoint())) {
        Select(box->Cell());
    }
}

void CColourPopup::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (const Box* box = BoxAt(pos)) {
        Select(box->Cell());
        return;
    }
    // A press on the button closes the popup without opening it again.
    const QRect buttonArea(m_pButton->mapToGlobal(QPoint(0, 0)), m_pButton->size());
    if (!rect().contains(pos) && buttonArea.contains(event->globalPosition().toPoint())) {
        setAttribute(Qt::WA_NoMouseReplay);
    }
    QWidget::mousePressEvent(event); // a press outside closes the popup
}

void CColourPopup::mouseReleaseEvent(QMouseEvent* event) {
    if (rect().contains(event->position().toPoint())) {
        EndOk();
    } else {
        EndCancel();
    }
}

void CColourPopup::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        MoveInRow(-1);
        break;
    case Qt::Key_Right:
        MoveInRow(1);
        break;
    case Qt::Key_Up:
        MoveAcrossRows(-1);
        break;
    case Qt::Key_Down:
        MoveAcrossRows(1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EndOk();
        break;
    case Qt::Key_Escape:
        EndCancel();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CColourPopup::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    EndCancel(); // closed from outside; nothing when it has ended already
}

void CColourPopup::EndOk() {
    if (m_ended) {
        return;
    }
    if (m_selected == kNoCell) {
        EndCancel();
        return;
    }
    m_ended = true;
    hide();
    std::uint32_t colour = CellColour(m_selected);
    if (m_selected == kCustomCell) {
        const QPointer<CColourPopup> self(this);
        const std::uint32_t shown = colour == kAutomatic ? m_defaultColour : colour;
        const QColor chosen = QColorDialog::getColor(ColourRefToQColor(shown), m_pButton->window());
        if (self.isNull()) {
            return;
        }
        if (!chosen.isValid()) {
            emit SelectionCancelled(m_colourAtOpening);
            deleteLater();
            return;
        }
        colour = QColorToColourRef(chosen);
    }
    emit SelectionEnded(colour);
    deleteLater();
}

void CColourPopup::EndCancel() {
    if (m_ended) {
        return;
    }
    m_ended = true;
    hide();
    emit SelectionCancelled(m_colourAtOpening);
    deleteLater();
}
