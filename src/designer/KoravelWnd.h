#pragma once

#include "DrawTool.h"
#include "ElementLayout.h"
#include "SelectTool.h"
#include "ViewPreferences.h"

#include <QImage>
#include <QList>
#include <QWidget>

class CGraphBase;
class CHMIFrame;
class CKoravelDoc;
class QMenu;

// The canvas: the current frame painted into a panel-sized image with the model's own drawing
// code and shown scaled by a whole factor, so that what the user sees are the panel's pixels.
// Mouse positions become panel pixels at the edge; the tools and every rule work in panel
// pixels. Every edit is a command on the document's undo stack.
class CKoravelWnd : public QWidget {
    Q_OBJECT

public:
    enum class Mode { None = 0, Placing = 1, Moving = 2, RubberBand = 4 };
    enum class Stacking { Top, Bottom, Up, Down };

    explicit CKoravelWnd(CKoravelDoc& doc, QWidget* parent = nullptr);
    ~CKoravelWnd() override;

    // The current frame as the panel shows it, with annotations, trackers, the rubber band and
    // the placement outline: the canvas at 1x.
    QImage Render() const;
    QSize sizeHint() const override;

    // --- View ---------------------------------------------------------------------------
    const ViewPreferences& Preferences() const { return m_prefs; }
    // The factor in use (the fitting one when the preference is "fit").
    int Zoom() const { return m_nZoom; }
    // A factor of the list, or 0 for the largest that fits the view; kept in the profile.
    void SetZoom(int zoom);
    void ZoomIn();
    void ZoomOut();
    void SetPixelGrid(bool on);
    void SetSnap(bool on);
    void SetSnapGrid(int grid);
    // Follows the size of the scroll area's viewport for the fitting zoom.
    void WatchViewport(QWidget* viewport);
    // The panel pixel under a widget point, inside the panel; the widget point at the centre of
    // a panel pixel.
    QPoint ToPanel(QPoint widgetPoint) const;
    QPoint ToWidget(QPoint panelPoint) const;

    // --- Commands -----------------------------------------------------------------------
    // Arms the draw tool with the kind's default outline at (0, 0).
    void PlaceElement(int typeCode);
    // Arms it with the bitmap of `path` sized by the picture rules; false (the user was told)
    // when the file does not load or the picture is too big.
    bool PlacePicture(const QString& path);
    // Leaves copies where the selected elements are and moves them to the last right-click
    // point; the elements also go to the clipboard.
    void CopyElements();
    void CutElements();
    void PasteElements();
    void DeleteElements();
    void Restack(Stacking stacking);
    void Align(AlignEdge edge);
    void Distribute(Qt::Orientation orientation);
    // Every other selected element whose size is free takes the width (or height) of the
    // element selected last.
    void SameSize(Qt::Orientation orientation);
    bool CanSameSize() const;

    // Selects `element` alone or adds it in front of the selection; null empties it.
    void Select(CGraphBase* element, bool exclusive);
    void ClearSelection();
    QPoint LastRightClick() const { return m_lastRightClick; }
    Mode ToolMode() const { return m_mode; }
    // The pop-up menu of a right-click; set by the main window.
    void SetContextMenu(QMenu* menu) { m_pContextMenu = menu; }

signals:
    void zoomChanged();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    friend class CSelectTool;
    friend class CDrawTool;

    CHMIFrame* Frame() const;
    // Back to the select tool: nothing placed or dragged, no outline.
    void EndTool();
    void StartPlacing(int typeCode, QSize outline, std::unique_ptr<CGEPicture> picture);
    // `rect` where snapping puts it (unchanged while snapping is off or Alt is held); `moving`
    // are the elements that do not attract it.
    bool SnapActive(Qt::KeyboardModifiers keys) const;
    QRect SnapOutline(const QRect& rect, const QList<CGraphBase*>& moving,
                      Qt::KeyboardModifiers keys);
    void SelectByRubberBand(const QRect& band);
    void PaintOutline(QPainter& painter, const QRect& rect) const;
    void ApplyZoom(int factor, QPoint keepWidgetPoint);
    // Keeps `zoom` as the preference and shows it.
    void ZoomTo(int zoom, QPoint keepWidgetPoint);
    // The next factor of the list above or below the one in use.
    int NextZoom(bool in) const;
    int FittingZoom() const;
    void KeyEdit(int dx, int dy, bool resize);
    void SelectNeighbour(bool forward);
    void Message(const QString& text);

    CKoravelDoc& m_doc;
    ViewPreferences m_prefs;
    int m_nZoom = 1;
    QWidget* m_pViewport = nullptr;
    QMenu* m_pContextMenu = nullptr;

    CSelectTool m_selectTool;
    CDrawTool m_drawTool;
    CCanvasTool* m_pTool = &m_selectTool;
    Mode m_mode = Mode::None;

    bool m_bLeftDown = false;
    QPoint m_buttonDown;
    QPoint m_current;
    QPoint m_lastRightClick;
    bool m_bRightClickUnused = false;
    bool m_bOutlineVisible = false;
    QRect m_outline;
    int m_nGuideX = -1;
    int m_nGuideY = -1;

    // Arrow presses on the same elements merge while nothing else happens in between.
    int m_nKeySeries = 0;
    int m_nKeyIndex = -1;
    bool m_bKeyResize = false;
};
