#pragma once

#include "EngineRunner.h"

#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <memory>

struct PanelKey;

// The Emulator's one window: the panel front with the live display and its keys.
class EmulatorWindow : public QWidget {
    Q_OBJECT
public:
    explicit EmulatorWindow(PanelImage image);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Press(const PanelKey* key);
    void Release();
    void RefreshDisplay();
    void ShowAbout();

    QImage m_skin;
    QImage m_display;
    std::unique_ptr<EngineRunner> m_runner;
    QTimer m_refresh;
    const PanelKey* m_pressed = nullptr;
    bool m_pressedByMouse = false;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
