#include "KoravelFormView.h"

#include "DlgAddressList.h"
#include "KoravelWnd.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QStackedWidget>

CKoravelFormView::CKoravelFormView(CKoravelDoc& doc, QWidget* parent)
    : QWidget(parent), m_pCanvas(new CKoravelWnd(doc)), m_pProperties(new QStackedWidget),
      m_pUsageTable(new DlgAddressList(doc, *m_pCanvas, this)) {
    setObjectName(QStringLiteral("formView"));
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("canvasArea"));
    scroll->setWidget(m_pCanvas);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setBackgroundRole(QPalette::Dark);
    m_pCanvas->WatchViewport(scroll->viewport());
    setFocusProxy(m_pCanvas);
    m_pProperties->setObjectName(QStringLiteral("propertyArea"));
    m_pProperties->setMinimumWidth(300);
    m_pProperties->addWidget(new QWidget);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroll, 1);
    layout->addWidget(m_pProperties);
}
