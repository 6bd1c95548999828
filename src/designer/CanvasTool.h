#pragma once

#include <QPoint>
#include <Qt>

class CKoravelWnd;

// What the left mouse button does on the canvas: select and move (CSelectTool) or place a new
// element (CDrawTool). Points are panel pixels.
class CCanvasTool {
public:
    virtual ~CCanvasTool() = default;
    virtual void OnLButtonDown(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) = 0;
    virtual void OnMouseMove(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) = 0;
    virtual void OnLButtonUp(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) = 0;
};
