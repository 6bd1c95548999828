#pragma once

// What the property panel tests share: a catalog with small, predictable PLC descriptions, a
// document with its form view, and the user's gestures on the panels' controls.

#include "ColorButton.h"
#include "ColourPopup.h"
#include "EditableGrid.h"
#include "KoravelDoc.h"
#include "KoravelFormView.h"
#include "NumEditCtrl.h"
#include "PLCFactory.h"
#include "Scramble.h"
#include "TextFont.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <memory>

namespace panels {

// PLC 1 of the test catalog: a station from 1 to 31; bits X (read only, 0 to 377) and M, a
// word-bit type W with a shift; byte registers B, 16-bit registers D counted 1 or 2, read-only
// registers R; alarm bits X and M. The local description offers LW, as the shipped one does.
inline const char kTestCatalog[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Drivers SoftVersion="1.0"><PLCS>
<PLC ID="0" Name="Local" PTCFile="" Verison="0">
  <Regs>
    <Reg TypeName="LW" TypeValue="0x70" BitWidth="2" AddrInc="1" OptMode="OM_READWRITE">
      <Addr Visible="true" DataFormat="DEC" MinValue="0" MaxValue="1023" IncDelta="1"/>
      <RegNum RegNumList="1"/>
    </Reg>
  </Regs>
</PLC>
<PLC ID="1" Name="Test PLC" PTCFile="1-TEST.bin" Verison="1">
  <Station Visible="true" DataFormat="DEC" MinValue="1" MaxValue="31" DefaultValue="1"/>
  <Display Visible="false" DataFormat="DEC" MinValue="0" MaxValue="255" DefaultValue="0"/>
  <Wires>
    <Wire TypeName="X" TypeValue="10H" BitWidth="1" AddrInc="1" OptMode="OM_READ">
      <Addr Visible="true" DataFormat="DEC" MinValue="0" MaxValue="377" IncDelta="1"/>
    </Wire>
    <Wire TypeName="M" TypeValue="12H" BitWidth="1" AddrInc="1" OptMode="OM_READWRITE">
      <Addr Visible="true" DataFormat="DEC" MinValue="0" MaxValue="7679" IncDelta="1"/>
    </Wire>
    <Wire TypeName="W" TypeValue="13H" BitWidth="1" AddrInc="1" OptMode="OM_READWRITE">
      <Addr Visible="true" DataFormat="DEC" MinValue="0" MaxValue="999" IncDelta="1"/>
      <SubAddr Visible="false" DataFormat="DEC" MinValue="0" MaxValue="0" IncDelta="1"/>
      <ShiftAddr Visible="true" DataFormat="HEX" MinValue="0" MaxValue="F" IncDelta="1"/>
    </Wire>
  </Wires>
  <Regs>
    <Reg TypeName="B" TypeValue="20H" BitWidth="1" AddrInc="1" OptMode="OM_READWRITE">
      <Addr Visible="true" DataFormat="DEC" MinValue="0" MaxValue="255" IncDelta="1"/>
      <RegNum RegNumList="1"/>
    </Reg>
    <Reg TypeName="D" TypeValue="21H" BitWidth="2" AddrInc="1" OptMode="OM_READWRITE">
      <Addr Visible="true" DataFormat="DEC" MinValue="0" MaxValue="7999" IncDelta="1"/>
      <RegNum RegNumList="1|2"/>
    </Reg>
    <Reg TypeName="R" TypeValue="22H" BitWidth="2" AddrInc="1" OptMode="OM_READ">
      <Addr Visible="true" DataFormat="DEC" MinValue="0" MaxValue="99" IncDelta="1"/>
      <RegNum RegNumList="1"/>
    </Reg>
  </Regs>
  <AlarmList>
    <Wire TypeName="X" TypeValue="10H" BitWidth="1" AddrInc="1" OptMode="OM_READ">
      <Addr Visible="true" DataFormat="DEC" MinValue="0" MaxValue="377" IncDelta="1"/>
    </Wire>
    <Wire TypeName="M" TypeValue="12H" BitWidth="1" AddrInc="1" OptMode="OM_READ">
      <Addr Visible="true" DataFormat="DEC" MinValue="0" MaxValue="7679" IncDelta="1"/>
    </Wire>
  </AlarmList>
</PLC>
</PLCS></Drivers>
)";

inline const CPLCFactory& TestCatalog() {
    static CPLCFactory catalog;
    static const bool loaded = [] {
        QByteArray bytes(kTestCatalog);
        XorScramble(bytes);
        return catalog.ReadCatalog(bytes);
    }();
    Q_ASSERT(loaded);
    return catalog;
}

inline const CPLCEntity* TestPlc() {
    return TestCatalog().GetPLC(1);
}

inline QString Saved(const CKoravelDoc& doc) {
    return doc.Project().SaveXmlText(QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
}

// A new project of the test PLC shown in the form view, its history empty and clean.
struct Window {
    Window() : doc(TestCatalog()), view(doc) {
        doc.NewProject(TestPlc(), CCommPara());
        doc.UndoStack().setClean();
        view.resize(900, 900);
        view.show();
    }

    // Puts `element` into the current frame at `rect` without a command, as a loaded project
    // holds it, and selects it.
    template <typename T> T* Add(std::unique_ptr<T> element, const QRect& rect) {
        element->SetRect(rect);
        T* added = element.get();
        doc.CurrentFrame()->AddElement(std::move(element));
        doc.UndoStack().setClean();
        doc.SetSelection({added});
        return added;
    }

    QWidget* Panel() const { return view.ShownPanel(); }

    template <typename W = QWidget> W* Find(const QString& name) const {
        W* found = Panel() ? Panel()->findChild<W*>(name) : nullptr;
        Q_ASSERT_X(found, "Find", qPrintable(name));
        return found;
    }

    CKoravelDoc doc;
    CKoravelFormView view;
};

// The user replaces the text of `edit` with `text` by typing and presses Enter.
inline void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// The user clicks a check box or a radio button on its mark.
inline void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// The user types `text`, any characters, into `widget`.
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The user steps through a closed drop-down list with the arrow keys up to `index`.
inline void Choose(QComboBox* list, int index) {
    while (list->currentIndex() < index)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > index)
        QTest::keyClick(list, Qt::Key_Up);
}

// The user types `text` into a cell of `grid`, replacing what it held, and presses Enter.
inline void EditCell(CEditableGrid* grid, int row, int column, const QString& text) {
    grid->setCurrentCell(row, column);
    QTest::keyClick(grid, Qt::Key_Return);
    // The edit box of an earlier cell may still wait for its deletion.
    QLineEdit* editor = nullptr;
    for (QLineEdit* box : grid->findChildren<QLineEdit*>()) {
        if (box->isVisible())
            editor = box;
    }
    QVERIFY(editor);
    editor->selectAll();
    TypeText(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

// The user picks box `box` (0 … 39) of a colour button's popup.
inline void ChooseColour(CColorButton* button, int box) {
    QTest::mouseClick(button, Qt::LeftButton);
    auto* popup = button->findChild<CColourPopup*>();
    Q_ASSERT(popup);
    const QPoint centre =
        popup->findChild<QWidget*>(QStringLiteral("colourBox%1").arg(box))->geometry().center();
    QTest::mouseClick(popup, Qt::LeftButton, {}, centre);
}

// Answers every modal message box with OK while it lives, keeping their texts.
class MessageAnswerer {
public:
    MessageAnswerer() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            texts << box->text();
            box->button(QMessageBox::Ok)->click();
        });
        m_timer.start(5);
    }

    QStringList texts;

private:
    QTimer m_timer;
};

} // namespace panels
