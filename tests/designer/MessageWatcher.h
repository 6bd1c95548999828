#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

// While it lives, answers every modal message box with its first button, and keeps what each
// box said as "caption|text".
class MessageWatcher : public QObject {
public:
    MessageWatcher() {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box->buttons().isEmpty())
                return;
            m_seen << box->windowTitle() + QLatin1Char('|') + box->text();
            m_icons << box->icon();
            box->buttons().first()->click();
        });
        m_timer.start(10);
    }

    const QStringList& Seen() const { return m_seen; }
    const QList<QMessageBox::Icon>& Icons() const { return m_icons; }

private:
    QTimer m_timer;
    QStringList m_seen;
    QList<QMessageBox::Icon> m_icons;
};
