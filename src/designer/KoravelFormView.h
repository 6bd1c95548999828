#pragma once

#include <QWidget>

#include <vector>

class CElementPanel;
class CGraphBase;
class CHMIFrame;
class CKoravelDoc;
class CKoravelWnd;
class DlgAddressList;
class DlgFrame;
class QScrollArea;

// The main window's centre: the canvas beside the property area, which shows exactly one panel
// at a time: the current frame's, or that of the selected element's kind. The document's
// signals switch and bind the panels; a panel whose element or frame has left the project is
// unbound and hidden, so that no control of it reaches a deleted object. The view also keeps the
// element usage table, hidden until asked for.
class CKoravelFormView : public QWidget {
    Q_OBJECT

public:
    explicit CKoravelFormView(CKoravelDoc& doc, QWidget* parent = nullptr);

    CKoravelWnd& Canvas() const { return *m_pCanvas; }
    QScrollArea& PropertyArea() const { return *m_pArea; }
    DlgFrame& FramePanel() const { return *m_pFramePanel; }
    // The panel of the element kind `typeCode`; null outside 1 to 8.
    CElementPanel* ElementPanel(int typeCode) const;
    // The panel now shown; null when none is.
    QWidget* ShownPanel() const;
    DlgAddressList& UsageTable() const { return *m_pUsageTable; }

private:
    void ShowFrame(CHMIFrame* frame);
    void ShowElement(CGraphBase* element);
    void ShowOnly(QWidget* panel);
    void OnProjectReset();
    void DropDeleted();
    void OnCanvasChanged();
    void OnElementChanged(CGraphBase* element);

    CKoravelDoc& m_doc;
    CKoravelWnd* m_pCanvas;
    QScrollArea* m_pArea;
    DlgFrame* m_pFramePanel;
    std::vector<CElementPanel*> m_elementPanels;
    DlgAddressList* m_pUsageTable;
};
