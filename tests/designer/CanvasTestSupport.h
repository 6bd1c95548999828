#pragma once

// What the canvas tests share: the catalog, a main window with a project of its own, mouse
// and key input in panel coordinates at any zoom, and message boxes answered from a timer.

#include "KoravelDoc.h"
#include "KoravelFormView.h"
#include "KoravelWnd.h"
#include "MainFrm.h"
#include "PLCFactory.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <memory>

inline const CPLCFactory& Catalog() {
    static CPLCFactory catalog;
    static const bool loaded = catalog.Load(KV_BIN_DIR "/Factory.dll");
    Q_ASSERT(loaded);
    return catalog;
}

// The project text as the file would hold it, dated so that two saves compare.
inline QString Saved(const CKoravelDoc& doc) {
    return doc.Project().SaveXmlText(QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
}

// Answers the next modal message box with its OK button and keeps its text.
inline void AnswerMessage(QString* text) {
    QTimer::singleShot(0, [text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (text)
            *text = box->text();
        box->button(box->standardButtons() & QMessageBox::Ok ? QMessageBox::Ok : QMessageBox::Yes)
            ->click();
    });
}

// Closes the next pop-up menu without choosing.
inline void ClosePopup() {
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
}

// A main window with a new project for the PLC of ID 1 (its default frame "1"), shown on the
// offscreen screen.
class Designer {
public:
    Designer() : m_frame(m_doc) {
        m_frame.resize(1280, 800);
        m_frame.show();
        m_doc.NewProject(Catalog().GetPLC(1), CCommPara());
    }

    CKoravelDoc& Doc() { return m_doc; }
    CMainFrame& Frame() { return m_frame; }
    CKoravelWnd& Canvas() { return m_frame.FormView().Canvas(); }
    CHMIFrame& Current() { return *m_doc.CurrentFrame(); }
    QAction& Action(const char* name) { return *m_frame.Action(QString::fromLatin1(name)); }

    // Mouse input at a panel pixel, through the canvas's own conversion at its zoom.
    void Mouse(QEvent::Type type, QPoint panel, Qt::MouseButton button,
               Qt::KeyboardModifiers keys = Qt::NoModifier) {
        CKoravelWnd& canvas = Canvas();
        const QPointF local = canvas.ToWidget(panel);
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, local, canvas.mapToGlobal(local), button, held, keys);
        QApplication::sendEvent(&canvas, &event);
    }
    void Move(QPoint panel, Qt::KeyboardModifiers keys = Qt::NoModifier,
              Qt::MouseButton held = Qt::NoButton) {
        Mouse(QEvent::MouseMove, panel, held, keys);
    }
    void Click(QPoint panel, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, panel, Qt::LeftButton, keys);
        Mouse(QEvent::MouseButtonRelease, panel, Qt::LeftButton, keys);
    }
    // Press at `from`, ten moves to `to`, release there.
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, keys);
        for (int i = 1; i <= 10; ++i)
            Move(from + (to - from) * i / 10, keys, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, keys);
    }
    void RightClick(QPoint panel) {
        ClosePopup();
        Mouse(QEvent::MouseButtonPress, panel, Qt::RightButton);
        Mouse(QEvent::MouseButtonRelease, panel, Qt::RightButton);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QTest::keyClick(&Canvas(), key, keys);
    }

    // Places an element of `kind` by its command and a click at `at`; the new element.
    CGraphBase* Place(const char* action, QPoint at) {
        Action(action).trigger();
        Move(at);
        Click(at);
        return m_doc.Selection().isEmpty() ? nullptr : m_doc.Selection().front();
    }

private:
    CKoravelDoc m_doc{Catalog()};
    CMainFrame m_frame;
};

// The profile of a test program, never the user's.
inline void RedirectProfile(const QString& folder) {
    qputenv("XDG_CONFIG_HOME", folder.toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
}

inline void ClearProfile() {
    QSettings(QStringLiteral("Halvern-Koravel"), QStringLiteral("designer")).clear();
}
