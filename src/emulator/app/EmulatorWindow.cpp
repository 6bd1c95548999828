#include "EmulatorWindow.h"

#include "PanelKeys.h"
#include "PanelSkin.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <thread>

namespace {

// The display is looked at for changes this often; the panel redraws far less.
constexpr int kRefreshMs = 10;

// Keyboard shortcuts for the keypad: digits, arrows, Enter, Esc, Backspace for CLR, and a
// letter for each remaining key.
std::optional<uint8_t> KeyForKeyboard(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return KeyCodeByName(QString(QChar('0' + (key - Qt::Key_0))));
    switch (key) {
    case Qt::Key_Escape:
        return Key::kEsc;
    case Qt::Key_A:
    case Qt::Key_F1:
        return Key::kAlm;
    case Qt::Key_Down:
        return Key::kDown;
    case Qt::Key_Up:
        return Key::kUp;
    case Qt::Key_Left:
        return Key::kLeft;
    case Qt::Key_Right:
        return Key::kRight;
    case Qt::Key_S:
    case Qt::Key_Tab:
        return Key::kSet;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::kEnt;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return Key::kClr;
    case Qt::Key_Minus:
    case Qt::Key_Plus:
        return Key::kPlusMinus;
    default:
        return std::nullopt;
    }
}

const PanelKey* PanelKeyByCode(uint8_t code) {
    for (const PanelKey& key : PanelKeys()) {
        if (key.code == code)
            return &key;
    }
    return nullptr;
}

} // namespace

EmulatorWindow::EmulatorWindow(PanelImage image)
    : m_skin(PanelSkin()), m_runner(std::make_unique<EngineRunner>(std::move(image))) {
    setWindowTitle(QStringLiteral("Emulator"));
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    setFixedSize(m_skin.size());
    setMask(PanelShape());
    setFocusPolicy(Qt::StrongFocus);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    connect(&m_refresh, &QTimer::timeout, this, &EmulatorWindow::RefreshDisplay);
    m_refresh.start(kRefreshMs);
}

void EmulatorWindow::RefreshDisplay() {
    // A release outside the window never arrives: the key is up once the button is.
    if (m_pressedByMouse && !(QGuiApplication::mouseButtons() & Qt::LeftButton))
        Release();
    if (std::optional<QImage> display = m_runner->TakeChangedDisplay()) {
        m_display = std::move(*display);
        update(QRect(kDisplayLeft, kDisplayTop, m_display.width(), m_display.height()));
    }
}

void EmulatorWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_skin);
    if (!m_display.isNull())
        p.drawImage(kDisplayLeft, kDisplayTop, m_display);
    if (m_pressed) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRoundedRect(QRectF(m_pressed->area).adjusted(1, 1, -1, -1), 9, 9);
    }
}

void EmulatorWindow::Press(const PanelKey* key) {
    m_pressed = key;
    m_runner->SetKey(key->code);
    QApplication::beep();
    update(key->area);
}

void EmulatorWindow::Release() {
    m_runner->SetKey(Key::kNone);
    if (m_pressed)
        update(m_pressed->area);
    m_pressed = nullptr;
    m_pressedByMouse = false;
}

void EmulatorWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (const PanelKey* key = KeyAt(event->position().toPoint())) {
        Press(key);
        m_pressedByMouse = true;
        return;
    }
    // Anywhere else on the front moves the window, as its caption would.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void EmulatorWindow::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOffset);
    if (m_pressed && !(event->buttons() & Qt::LeftButton))
        Release();
}

void EmulatorWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    Release();
}

void EmulatorWindow::keyPressEvent(QKeyEvent* event) {
    const std::optional<uint8_t> code = KeyForKeyboard(event->key());
    if (!code) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        Press(PanelKeyByCode(*code));
}

void EmulatorWindow::keyReleaseEvent(QKeyEvent* event) {
    if (KeyForKeyboard(event->key()) && !event->isAutoRepeat())
        Release();
}

void EmulatorWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* about = menu.addAction(QStringLiteral("关于 Emulator(&A)..."));
    menu.addSeparator();
    QAction* quit = menu.addAction(QStringLiteral("退出程序"));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == about)
        ShowAbout();
    else if (chosen == quit)
        QApplication::quit();
}

void EmulatorWindow::ShowAbout() {
    QMessageBox::about(this, QStringLiteral("关于 Emulator"), QStringLiteral("Emulator，1.0 版"));
}
