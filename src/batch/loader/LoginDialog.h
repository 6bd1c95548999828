#pragma once

#include <QByteArray>
#include <QDialog>

class QLineEdit;

// Asks for the tool's start password. Three wrong passwords only leave the dialog open; the
// fourth says so and closes it as failed.
class LoginDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kAllowedFailures = 3;

    LoginDialog(QByteArray stored, QWidget* parent = nullptr);

public slots:
    void LogIn();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QByteArray m_stored;
    QLineEdit* m_edit;
    int m_failures = 0;
};
