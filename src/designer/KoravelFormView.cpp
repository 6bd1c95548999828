#include "KoravelFormView.h"

#include "DlgAddressList.h"
#include "KoravelDoc.h"
#include "KoravelWnd.h"
#include "commands/PropertyCommands.h"
#include "panels/DlgBar.h"
#include "panels/DlgDynamicTxt.h"
#include "panels/DlgFrame.h"
#include "panels/DlgFunckeyMain.h"
#include "panels/DlgIndicator.h"
#include "panels/DlgPicture.h"
#include "panels/DlgRegister.h"
#include "panels/DlgStaticTxt.h"
#include "panels/DlgTrendMain.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int kPropertyAreaWidth = 340;

} // namespace

CKoravelFormView::CKoravelFormView(CKoravelDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_pCanvas(new CKoravelWnd(doc)), m_pArea(new QScrollArea),
      m_pFramePanel(new DlgFrame(doc)), m_pUsageTable(new DlgAddressList(doc, *m_pCanvas, this)) {
    setObjectName(QStringLiteral("formView"));
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("canvasArea"));
    scroll->setWidget(m_pCanvas);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setBackgroundRole(QPalette::Dark);
    m_pCanvas->WatchViewport(scroll->viewport());

    // The panels in the order of their kinds' type codes, after the frame's.
    m_elementPanels = {new DlgStaticTxt(doc),   new DlgRegister(doc),  new DlgIndicator(doc),
                       new DlgFunckeyMain(doc), new DlgPicture(doc),   new DlgBar(doc),
                       new DlgTrendMain(doc),   new DlgDynamicTxt(doc)};
    auto* panels = new QWidget;
    auto* column = new QVBoxLayout(panels);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(m_pFramePanel);
    m_pFramePanel->hide();
    for (CElementPanel* panel : m_elementPanels) {
        column->addWidget(panel);
        panel->hide();
    }
    column->addStretch(1);
    m_pArea->setObjectName(QStringLiteral("propertyArea"));
    m_pArea->setWidget(panels);
    m_pArea->setWidgetResizable(true);
    m_pArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pArea->setFixedWidth(kPropertyAreaWidth);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroll, 1);
    layout->addWidget(m_pArea);
    // The view passes the focus on to the canvas.
    setFocusProxy(m_pCanvas);

    connect(&doc, &CKoravelDoc::frameShown, this, &CKoravelFormView::ShowFrame);
    connect(&doc, &CKoravelDoc::elementShown, this, &CKoravelFormView::ShowElement);
    connect(&doc, &CKoravelDoc::elementChanged, this, &CKoravelFormView::OnElementChanged);
    connect(&doc, &CKoravelDoc::projectReset, this, &CKoravelFormView::OnProjectReset);
    for (auto signal :
         {&CKoravelDoc::framesChanged, &CKoravelDoc::selectionChanged, &CKoravelDoc::plcChanged})
        connect(&doc, signal, this, &CKoravelFormView::DropDeleted);
    connect(&doc, &CKoravelDoc::canvasChanged, this, &CKoravelFormView::OnCanvasChanged);
}

CElementPanel* CKoravelFormView::ElementPanel(int typeCode) const {
    return typeCode >= 1 && typeCode <= static_cast<int>(m_elementPanels.size())
               ? m_elementPanels[static_cast<std::size_t>(typeCode - 1)]
               : nullptr;
}

QWidget* CKoravelFormView::ShownPanel() const {
    if (!m_pFramePanel->isHidden())
        return m_pFramePanel;
    for (CElementPanel* panel : m_elementPanels) {
        if (!panel->isHidden())
            return panel;
    }
    return nullptr;
}

void CKoravelFormView::ShowOnly(QWidget* shown) {
    m_pFramePanel->setVisible(shown == m_pFramePanel);
    for (CElementPanel* panel : m_elementPanels)
        panel->setVisible(panel == shown);
}

void CKoravelFormView::ShowFrame(CHMIFrame* frame) {
    m_pFramePanel->Bind(frame);
    ShowOnly(frame ? m_pFramePanel : nullptr);
}

void CKoravelFormView::ShowElement(CGraphBase* element) {
    CElementPanel* panel = element ? ElementPanel(element->m_nTypeCode) : nullptr;
    if (panel)
        panel->Bind(element);
    ShowOnly(panel);
}

void CKoravelFormView::OnElementChanged(CGraphBase* element) {
    for (CElementPanel* panel : m_elementPanels) {
        if (panel->Element() == element)
            panel->Refresh();
    }
}

void CKoravelFormView::OnCanvasChanged() {
    DropDeleted();
    // What the canvas changed (a move, a resize) shows in the panel too.
    if (ShownPanel() == m_pFramePanel)
        m_pFramePanel->Refresh();
    for (CElementPanel* panel : m_elementPanels) {
        if (!panel->isHidden())
            panel->Refresh();
    }
}

void CKoravelFormView::OnProjectReset() {
    // Every frame and element of the old project is gone.
    m_pFramePanel->Bind(nullptr);
    for (CElementPanel* panel : m_elementPanels)
        panel->Bind(nullptr);
    ShowFrame(m_doc.HasPlc() ? m_doc.CurrentFrame() : nullptr);
}

void CKoravelFormView::DropDeleted() {
    const CKoravelProject& project = m_doc.Project();
    if (m_pFramePanel->Frame() && project.PositionOf(m_pFramePanel->Frame()) < 0) {
        m_pFramePanel->Bind(nullptr);
        m_pFramePanel->hide();
    }
    for (CElementPanel* panel : m_elementPanels) {
        if (panel->Element() && !FrameOfElement(project, panel->Element())) {
            panel->Bind(nullptr);
            panel->hide();
        }
    }
}
