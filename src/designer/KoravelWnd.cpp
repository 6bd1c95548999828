#include "KoravelWnd.h"

#include "ElementClipboard.h"
#include "GEPicture.h"
#include "KoravelDoc.h"
#include "Snapping.h"
#include "commands/ElementCommands.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

const QString kCaption = QStringLiteral("提示");
const QString kPictureLoadFailed = QStringLiteral("载入图片失败!");
const QString kPictureTooBig =
    QStringLiteral("图片尺寸太大，无法载入!位图尺寸最好接近480 * 272像素");

// Snapping holds an edge this many screen pixels away.
constexpr double kSnapReach = 4.0;
constexpr int kMaxZoom = 8;

const QRect kPanel(0, 0, kPanelWidth, kPanelHeight);

std::vector<QRect> RectsOf(const QList<CGraphBase*>& elements) {
    std::vector<QRect> rects;
    for (const CGraphBase* element : elements)
        rects.push_back(element->GetRect());
    return rects;
}

// The outline a w x h bitmap is placed with, or an empty size when it is too big: a picture
// wider or higher than the panel is scaled down to it, keeping its proportions.
QSize PictureOutline(int w, int h) {
    const int width = kPanelWidth;
    const int height = kPanelHeight;
    if (w > width) {
        // Integer arithmetic: W / (w / h) truncated, without the rounding of a float ratio.
        const int scaled = width * h / w;
        return scaled > 240 ? QSize() : QSize(width, scaled);
    }
    if (h > height) {
        const int scaled = height * w / h;
        return scaled > 192 ? QSize() : QSize(scaled, height);
    }
    return QSize(w, h);
}

} // namespace

CKoravelWnd::CKoravelWnd(CKoravelDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_prefs(ViewPreferences::Load()) {
    setObjectName(QStringLiteral("canvas"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_nZoom = m_prefs.zoom == 0 ? 1 : m_prefs.zoom;
    setFixedSize(kPanelWidth * m_nZoom, kPanelHeight * m_nZoom);
    connect(&doc, &CKoravelDoc::canvasChanged, this, qOverload<>(&QWidget::update));
    connect(&doc, &CKoravelDoc::elementChanged, this, qOverload<>(&QWidget::update));
    connect(&doc, &CKoravelDoc::projectReset, this, [this] {
        EndTool();
        m_lastRightClick = QPoint();
        m_bRightClickUnused = false;
    });
}

CKoravelWnd::~CKoravelWnd() = default;

QSize CKoravelWnd::sizeHint() const {
    return {kPanelWidth * m_nZoom, kPanelHeight * m_nZoom};
}

CHMIFrame* CKoravelWnd::Frame() const {
    return m_doc.HasPlc() ? m_doc.CurrentFrame() : nullptr;
}

// --- Painting -------------------------------------------------------------------------------

void CKoravelWnd::PaintOutline(QPainter& painter, const QRect& rect) const {
    painter.setPen(QPen(ColorFromRef(0x00C0C0C0), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    const int right = rect.x() + rect.width() - 1;
    const int bottom = rect.y() + rect.height() - 1;
    const QPoint corners[] = {
        rect.topLeft(), {right, rect.y()}, {right, bottom}, {rect.x(), bottom}, rect.topLeft()};
    painter.drawPolyline(corners, 5);
}

QImage CKoravelWnd::Render() const {
    QImage image(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
    const CHMIFrame* frame = Frame();
    if (!frame) {
        image.fill(palette().color(QPalette::Mid));
        return image;
    }
    image.fill(ColorFromRef(frame->m_nBkColor));
    QPainter painter(&image);
    if (m_mode == Mode::RubberBand && m_bLeftDown) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        const QRect band = QRect(m_buttonDown, m_current).normalized();
        painter.drawRect(band.adjusted(0, 0, -1, -1));
    }
    const QList<CGraphBase*>& selection = m_doc.Selection();
    const bool moving = m_mode == Mode::Moving;
    const CGraphBase* dragged = moving ? m_selectTool.DraggedElement() : nullptr;
    const AnnotationFlags flags = m_doc.Annotations();
    for (std::size_t layer = 0; layer < frame->m_Parts.size(); ++layer) {
        const CGraphBase* part = frame->m_Parts[layer].get();
        const bool selected = selection.contains(part);
        if (selected)
            part->DrawTracker(painter);
        if (part == dragged)
            continue;
        part->Draw(painter);
        part->DrawLabel(painter, flags, static_cast<int>(layer));
        if (selected)
            part->DrawTracker(painter);
    }
    if (dragged) {
        // The other selected elements follow the leader's outline.
        const QPoint offset = m_selectTool.DragOffset();
        for (const CGraphBase* element : selection) {
            if (element != dragged)
                PaintOutline(painter, DragClamp(element->GetRect(), offset.x(), offset.y()));
        }
    }
    if (m_bOutlineVisible)
        PaintOutline(painter, m_outline);
    return image;
}

namespace {

// The pixels of `source` within the panel image, each repeated as a zoom x zoom block; with the
// grid, the first row and column of every block darkened. Written row by row: a painter's
// scaled drawing and a grid of lines cost ten times as much at 4x.
QImage Magnify(const QImage& image, const QRect& source, int zoom, bool grid) {
    QImage magnified(source.size() * zoom, QImage::Format_RGB32);
    const auto shade = [](QRgb pixel) {
        return qRgb(qRed(pixel) * 13 / 16, qGreen(pixel) * 13 / 16, qBlue(pixel) * 13 / 16);
    };
    const qsizetype rowBytes = static_cast<qsizetype>(magnified.width()) * 4;
    for (int y = 0; y < source.height(); ++y) {
        const auto* in =
            reinterpret_cast<const QRgb*>(image.constScanLine(source.y() + y)) + source.x();
        auto* top = reinterpret_cast<QRgb*>(magnified.scanLine(y * zoom));
        auto* inner = reinterpret_cast<QRgb*>(magnified.scanLine(y * zoom + 1));
        // One inner row of the blocks (a grid darkens their first pixel) copied down, and the
        // top row, which a grid darkens whole.
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = in[x];
            const QRgb edge = grid ? shade(pixel) : pixel;
            QRgb* block = inner + x * zoom;
            std::fill(block, block + zoom, pixel);
            block[0] = edge;
            std::fill(top + x * zoom, top + (x + 1) * zoom, edge);
        }
        for (int r = 2; r < zoom; ++r)
            std::memcpy(magnified.scanLine(y * zoom + r), inner,
                        static_cast<std::size_t>(rowBytes));
    }
    return magnified;
}

} // namespace

void CKoravelWnd::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage image = Render();
    const QRect exposed = event->rect();
    if (m_nZoom == 1) {
        painter.drawImage(exposed.topLeft(), image, exposed);
    } else {
        // Only the panel pixels under the exposed area.
        const QRect source(exposed.x() / m_nZoom, exposed.y() / m_nZoom,
                           exposed.width() / m_nZoom + 2, exposed.height() / m_nZoom + 2);
        const QRect shown = source.intersected(kPanel);
        const bool grid = m_nZoom >= 4 && m_prefs.pixelGrid && Frame();
        painter.drawImage(shown.topLeft() * m_nZoom, Magnify(image, shown, m_nZoom, grid));
    }
    painter.setPen(QPen(QColor(255, 0, 255), 1, Qt::DashLine));
    if (m_nGuideX >= 0)
        painter.drawLine(m_nGuideX * m_nZoom, 0, m_nGuideX * m_nZoom, height());
    if (m_nGuideY >= 0)
        painter.drawLine(0, m_nGuideY * m_nZoom, width(), m_nGuideY * m_nZoom);
}

// --- Zoom -----------------------------------------------------------------------------------

QPoint CKoravelWnd::ToPanel(QPoint widgetPoint) const {
    return QPoint(std::clamp(widgetPoint.x() / m_nZoom, 0, kPanelWidth - 1),
                  std::clamp(widgetPoint.y() / m_nZoom, 0, kPanelHeight - 1));
}

QPoint CKoravelWnd::ToWidget(QPoint panelPoint) const {
    return panelPoint * m_nZoom + QPoint(m_nZoom / 2, m_nZoom / 2);
}

int CKoravelWnd::FittingZoom() const {
    if (!m_pViewport)
        return 1;
    const QSize room = m_pViewport->size();
    const int fits = std::min(room.width() / kPanelWidth, room.height() / kPanelHeight);
    return std::clamp(fits, 1, kMaxZoom);
}

void CKoravelWnd::ApplyZoom(int factor, QPoint keepWidgetPoint) {
    if (factor == m_nZoom)
        return;
    auto* area = m_pViewport ? qobject_cast<QScrollArea*>(m_pViewport->parentWidget()) : nullptr;
    // The panel pixel under `keepWidgetPoint` stays where it is on the screen.
    const QPoint onScreen = area ? mapTo(m_pViewport, keepWidgetPoint) : QPoint();
    const QPointF panelPoint = QPointF(keepWidgetPoint) / m_nZoom;
    m_nZoom = factor;
    setFixedSize(kPanelWidth * m_nZoom, kPanelHeight * m_nZoom);
    if (area) {
        const QPointF target = panelPoint * m_nZoom - QPointF(onScreen);
        area->horizontalScrollBar()->setValue(static_cast<int>(target.x()));
        area->verticalScrollBar()->setValue(static_cast<int>(target.y()));
    }
    update();
}

void CKoravelWnd::ZoomTo(int zoom, QPoint keepWidgetPoint) {
    m_prefs.zoom = zoom;
    m_prefs.Save();
    ApplyZoom(zoom == 0 ? FittingZoom() : zoom, keepWidgetPoint);
    emit zoomChanged();
}

int CKoravelWnd::NextZoom(bool in) const {
    const auto& factors = ViewPreferences::kZoomFactors;
    int next = m_nZoom;
    for (const int factor : factors) {
        if (in && factor > m_nZoom)
            return factor;
        if (!in && factor < m_nZoom)
            next = factor;
    }
    return next;
}

void CKoravelWnd::SetZoom(int zoom) {
    const auto& factors = ViewPreferences::kZoomFactors;
    if (zoom != 0 && std::find(std::begin(factors), std::end(factors), zoom) == std::end(factors))
        return;
    const QPoint centre =
        m_pViewport ? mapFrom(m_pViewport, m_pViewport->rect().center()) : rect().center();
    ZoomTo(zoom, centre);
}

void CKoravelWnd::ZoomIn() {
    SetZoom(NextZoom(true));
}

void CKoravelWnd::ZoomOut() {
    SetZoom(NextZoom(false));
}

void CKoravelWnd::SetPixelGrid(bool on) {
    m_prefs.pixelGrid = on;
    m_prefs.Save();
    update();
}

void CKoravelWnd::SetSnap(bool on) {
    m_prefs.snap = on;
    m_prefs.Save();
}

void CKoravelWnd::SetSnapGrid(int grid) {
    const auto& grids = ViewPreferences::kSnapGrids;
    if (std::find(std::begin(grids), std::end(grids), grid) == std::end(grids))
        return;
    m_prefs.snapGrid = grid;
    m_prefs.Save();
}

void CKoravelWnd::WatchViewport(QWidget* viewport) {
    m_pViewport = viewport;
    viewport->installEventFilter(this);
}

bool CKoravelWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pViewport && event->type() == QEvent::Resize && m_prefs.zoom == 0) {
        ApplyZoom(FittingZoom(), QPoint());
        emit zoomChanged();
    }
    return QWidget::eventFilter(watched, event);
}

void CKoravelWnd::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    const int delta = event->angleDelta().y();
    if (delta != 0 && NextZoom(delta > 0) != m_nZoom)
        ZoomTo(NextZoom(delta > 0), event->position().toPoint());
    event->accept();
}

// --- Snapping -------------------------------------------------------------------------------

bool CKoravelWnd::SnapActive(Qt::KeyboardModifiers keys) const {
    return m_prefs.snap && !(keys & Qt::AltModifier);
}

QRect CKoravelWnd::SnapOutline(const QRect& rect, const QList<CGraphBase*>& moving,
                               Qt::KeyboardModifiers keys) {
    m_nGuideX = m_nGuideY = -1;
    const CHMIFrame* frame = Frame();
    if (!SnapActive(keys) || !frame)
        return rect;
    std::vector<QRect> others;
    for (const auto& part : frame->m_Parts) {
        if (!moving.contains(part.get()))
            others.push_back(part->GetRect());
    }
    const SnapResult snapped = Snap(rect, others, m_prefs.snapGrid, kSnapReach / m_nZoom);
    m_nGuideX = snapped.guideX;
    m_nGuideY = snapped.guideY;
    return QRect(snapped.topLeft, rect.size());
}

// --- Tools ----------------------------------------------------------------------------------

void CKoravelWnd::EndTool() {
    m_drawTool.Disarm();
    m_pTool = &m_selectTool;
    m_mode = Mode::None;
    m_bOutlineVisible = false;
    m_outline = QRect();
    m_bLeftDown = false;
    m_nGuideX = m_nGuideY = -1;
    setCursor(Qt::ArrowCursor);
    update();
}

void CKoravelWnd::StartPlacing(int typeCode, QSize outline, std::unique_ptr<CGEPicture> picture) {
    ClearSelection();
    m_outline = QRect(QPoint(0, 0), outline);
    m_bOutlineVisible = true;
    m_drawTool.Arm(typeCode, std::move(picture));
    m_pTool = &m_drawTool;
    m_mode = Mode::Placing;
    setFocus();
    update();
}

void CKoravelWnd::PlaceElement(int typeCode) {
    if (!Frame())
        return;
    const QSize outline = CDrawTool::DefaultOutline(typeCode);
    if (outline.isEmpty())
        return;
    StartPlacing(typeCode, outline, nullptr);
}

bool CKoravelWnd::PlacePicture(const QString& path) {
    if (!Frame())
        return false;
    auto picture = std::make_unique<CGEPicture>();
    if (!picture->LoadBitmapFile(path)) {
        Message(kPictureLoadFailed);
        return false;
    }
    ClearSelection();
    const QSize outline = PictureOutline(picture->BitmapWidth(), picture->BitmapHeight());
    if (outline.isEmpty()) {
        Message(kPictureTooBig);
        return false;
    }
    StartPlacing(kTypePicture, outline, std::move(picture));
    QCursor::setPos(mapToGlobal(QPoint(0, 0)));
    return true;
}

void CKoravelWnd::Message(const QString& text) {
    QMessageBox::information(this, kCaption, text);
}

// --- Mouse ----------------------------------------------------------------------------------

void CKoravelWnd::mousePressEvent(QMouseEvent* event) {
    const QPoint point = ToPanel(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        if (Frame()) {
            m_lastRightClick = point;
            m_bRightClickUnused = true;
            if (CGraphBase* hit = Frame()->ElementAt(point))
                Select(hit, false);
        }
        if (m_pContextMenu)
            m_pContextMenu->exec(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton || !Frame())
        return;
    setFocus();
    // Arrow presses after a click start a step of their own.
    m_nKeyIndex = -1;
    // A tool that ends at once (a refused trend, a Shift-click) clears m_bLeftDown again.
    m_bLeftDown = true;
    m_buttonDown = m_current = point;
    m_pTool->OnLButtonDown(*this, point, event->modifiers());
    update();
}

void CKoravelWnd::mouseMoveEvent(QMouseEvent* event) {
    if (!Frame())
        return;
    const QPoint point = ToPanel(event->position().toPoint());
    if (m_bLeftDown)
        m_current = point;
    if (m_bLeftDown || m_mode == Mode::Placing)
        m_pTool->OnMouseMove(*this, point, event->modifiers());
}

void CKoravelWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bLeftDown)
        return;
    m_current = ToPanel(event->position().toPoint());
    const QPoint from = m_buttonDown;
    const QRect band(QPoint(std::min(from.x(), m_current.x()), std::min(from.y(), m_current.y())),
                     QSize(std::abs(m_current.x() - from.x()), std::abs(m_current.y() - from.y())));
    // A band counts from 11 pixels on each side; smaller ones are a slip of the hand.
    if (m_current != from && band.width() > 10 && band.height() > 10 && m_mode != Mode::Moving)
        SelectByRubberBand(band);
    m_pTool->OnLButtonUp(*this, m_current, event->modifiers());
    m_bLeftDown = false;
    m_buttonDown = m_current = QPoint();
}

void CKoravelWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !Frame() || m_mode == Mode::Placing)
        return;
    // Nothing selected and the frame's panel shown; the release that follows moves nothing.
    ClearSelection();
    m_buttonDown = m_current = QPoint();
    m_bOutlineVisible = false;
    m_mode = Mode::Moving;
    m_bLeftDown = true;
}

void CKoravelWnd::SelectByRubberBand(const QRect& band) {
    const CHMIFrame* frame = Frame();
    if (!frame || band.width() == 0 || band.height() == 0) {
        ClearSelection();
        return;
    }
    QList<CGraphBase*> selection;
    if (m_mode != Mode::RubberBand)
        selection = m_doc.Selection();
    // The band holds its left and top edges, not its right and bottom ones.
    const auto inside = [&band](int x, int y) {
        return x >= band.x() && x < band.x() + band.width() && y >= band.y() &&
               y < band.y() + band.height();
    };
    for (const auto& part : frame->m_Parts) {
        if (selection.contains(part.get()))
            continue;
        const int left = part->m_nLeft;
        const int top = part->m_nTop;
        const int right = left + part->m_nWidth;
        const int bottom = top + part->m_nHeight;
        if (inside(left, top) || inside(right, top) || inside(left, bottom) ||
            inside(right, bottom))
            selection.prepend(part.get());
    }
    m_doc.SetSelection(selection);
}

// --- Selection ------------------------------------------------------------------------------

void CKoravelWnd::Select(CGraphBase* element, bool exclusive) {
    if (!element) {
        ClearSelection();
        return;
    }
    QList<CGraphBase*> selection = m_doc.Selection();
    if (selection.contains(element))
        return;
    if (exclusive)
        selection.clear();
    selection.prepend(element);
    m_doc.SetSelection(selection);
}

void CKoravelWnd::ClearSelection() {
    m_doc.SetSelection({});
}

// --- Keys -----------------------------------------------------------------------------------

bool CKoravelWnd::event(QEvent* event) {
    // Tab walks the elements instead of the focus chain.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && Frame() &&
            m_mode == Mode::None) {
            SelectNeighbour(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QWidget::event(event);
}

void CKoravelWnd::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && m_mode == Mode::Placing) {
        EndTool();
        return;
    }
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (!Frame() || m_mode != Mode::None || m_doc.Selection().isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const bool resize = event->modifiers() & Qt::ControlModifier;
    const int step = !resize && (event->modifiers() & Qt::ShiftModifier) ? 8 : 1;
    KeyEdit(dx * step, dy * step, resize);
}

void CKoravelWnd::KeyEdit(int dx, int dy, bool resize) {
    CHMIFrame* frame = Frame();
    std::vector<CmdSetRects::Change> changes;
    for (CGraphBase* element : m_doc.Selection()) {
        const QRect rect = element->GetRect();
        QRect changed = rect;
        if (!resize) {
            changed = DragClamp(rect, dx, dy);
        } else if (SizeIsFree(*element)) {
            changed.setWidth(std::clamp(rect.width() + dx, 1, kPanelWidth - rect.x()));
            changed.setHeight(std::clamp(rect.height() + dy, 1, kPanelHeight - rect.y()));
        }
        if (changed != rect)
            changes.emplace_back(element, changed);
    }
    if (changes.empty())
        return;
    QUndoStack& stack = m_doc.UndoStack();
    // A new series after anything else reached the stack, or when moving turns into sizing.
    if (stack.index() != m_nKeyIndex || resize != m_bKeyResize)
        ++m_nKeySeries;
    m_bKeyResize = resize;
    m_doc.Push(new CmdSetRects(m_doc, frame, std::move(changes),
                               resize ? QStringLiteral("调整大小") : QStringLiteral("移动元件"),
                               m_nKeySeries));
    m_nKeyIndex = stack.index();
}

void CKoravelWnd::SelectNeighbour(bool forward) {
    const CHMIFrame* frame = Frame();
    const int count = static_cast<int>(frame->m_Parts.size());
    if (count == 0)
        return;
    const QList<CGraphBase*>& selection = m_doc.Selection();
    const int at = selection.isEmpty() ? -1 : frame->IndexOf(selection.front());
    int next = 0;
    if (at < 0)
        next = forward ? 0 : count - 1;
    else
        next = (at + (forward ? 1 : count - 1)) % count;
    Select(frame->m_Parts[static_cast<std::size_t>(next)].get(), true);
}

// --- Commands -------------------------------------------------------------------------------

void CKoravelWnd::CopyElements() {
    CHMIFrame* frame = Frame();
    const QList<CGraphBase*> selection = m_doc.Selection();
    if (!frame || selection.isEmpty())
        return;
    PutElementsOnClipboard(*frame, selection);
    auto* copy = new QUndoCommand(QStringLiteral("复制元件"));
    std::vector<std::unique_ptr<CGraphBase>> copies;
    std::vector<CmdSetRects::Change> moves;
    for (CGraphBase* element : selection) {
        copies.push_back(element->Clone());
        QRect moved(m_lastRightClick, element->GetRect().size());
        if (!kPanel.contains(moved))
            moved = ShiftInside(moved);
        if (moved != element->GetRect())
            moves.emplace_back(element, moved);
    }
    new CmdAddElements(m_doc, frame, std::move(copies), CmdAddElements::Select::Unchanged, {},
                       copy);
    if (!moves.empty())
        new CmdSetRects(m_doc, frame, std::move(moves), {}, 0, copy);
    m_doc.Push(copy);
}

void CKoravelWnd::CutElements() {
    CHMIFrame* frame = Frame();
    const QList<CGraphBase*> selection = m_doc.Selection();
    if (!frame || selection.isEmpty())
        return;
    PutElementsOnClipboard(*frame, selection);
    m_doc.Push(new CmdRemoveElements(m_doc, frame, selection, QStringLiteral("剪切元件")));
}

void CKoravelWnd::DeleteElements() {
    CHMIFrame* frame = Frame();
    const QList<CGraphBase*> selection = m_doc.Selection();
    if (!frame || selection.isEmpty())
        return;
    m_doc.Push(new CmdRemoveElements(m_doc, frame, selection, QStringLiteral("删除元件")));
}

void CKoravelWnd::PasteElements() {
    CHMIFrame* frame = Frame();
    if (!frame)
        return;
    std::vector<std::unique_ptr<CGraphBase>> pasted =
        ElementsOnClipboard(m_doc.Project().m_pCurrentPLC);
    if (pasted.empty())
        return;
    QRect bounds;
    for (const auto& element : pasted)
        bounds |= element->GetRect();
    // At a right-click not yet used by a paste, else just beside the originals.
    const QPoint offset = m_bRightClickUnused ? m_lastRightClick - bounds.topLeft() : QPoint(8, 8);
    m_bRightClickUnused = false;
    int trends = frame->CountTrends();
    bool refused = false;
    std::vector<std::unique_ptr<CGraphBase>> kept;
    for (auto& element : pasted) {
        if (element->m_nTypeCode == kTypeTrend && trends++ >= 4) {
            refused = true;
            continue;
        }
        const QRect placed = ShiftInside(element->GetRect().translated(offset));
        element->m_nLeft = placed.x();
        element->m_nTop = placed.y();
        kept.push_back(std::move(element));
    }
    if (!kept.empty())
        m_doc.Push(new CmdAddElements(m_doc, frame, std::move(kept), CmdAddElements::Select::Added,
                                      QStringLiteral("粘贴元件")));
    if (refused)
        Message(kTooManyTrendsMessage);
}

void CKoravelWnd::Restack(Stacking stacking) {
    CHMIFrame* frame = Frame();
    const QList<CGraphBase*>& selection = m_doc.Selection();
    if (!frame || selection.size() != 1)
        return;
    CGraphBase* element = selection.front();
    std::vector<CGraphBase*> order;
    for (const auto& part : frame->m_Parts)
        order.push_back(part.get());
    const auto at = std::find(order.begin(), order.end(), element);
    if (at == order.end())
        return;
    const std::vector<CGraphBase*> before = order;
    QString text;
    switch (stacking) {
    case Stacking::Top:
        std::rotate(at, at + 1, order.end());
        text = QStringLiteral("上移顶层");
        break;
    case Stacking::Bottom:
        std::rotate(order.begin(), at, at + 1);
        text = QStringLiteral("下移底层");
        break;
    case Stacking::Up:
        if (at + 1 != order.end())
            std::iter_swap(at, at + 1);
        text = QStringLiteral("上移一层");
        break;
    case Stacking::Down:
        if (at != order.begin())
            std::iter_swap(at, at - 1);
        text = QStringLiteral("下移一层");
        break;
    }
    if (order != before)
        m_doc.Push(new CmdRestack(m_doc, frame, std::move(order), text));
}

namespace {

// The commands' changes: each element with its new rectangle, where it differs.
std::vector<CmdSetRects::Change> Changes(const QList<CGraphBase*>& elements,
                                         const std::vector<QRect>& rects) {
    std::vector<CmdSetRects::Change> changes;
    for (qsizetype i = 0; i < elements.size(); ++i) {
        if (rects[static_cast<std::size_t>(i)] != elements[i]->GetRect())
            changes.emplace_back(elements[i], rects[static_cast<std::size_t>(i)]);
    }
    return changes;
}

} // namespace

void CKoravelWnd::Align(AlignEdge edge) {
    CHMIFrame* frame = Frame();
    const QList<CGraphBase*> selection = m_doc.Selection();
    if (!frame || selection.size() < 2)
        return;
    auto changes = Changes(selection, AlignRects(RectsOf(selection), edge));
    if (!changes.empty())
        m_doc.Push(new CmdSetRects(m_doc, frame, std::move(changes), QStringLiteral("对齐元件")));
}

void CKoravelWnd::Distribute(Qt::Orientation orientation) {
    CHMIFrame* frame = Frame();
    const QList<CGraphBase*> selection = m_doc.Selection();
    if (!frame || selection.size() < 3)
        return;
    auto changes = Changes(selection, DistributeRects(RectsOf(selection), orientation));
    if (!changes.empty())
        m_doc.Push(new CmdSetRects(m_doc, frame, std::move(changes), QStringLiteral("等距分布")));
}

bool CKoravelWnd::CanSameSize() const {
    const QList<CGraphBase*>& selection = m_doc.Selection();
    return selection.size() > 1 && std::any_of(selection.begin() + 1, selection.end(),
                                               [](const CGraphBase* e) { return SizeIsFree(*e); });
}

void CKoravelWnd::SameSize(Qt::Orientation orientation) {
    CHMIFrame* frame = Frame();
    const QList<CGraphBase*> selection = m_doc.Selection();
    if (!frame || !CanSameSize())
        return;
    const QRect reference = selection.front()->GetRect();
    std::vector<QRect> rects;
    for (const CGraphBase* element : selection) {
        QRect rect = element->GetRect();
        if (element != selection.front() && SizeIsFree(*element)) {
            if (orientation == Qt::Horizontal)
                rect.setWidth(reference.width());
            else
                rect.setHeight(reference.height());
        }
        rects.push_back(ShiftInside(rect));
    }
    auto changes = Changes(selection, rects);
    if (!changes.empty())
        m_doc.Push(new CmdSetRects(m_doc, frame, std::move(changes),
                                   orientation == Qt::Horizontal ? QStringLiteral("等宽")
                                                                 : QStringLiteral("等高")));
}
