#pragma once

#include <QDockWidget>

class CFormListControl;
class CKoravelDoc;

// The frame list bar: a dock on the left or the right of the main window holding the frame
// list. Its docked and floating sizes and the list's column widths are kept in the profile.
class CFormListBrowser : public QDockWidget {
    Q_OBJECT

public:
    CFormListBrowser(CKoravelDoc& doc, QWidget* parent = nullptr);
    ~CFormListBrowser() override;

    CFormListControl& List() const { return *m_pList; }
    // The width the bar asks for when docked.
    QSize sizeHint() const override;

private:
    void SaveSizes() const;

    CFormListControl* m_pList;
    QSize m_docked;
    QSize m_floating;
};
