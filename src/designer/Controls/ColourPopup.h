#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

// The palette popup of a colour button. Colours are colour references 0x00BBGGRR; 0xFF000000
// is the automatic colour.
//
// Children, found by object name: "colourBox0" … "colourBox39" (tool tip: the colour's name),
// "defaultBox" and "customBox" (only when their texts are not empty).
//
// The popup ends exactly once, with SelectionEnded or SelectionCancelled, and then deletes
// itself.
class CColourPopup : public QWidget {
    Q_OBJECT

public:
    static constexpr int kColourCount = 40;

    // `colour` is the colour at opening; `defaultColour` is shown for the automatic colour.
    CColourPopup(QWidget* button, std::uint32_t colour, std::uint32_t defaultColour,
                 const QString& defaultText, const QString& customText);

    // Shows the popup below `anchor` (global coordinates), kept on the anchor's screen.
    void Popup(const QRect& anchor);

signals:
    void SelectionChanged(std::uint32_t colour);
    void SelectionEnded(std::uint32_t colour);
    void SelectionCancelled(std::uint32_t colour);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    class Box;

    void AddBox(int cell, const QString& name, const QString& toolTip);
    void LayOut();
    Box* BoxAt(const QPoint& pos) const;
    void Select(int cell);
    void MoveInRow(int direction);
    void MoveAcrossRows(int direction);
    std::uint32_t CellColour(int cell) const;
    void EndOk();
    void EndCancel();

    QWidget* m_pButton;
    std::uint32_t m_colourAtOpening;
    std::uint32_t m_defaultColour;
    std::vector<Box*> m_boxes; // reading order: default box, 40 colours, custom box
    int m_selected;
    int m_column = 0; // the colour column that up and down return to
    bool m_ended = false;
};
