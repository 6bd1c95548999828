#include "NumEditCtrl.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

int Base(NumFormat format) {
    switch (format) {
    case NumFormat::Oct:
        return 8;
    case NumFormat::Hex:
        return 16;
    default:
        return 10;
    }
}

// Negative values keep their sign in every format, so every value shows and reads back alike.
QString FormatValue(std::int64_t value, NumFormat format) {
    const bool negative = value < 0;
    const auto magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const QString digits = QString::number(magnitude, Base(format)).toUpper();
    return negative ? QLatin1Char('-') + digits : digits;
}

// Leading digits of the format; no digits read as 0, too many saturate.
std::int64_t ParseValue(const QString& text, int base) {
    const QByteArray latin = text.toLatin1();
    return std::strtoll(latin.constData(), nullptr, base);
}

std::int64_t ToInt64(double value) {
    constexpr double kLimit = 9.2e18;
    if (value >= kLimit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value <= -kLimit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(value);
}

// An odd value made even: one less, as typed values are corrected, unless that leaves the
// range at an odd minimum.
std::int64_t EvenInside(std::int64_t value, std::int64_t minimum, std::int64_t maximum) {
    if (value - 1 >= minimum) {
        return value - 1;
    }
    return value + 1 <= maximum ? value + 1 : value;
}

} // namespace

CNumEditCtrl::CNumEditCtrl(QWidget* parent) : QLineEdit(parent) {
    // Every way of putting text in goes through the character check: typing and pasting do,
    // dropping and input methods are off.
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QLineEdit::textEdited, this,
            [this](const QString& text) { ReportValue(ParseValue(text, Base(m_format))); });
    SetValue(0);
}

void CNumEditCtrl::SetValue(std::int64_t value) {
    m_value = value;
    const QString text = FormatValue(value, m_format);
    if (text != this->text()) {
        setText(text);
    }
}

std::int64_t CNumEditCtrl::GetValue() {
    if (text().isEmpty()) {
        setText(QStringLiteral("0"));
    }
    return ParseValue(text(), Base(m_format));
}

void CNumEditCtrl::EnterValue(std::int64_t value) {
    const QString text = FormatValue(value, m_format);
    if (text != this->text()) {
        setText(text);
    }
    ReportValue(value);
}

void CNumEditCtrl::SetFormat(NumFormat format) {
    const std::int64_t value = GetValue();
    const int index = static_cast<int>(format);
    m_format = index >= 0 && index <= 3 ? format : NumFormat::Dec;
    SetValue(value);
}

void CNumEditCtrl::SetRange(double minimum, double maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
}

QString CNumEditCtrl::GetDecimalText() {
    return QString::number(GetValue());
}

void CNumEditCtrl::SetDecimalText(const QString& text) {
    SetValue(ParseValue(text, 10));
}

void CNumEditCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        PasteChecked(QClipboard::Clipboard);
        return;
    }
    const bool inserts = !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    const QString text = event->text();
    const bool refused = std::any_of(text.begin(), text.end(), [this](QChar c) {
        return c.unicode() > 31 && c.unicode() != 127 && !Fits(c);
    });
    if (inserts && refused) {
        Refuse();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CNumEditCtrl::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason) {
        return; // its own context menu
    }
    const std::int64_t maximum = ToInt64(std::floor(m_maximum));
    const std::int64_t minimum = ToInt64(std::ceil(m_minimum));
    const std::int64_t value = std::max(std::min(GetValue(), maximum), minimum);
    EnterValue(m_evenOnly && value % 2 != 0 ? EvenInside(value, minimum, maximum) : value);
    selectAll();
    // The selection waits for the focus to come back; a panel of edits that all show their
    // text selected would look as if they were all being edited.
    ShowSelection(false);
}

void CNumEditCtrl::focusInEvent(QFocusEvent* event) {
    ShowSelection(true);
    QLineEdit::focusInEvent(event);
}

void CNumEditCtrl::ShowSelection(bool shown) {
    QPalette colours = palette();
    const QPalette inherited =
        parentWidget() ? parentWidget()->palette() : QApplication::palette(this);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Highlight,
                         shown ? inherited.color(group, QPalette::Highlight)
                               : colours.color(group, QPalette::Base));
        colours.setColor(group, QPalette::HighlightedText,
                         shown ? inherited.color(group, QPalette::HighlightedText)
                               : colours.color(group, QPalette::Text));
    }
    setPalette(colours);
}

void CNumEditCtrl::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    if (auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, [this] { PasteChecked(QClipboard::Clipboard); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CNumEditCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection() &&
        !isReadOnly()) {
        PasteChecked(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

bool CNumEditCtrl::Fits(QChar c) const {
    const char16_t u = c.unicode();
    const bool digit = u >= '0' && u <= '9';
    switch (m_format) {
    case NumFormat::Oct:
        return u >= '0' && u <= '7';
    case NumFormat::Hex:
        return digit || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
    case NumFormat::DecSign:
        return digit || u == '-';
    default:
        return digit;
    }
}

void CNumEditCtrl::PasteChecked(QClipboard::Mode mode) {
    const QMimeData* data = QApplication::clipboard()->mimeData(mode);
    const QString text = data != nullptr && data->hasText() ? data->text() : QString();
    if (data == nullptr || !data->hasText() ||
        !std::all_of(text.begin(), text.end(), [this](QChar c) { return Fits(c); })) {
        Refuse();
        return;
    }
    if (mode == QClipboard::Selection) {
        deselect();
        insert(text);
    } else {
        paste();
    }
}

void CNumEditCtrl::Refuse() {
    QApplication::beep();
    emit InputRefused();
}

void CNumEditCtrl::ReportValue(std::int64_t value) {
    if (value == m_value) {
        return;
    }
    m_value = value;
    emit ValueEdited(value);
}
