#pragma once

#include <QWidget>

class CKoravelDoc;
class CKoravelWnd;
class QStackedWidget;

// The main window's centre: the canvas beside the property area, where the panel of the
// current frame or element is shown.
class CKoravelFormView : public QWidget {
    Q_OBJECT

public:
    explicit CKoravelFormView(CKoravelDoc& doc, QWidget* parent = nullptr);

    CKoravelWnd& Canvas() const { return *m_pCanvas; }
    QStackedWidget& PropertyArea() const { return *m_pProperties; }

private:
    CKoravelWnd* m_pCanvas;
    QStackedWidget* m_pProperties;
};
