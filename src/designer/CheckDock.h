#pragma once

#include "CheckFinding.h"

#include <QDockWidget>

class CKoravelDoc;
class CKoravelWnd;
class CProjectChecker;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// Where a finding lies, as the window names it: "画面 3  元件 2 (寄存器)", "报警列表", ...
QString FindingPlaceText(const FindingPlace& place);

// The findings of the project check ("检查工程"), refilled whenever the checker has a new
// report. A click on a finding makes its frame current and selects its element; activating
// a finding of the settings or the alarm list asks for their dialog.
class CCheckDock : public QDockWidget {
    Q_OBJECT

public:
    CCheckDock(CKoravelDoc& doc, CProjectChecker& checker, CKoravelWnd& canvas,
               QWidget* parent = nullptr);

signals:
    void partActivated(CheckPart part);

private:
    void Refill();
    // The finding a row shows; null when the report no longer holds it.
    const CheckFinding* FindingOf(const QTreeWidgetItem* item) const;
    void ShowPlace(const QTreeWidgetItem* item);
    void Activate(const QTreeWidgetItem* item);

    CKoravelDoc& m_doc;
    CProjectChecker& m_checker;
    CKoravelWnd& m_canvas;
    QLabel* m_pSummary;
    QTreeWidget* m_pList;
};
