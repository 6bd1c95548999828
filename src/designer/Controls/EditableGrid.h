#pragma once

#include <QPointer>
#include <QTableWidget>

#include <vector>

class QLineEdit;

// What the user may type into the cells of a grid column.
struct GridColumnRule {
    bool editable = false;
    int maxLength = 0; // 0: no limit
    bool numeric = false;
    bool hexadecimal = false; // at most 5 hexadecimal digits
};

// A grid whose cells the user types into. The header row holds the column titles; columns
// that are not editable act as the fixed header column: their cells never become current.
// All cells are centred.
//
// A click on a cell, Enter, or typing a character starts editing the current cell. Enter
// writes the cell; Tab and Right write it and go to the next cell (after the last one the
// focus goes on to the next control), Shift+Tab and Left to the previous one, Up and Down to
// the cell above and below; Escape abandons the edit. EditingEnded comes after every edit,
// telling whether the text was written into the cell.
class CEditableGrid : public QTableWidget {
    Q_OBJECT

public:
    explicit CEditableGrid(QWidget* parent = nullptr);

    void SetColumnRule(int column, const GridColumnRule& rule);

    // Sizes in twips (1/1440 inch), converted with the screen's pixels per inch.
    void SetColumnWidthTwips(int column, int twips);
    void SetRowHeightTwips(int twips); // the header row and every row

    // Writes a cell without reporting it.
    void SetCellText(int row, int column, const QString& text);
    QString GetCellText(int row, int column) const;

signals:
    void EditingEnded(bool written);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    class CellDelegate;

    GridColumnRule GetColumnRule(int column) const;
    bool IsEditable(int column) const;
    QModelIndex NextCell(const QModelIndex& from, int direction) const;
    void StartEditing(const QString& firstText);
    void MoveAfterEditing(CursorAction action);

    std::vector<GridColumnRule> m_rules;
    QPointer<QLineEdit> m_pEditor;
    bool m_written = false;
};
