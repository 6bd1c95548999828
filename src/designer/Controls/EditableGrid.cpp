#include "EditableGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include <optional>

namespace {

constexpr double kTwipsPerInch = 1440.0;

bool IsDecimalDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool IsHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return IsDecimalDigit(c) || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

// A key that would put a character into a text, rather than move or edit.
bool TypesCharacter(const QKeyEvent* event) {
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).unicode() > 31 && text.at(0).unicode() != 127 &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
}

} // namespace

// Makes the edit box of a cell, centres every cell, shows the fixed columns like a header and
// handles the keys of the edit box.
class CEditableGrid::CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(CEditableGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setAlignment(Qt::AlignCenter);
        const int maxLength = m_grid->GetColumnRule(index.column()).maxLength;
        if (maxLength > 0) {
            editor->setMaxLength(maxLength);
        }
        m_grid->m_pEditor = editor;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* line = static_cast<QLineEdit*>(editor);
        line->setText(index.data(Qt::EditRole).toString());
        line->selectAll();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignCenter;
        if (!m_grid->IsEditable(index.column())) {
            option->backgroundBrush = option->palette.window();
        }
    }

    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QLineEdit*>(object);
        if (editor == nullptr || event->type() != QEvent::KeyPress) {
            return QStyledItemDelegate::eventFilter(object, event);
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        std::optional<CursorAction> move;
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Right:
            move = MoveNext;
            break;
        case Qt::Key_Backtab:
        case Qt::Key_Left:
            move = MovePrevious;
            break;
        case Qt::Key_Up:
            move = MoveUp;
            break;
        case Qt::Key_Down:
            move = MoveDown;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            break;
        default:
            if (Refused(editor, key)) {
                return true;
            }
            return QStyledItemDelegate::eventFilter(object, event); // Escape abandons
        }
        emit commitData(editor);
        emit closeEditor(editor, NoHint);
        if (move) {
            m_grid->MoveAfterEditing(*move);
        }
        return true;
    }

private:
    // A hexadecimal cell takes hexadecimal digits only, at most five.
    bool Refused(const QLineEdit* editor, const QKeyEvent* key) const {
        if (!TypesCharacter(key) ||
            !m_grid->GetColumnRule(m_grid->currentIndex().column()).hexadecimal) {
            return false;
        }
        const auto kept = editor->text().size() - editor->selectedText().size();
        return kept > 4 || !IsHexDigit(key->text().at(0));
    }

    CEditableGrid* m_grid;
};

CEditableGrid::CEditableGrid(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new CellDelegate(this));
    setEditTriggers(NoEditTriggers); // editing starts only as described above
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setTabKeyNavigation(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
}

void CEditableGrid::SetColumnRule(int column, const GridColumnRule& rule) {
    if (column < 0) {
        return;
    }
    if (static_cast<std::size_t>(column) >= m_rules.size()) {
        m_rules.resize(static_cast<std::size_t>(column) + 1);
    }
    m_rules[static_cast<std::size_t>(column)] = rule;
    viewport()->update();
}

GridColumnRule CEditableGrid::GetColumnRule(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= m_rules.size()) {
        return {};
    }
    return m_rules[static_cast<std::size_t>(column)];
}

void CEditableGrid::SetColumnWidthTwips(int column, int twips) {
    setColumnWidth(column, qRound(twips * logicalDpiX() / kTwipsPerInch));
}

void CEditableGrid::SetRowHeightTwips(int twips) {
    const int pixels = qRound(twips * logicalDpiY() / kTwipsPerInch);
    QHeaderView* rows = verticalHeader();
    rows->setMinimumSectionSize(std::min(pixels, rows->minimumSectionSize()));
    rows->setDefaultSectionSize(pixels);
    horizontalHeader()->setFixedHeight(pixels);
}

void CEditableGrid::SetCellText(int row, int column, const QString& text) {
    if (QTableWidgetItem* cell = item(row, column)) {
        cell->setText(text);
    } else {
        setItem(row, column, new QTableWidgetItem(text));
    }
}

QString CEditableGrid::GetCellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell != nullptr ? cell->text() : QString();
}

QModelIndex CEditableGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = currentIndex();
    switch (action) {
    case MoveNext:
    case MoveRight:
        return NextCell(current, 1);
    case MovePrevious:
    case MoveLeft:
        return NextCell(current, -1);
    default:
        break;
    }
    const QModelIndex moved = QTableWidget::moveCursor(action, modifiers);
    if (!moved.isValid() || IsEditable(moved.column())) {
        return moved;
    }
    // Home and End may land in a fixed column: take the row's first editable cell.
    for (int column = 0; column < columnCount(); ++column) {
        if (IsEditable(column)) {
            return model()->index(moved.row(), column);
        }
    }
    return current;
}

void CEditableGrid::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    const bool editable = current.isValid() && IsEditable(current.column());
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (editable) {
            edit(current);
        }
        return;
    }
    if (!TypesCharacter(event)) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    const QChar typed = event->text().at(0);
    const GridColumnRule rule = GetColumnRule(current.column());
    if (!editable ||
        (rule.numeric && !(rule.hexadecimal ? IsHexDigit(typed) : IsDecimalDigit(typed)))) {
        return;
    }
    StartEditing(QString(typed).toUpper());
}

void CEditableGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && !IsEditable(index.column())) {
        setFocus(Qt::MouseFocusReason); // ends an edit elsewhere; a fixed cell is never current
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void CEditableGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableWidget::mouseReleaseEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && index == currentIndex() &&
        IsEditable(index.column()) && state() != EditingState) {
        edit(index);
    }
}

void CEditableGrid::commitData(QWidget* editor) {
    QTableWidget::commitData(editor);
    if (editor == m_pEditor) {
        m_written = true;
    }
}

void CEditableGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool current = editor != nullptr && editor == m_pEditor;
    QTableWidget::closeEditor(editor, hint);
    if (!current) {
        return;
    }
    const bool written = m_written;
    m_pEditor = nullptr;
    m_written = false;
    emit EditingEnded(written);
}

bool CEditableGrid::IsEditable(int column) const {
    return GetColumnRule(column).editable;
}

// The next editable cell in reading order (`direction` 1) or the previous one (-1); invalid
// past the first or last cell.
QModelIndex CEditableGrid::NextCell(const QModelIndex& from, int direction) const {
    const int columns = columnCount();
    const int cells = rowCount() * columns;
    int position =
        from.isValid() ? from.row() * columns + from.column() : (direction > 0 ? -1 : cells);
    for (position += direction; position >= 0 && position < cells; position += direction) {
        if (IsEditable(position % columns)) {
            return model()->index(position / columns, position % columns);
        }
    }
    return {};
}

void CEditableGrid::StartEditing(const QString& firstText) {
    edit(currentIndex());
    if (m_pEditor != nullptr) {
        m_pEditor->setText(firstText);
    }
}

void CEditableGrid::MoveAfterEditing(CursorAction action) {
    const QModelIndex next = moveCursor(action, Qt::NoModifier);
    if (next.isValid()) {
        setCurrentIndex(next);
    } else if (action == MoveNext || action == MovePrevious) {
        QWidget::focusNextPrevChild(action == MoveNext);
    }
}
