#pragma once

#include <QWidget>

class CKoravelDoc;
class CKoravelWnd;
class DlgAddressList;
class QStackedWidget;

// The main window's centre: the canvas beside the property area, where the panel of the
// current frame or element is shown. It also keeps the element usage table, hidden until asked
// for.
class CKoravelFormView : public QWidget {
    Q_OBJECT

public:
    explicit CKoravelFormView(CKoravelDoc& doc, QWidget* parent = nullptr);

    CKoravelWnd& Canvas() const { return *m_pCanvas; }
    QStackedWidget& PropertyArea() const { return *m_pProperties; }
    DlgAddressList& UsageTable() const { return *m_pUsageTable; }

private:
    CKoravelWnd* m_pCanvas;
    QStackedWidget* m_pProperties;
    DlgAddressList* m_pUsageTable;
};
