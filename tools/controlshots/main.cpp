// controlshots OUTDIR: writes colorbutton.png, colourpopup.png, numedit.png and grid.png.
// Run it on the offscreen platform (QT_QPA_PLATFORM=offscreen) or on a display.

#include "ColorButton.h"
#include "ColourPopup.h"
#include "EditableGrid.h"
#include "NumEditCtrl.h"
#include "NumSpinCtrl.h"

#include <QApplication>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <cstdio>

namespace {

bool Save(QWidget* widget, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "controlshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

CColorButton* ColourField(QFormLayout* form, const QString& label, std::uint32_t colour) {
    auto* button = new CColorButton;
    button->SetColor(colour);
    form->addRow(label, button);
    return button;
}

CNumEditCtrl* NumberField(QFormLayout* form, const QString& label, double minimum, double maximum,
                          double step, std::int64_t value, NumFormat format) {
    auto* edit = new CNumEditCtrl;
    auto* spin = new CNumSpinCtrl(edit);
    spin->Bind(minimum, maximum, step, value, format);
    edit->setFixedWidth(90);
    form->addRow(label, edit);
    return edit;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: controlshots OUTDIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "controlshots: cannot create %s\n", argv[1]);
        return 1;
    }
    bool saved = true;

    QGroupBox colours("颜色");
    auto* colourForm = new QFormLayout(&colours);
    ColourField(colourForm, "背景色:", 0x0000FF);
    ColourField(colourForm, "前景色:", 0xFFFFFF);
    CColorButton* automatic = ColourField(colourForm, "线条色:", CColorButton::kAutomatic);
    ColourField(colourForm, "边框色:", 0x00D7FF)->setEnabled(false);
    colours.show();
    automatic->setFocus();
    QTest::qWait(50);
    saved &= Save(&colours, dir, "colorbutton.png");

    QTest::mouseClick(automatic, Qt::LeftButton);
    if (auto* popup = automatic->findChild<CColourPopup*>()) {
        QTest::mouseMove(popup, popup->findChild<QWidget*>("colourBox25")->geometry().center());
        QTest::qWait(50);
        saved &= Save(popup, dir, "colourpopup.png");
        QTest::keyClick(popup, Qt::Key_Escape);
    }

    QGroupBox numbers("坐标");
    auto* numberForm = new QFormLayout(&numbers);
    NumberField(numberForm, "X:", 0, 416, 1, 120, NumFormat::Dec);
    NumberField(numberForm, "地址:", 0, 0xFFFE, 2, 255, NumFormat::Hex);
    NumberField(numberForm, "下限:", -32768, 32767, 1, -100, NumFormat::DecSign);
    NumberField(numberForm, "站号:", 0, 0, 1, 0, NumFormat::Dec);
    numbers.show();
    QTest::qWait(50);
    saved &= Save(&numbers, dir, "numedit.png");

    QWidget texts;
    auto* textsLayout = new QVBoxLayout(&texts);
    auto* grid = new CEditableGrid;
    textsLayout->addWidget(grid);
    grid->setColumnCount(3);
    grid->setRowCount(256);
    grid->setHorizontalHeaderLabels({"序号", "数值", "内容"});
    grid->SetColumnRule(1, {true, 5, true, false});
    grid->SetColumnRule(2, {true, 255, false, false});
    grid->SetColumnWidthTwips(0, 500);
    grid->SetColumnWidthTwips(1, 600);
    grid->SetColumnWidthTwips(2, 2500);
    grid->SetRowHeightTwips(400);
    const QStringList contents = {"动态文字串", "运行", "停止", "故障"};
    for (int row = 0; row < 256; ++row) {
        grid->SetCellText(row, 0, QString::number(row + 1));
        grid->SetCellText(row, 1, row < contents.size() ? QString::asprintf("%5u", row) : "");
        grid->SetCellText(row, 2, row < contents.size() ? contents[row] : "");
    }
    texts.resize(300, 240);
    texts.show();
    QTest::qWait(50);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(2, 2)).center());
    QTest::qWait(50);
    saved &= Save(&texts, dir, "grid.png");
    return saved ? 0 : 1;
}
