#pragma once

#include "CanvasTool.h"

#include <QRect>
#include <QSize>

#include <memory>

class CGEPicture;
class CGraphBase;
class CPLCEntity;

// Places a new element: its outline follows the mouse inside the panel, and a click creates
// the element where the outline's top-left corner is.
class CDrawTool : public CCanvasTool {
public:
    CDrawTool();
    ~CDrawTool() override;

    // The kind to create next; a picture takes the pixels of `picture`.
    void Arm(int typeCode, std::unique_ptr<CGEPicture> picture = nullptr);
    void Disarm();

    void OnLButtonDown(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) override;
    void OnMouseMove(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) override;
    void OnLButtonUp(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) override;

    // The outline a place command starts with, (0, 0) based; a picture's follows its bitmap.
    static QSize DefaultOutline(int typeCode);

private:
    std::unique_ptr<CGraphBase> NewElement(const QRect& rect, const CPLCEntity* plc) const;

    int m_nKind = 0;
    std::unique_ptr<CGEPicture> m_pPicture;
    bool m_bCreated = false;
};
