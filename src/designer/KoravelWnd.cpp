#include "KoravelWnd.h"

#include "KoravelDoc.h"

#include <QPainter>

CKoravelWnd::CKoravelWnd(CKoravelDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc) {
    setObjectName(QStringLiteral("canvas"));
    setFixedSize(kPanelWidth, kPanelHeight);
    connect(&doc, &CKoravelDoc::canvasChanged, this, qOverload<>(&QWidget::update));
    connect(&doc, &CKoravelDoc::projectReset, this, qOverload<>(&QWidget::update));
    connect(&doc, &CKoravelDoc::elementChanged, this, qOverload<>(&QWidget::update));
}

QSize CKoravelWnd::sizeHint() const {
    return {kPanelWidth, kPanelHeight};
}

QImage CKoravelWnd::Render() const {
    QImage image(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
    const CHMIFrame* frame = m_doc.CurrentFrame();
    if (!frame || !m_doc.HasPlc()) {
        image.fill(palette().color(QPalette::Mid));
        return image;
    }
    image.fill(ColorFromRef(frame->m_nBkColor));
    QPainter painter(&image);
    for (const auto& part : frame->m_Parts)
        part->Draw(painter);
    const AnnotationFlags flags = m_doc.Annotations();
    for (std::size_t layer = 0; layer < frame->m_Parts.size(); ++layer)
        frame->m_Parts[layer]->DrawLabel(painter, flags, static_cast<int>(layer));
    for (const CGraphBase* selected : m_doc.Selection())
        selected->DrawTracker(painter);
    return image;
}

void CKoravelWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
}
