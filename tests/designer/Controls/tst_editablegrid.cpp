#include "EditableGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

constexpr int kRows = 4;

// A dialog-like window: a control before the grid, the grid of a text list (a fixed number
// column, a numeric value column, a text column) and a control after it.
struct Window {
    explicit Window(bool hexValues = false, int textLength = 255)
        : before(new QLineEdit(&widget)), grid(new CEditableGrid(&widget)),
          after(new QPushButton("OK", &widget)) {
        auto* layout = new QVBoxLayout(&widget);
        layout->addWidget(before);
        layout->addWidget(grid);
        layout->addWidget(after);
        grid->setColumnCount(3);
        grid->setRowCount(kRows);
        grid->setHorizontalHeaderLabels({"序号", "数值", "内容"});
        grid->SetColumnRule(1, {true, 5, true, hexValues});
        grid->SetColumnRule(2, {true, textLength, false, false});
        grid->SetColumnWidthTwips(0, 500);
        grid->SetColumnWidthTwips(1, 600);
        grid->SetColumnWidthTwips(2, 2500);
        grid->SetRowHeightTwips(400);
        for (int row = 0; row < kRows; ++row) {
            grid->SetCellText(row, 0, QString::number(row + 1));
            grid->SetCellText(row, 1, QString::number(row * 10));
            grid->SetCellText(row, 2, QStringLiteral("text %1").arg(row + 1));
        }
        widget.resize(400, 300);
        widget.show();
        widget.activateWindow();
    }

    bool Ready() { return QTest::qWaitForWindowActive(&widget); }

    // The edit box over the cell being edited; null when none is open.
    QLineEdit* Editor() const {
        for (QLineEdit* edit : grid->viewport()->findChildren<QLineEdit*>()) {
            if (edit->isVisible()) {
                return edit;
            }
        }
        return nullptr;
    }

    QPoint CellCentre(int row, int column) const {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }

    void Click(int row, int column) const {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(row, column));
    }

    QPoint Current() const { return {grid->currentRow(), grid->currentColumn()}; }

    QWidget widget;
    QLineEdit* before;
    CEditableGrid* grid;
    QPushButton* after;
};

// Types as a user does: every key goes to the widget that has the focus at the time.
void TypeIntoFocus(const QString& text) {
    for (QChar c : text) {
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
}

} // namespace

class EditableGridTest : public QObject {
    Q_OBJECT

private slots:
    void sizesComeInTwips() {
        Window window;
        const double dpiX = window.grid->logicalDpiX();
        const double dpiY = window.grid->logicalDpiY();
        QCOMPARE(window.grid->columnWidth(0), qRound(500 * dpiX / 1440));
        QCOMPARE(window.grid->columnWidth(2), qRound(2500 * dpiX / 1440));
        QCOMPARE(window.grid->rowHeight(kRows - 1), qRound(400 * dpiY / 1440));
        QCOMPARE(window.grid->horizontalHeader()->height(), qRound(400 * dpiY / 1440));
    }

    void clickEditsTheCellWithItsTextSelected() {
        Window window;
        QVERIFY(window.Ready());
        QSignalSpy ended(window.grid, &CEditableGrid::EditingEnded);
        window.Click(1, 2);
        QLineEdit* editor = window.Editor();
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->text(), "text 2");
        QCOMPARE(editor->selectedText(), "text 2");
        QVERIFY(editor->hasFocus());

        QTest::keyClicks(editor, "new");
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(window.grid->GetCellText(1, 2), "new");
        QCOMPARE(window.Editor(), nullptr);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).toBool(), true);
    }

    void fixedColumnIsNeverEdited() {
        Window window;
        QVERIFY(window.Ready());
        window.Click(2, 1);
        QTest::keyClick(window.Editor(), Qt::Key_Escape);
        window.Click(3, 0);
        QCOMPARE(window.Editor(), nullptr);
        QCOMPARE(window.Current(), QPoint(2, 1));
    }

    void escapeAbandonsTheEdit() {
        Window window;
        QVERIFY(window.Ready());
        QSignalSpy ended(window.grid, &CEditableGrid::EditingEnded);
        window.Click(0, 2);
        QTest::keyClicks(window.Editor(), "lost");
        QTest::keyClick(window.Editor(), Qt::Key_Escape);
        QCOMPARE(window.grid->GetCellText(0, 2), "text 1");
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).toBool(), false);
    }

    void clickingElsewhereWritesTheCell() {
        Window window;
        QVERIFY(window.Ready());
        QSignalSpy ended(window.grid, &CEditableGrid::EditingEnded);
        window.Click(0, 2);
        QTest::keyClicks(window.Editor(), "kept");
        window.Click(3, 2);
        QCOMPARE(window.grid->GetCellText(0, 2), "kept");
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).toBool(), true);
    }

    // The keys move over the editable cells in reading order; while editing they write the
    // cell first.
    void keysMoveBetweenCells_data() {
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QPoint>("to");
        for (bool editing : {false, true}) {
            const char* how = editing ? "editing" : "browsing";
            QTest::addRow("%s: tab to the next column", how)
                << editing << QPoint(0, 1) << int(Qt::Key_Tab) << QPoint(0, 2);
            QTest::addRow("%s: tab to the next row, past the fixed column", how)
                << editing << QPoint(0, 2) << int(Qt::Key_Tab) << QPoint(1, 1);
            QTest::addRow("%s: right to the next row", how)
                << editing << QPoint(1, 2) << int(Qt::Key_Right) << QPoint(2, 1);
            QTest::addRow("%s: shift-tab back a row", how)
                << editing << QPoint(1, 1) << int(Qt::Key_Backtab) << QPoint(0, 2);
            QTest::addRow("%s: left", how)
                << editing << QPoint(2, 2) << int(Qt::Key_Left) << QPoint(2, 1);
            QTest::addRow("%s: up", how)
                << editing << QPoint(2, 2) << int(Qt::Key_Up) << QPoint(1, 2);
            QTest::addRow("%s: down", how)
                << editing << QPoint(1, 1) << int(Qt::Key_Down) << QPoint(2, 1);
        }
    }

    void keysMoveBetweenCells() {
        QFETCH(bool, editing);
        QFETCH(QPoint, from);
        QFETCH(int, key);
        QFETCH(QPoint, to);
        Window window;
        QVERIFY(window.Ready());
        QSignalSpy ended(window.grid, &CEditableGrid::EditingEnded);
        window.grid->setFocus();
        window.grid->setCurrentCell(from.x(), from.y());
        QWidget* target = window.grid;
        if (editing) {
            QTest::keyClick(window.grid, Qt::Key_Return);
            target = window.Editor();
            QTest::keyClicks(target, "9");
        }
        QTest::keyClick(target, static_cast<Qt::Key>(key));
        QCOMPARE(window.Current(), to);
        QCOMPARE(window.Editor(), nullptr);
        QCOMPARE(ended.count(), editing ? 1 : 0);
        if (editing) {
            QCOMPARE(window.grid->GetCellText(from.x(), from.y()), "9");
        }
    }

    void tabAfterTheLastCellLeavesTheGrid_data() {
        QTest::addColumn<bool>("editing");
        QTest::newRow("browsing") << false;
        QTest::newRow("editing") << true;
    }

    void tabAfterTheLastCellLeavesTheGrid() {
        QFETCH(bool, editing);
        Window window;
        QVERIFY(window.Ready());
        window.grid->setFocus();
        window.grid->setCurrentCell(kRows - 1, 2);
        if (editing) {
            QTest::keyClick(window.grid, Qt::Key_Return);
            QTest::keyClick(window.Editor(), Qt::Key_Tab);
        } else {
            QTest::keyClick(window.grid, Qt::Key_Tab);
        }
        QVERIFY(window.after->hasFocus());
    }

    void enterStartsEditingTheCurrentCell() {
        Window window;
        QVERIFY(window.Ready());
        window.grid->setFocus();
        window.grid->setCurrentCell(2, 1);
        QTest::keyClick(window.grid, Qt::Key_Return);
        QVERIFY(window.Editor() != nullptr);
        QCOMPARE(window.Editor()->text(), "20");
    }

    void typingStartsEditing_data() {
        QTest::addColumn<bool>("hexValues");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("edited"); // empty: no edit started
        QTest::newRow("text column, letters in upper case") << false << 2 << "a"
                                                            << "A";
        QTest::newRow("numeric column, a digit") << false << 1 << "5"
                                                 << "5";
        QTest::newRow("numeric column, a letter") << false << 1 << "a"
                                                  << "";
        QTest::newRow("hex column, a hex letter") << true << 1 << "b"
                                                  << "B";
        QTest::newRow("hex column, another letter") << true << 1 << "g"
                                                    << "";
    }

    void typingStartsEditing() {
        QFETCH(bool, hexValues);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, edited);
        Window window(hexValues);
        QVERIFY(window.Ready());
        window.grid->setFocus();
        window.grid->setCurrentCell(1, column);
        QTest::keyClicks(window.grid, typed);
        QCOMPARE(window.Editor() != nullptr, !edited.isEmpty());
        if (!edited.isEmpty()) {
            QCOMPARE(window.Editor()->text(), edited);
        }
    }

    void hexCellTakesFiveHexDigits() {
        Window window(true);
        QVERIFY(window.Ready());
        window.grid->SetColumnRule(1, {true, 0, true, true}); // no length limit of its own
        window.Click(0, 1);
        QTest::keyClicks(window.Editor(), "12xab3F4");
        QCOMPARE(window.Editor()->text(), "12ab3");
        window.Editor()->selectAll();
        QTest::keyClicks(window.Editor(), "C");
        QCOMPARE(window.Editor()->text(), "C");
    }

    void columnLengthLimitsTheEdit() {
        Window window(false, 3);
        QVERIFY(window.Ready());
        window.grid->setFocus();
        window.grid->setCurrentCell(0, 2);
        TypeIntoFocus("abcd");
        QTest::keyClick(window.Editor(), Qt::Key_Return);
        QCOMPARE(window.grid->GetCellText(0, 2), "Abc");
    }
};

QTEST_MAIN(EditableGridTest)
#include "tst_editablegrid.moc"
