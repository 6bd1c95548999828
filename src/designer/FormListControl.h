#pragma once

#include <QTableWidget>

#include <cstdint>
#include <vector>

class CHMIFrame;
class CKoravelDoc;
class QMenu;

// The frame list itself: one row per frame in frame-number order, the number and the
// description, several rows selectable. A click makes a row's frame current; a click on empty
// space keeps the previous row selected.
class CFormListControl : public QTableWidget {
    Q_OBJECT

public:
    CFormListControl(CKoravelDoc& doc, QWidget* parent = nullptr);

    // Rows again from the project, the current frame's row selected and scrolled into view.
    void Rebuild();
    // Column 1 of the frame numbered `id` from its description.
    void UpdateDescription(std::uint16_t id);
    // The frames of the selected rows, in row order.
    std::vector<CHMIFrame*> SelectedFrames() const;
    // Selects the row of `frame` alone, or none when it has no row.
    void SelectFrameRow(const CHMIFrame* frame);

    // The pop-up menus on empty space and on a row; set by the main window.
    void SetContextMenus(QMenu* onEmpty, QMenu* onRow);

    static constexpr int kDefaultNumberWidth = 80;
    static constexpr int kDefaultDescriptionWidth = 120;

signals:
    void rowSelectionChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CHMIFrame* FrameOfRow(int row) const;
    void OnSelectionChanged();

    CKoravelDoc& m_doc;
    QMenu* m_pEmptyMenu = nullptr;
    QMenu* m_pRowMenu = nullptr;
    int m_nPreviousRow = -1;
    bool m_bRebuilding = false;
};
