#include "LoginDialog.h"

#include "BatchDownload.h"
#include "BatchTool.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

LoginDialog::LoginDialog(QByteArray stored, QWidget* parent)
    : QDialog(parent), m_stored(std::move(stored)), m_edit(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("请输入软件启动密码"));
    m_edit->setObjectName(QStringLiteral("password"));
    m_edit->setEchoMode(QLineEdit::Password);
    m_edit->setMaxLength(int(kLoginPasswordBytes));
    auto* login = new QPushButton(QStringLiteral("登录"), this);
    login->setObjectName(QStringLiteral("login"));
    login->setAutoDefault(false);
    connect(login, &QPushButton::clicked, this, &LoginDialog::LogIn);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("启动密码:"), this), 0, 0);
    layout->addWidget(m_edit, 0, 1);
    layout->addWidget(login, 0, 2);
    layout->addWidget(new QLabel(QStringLiteral("如果忘记密码,请联系生产厂商."), this), 1, 0, 1, 3);
    setMinimumWidth(340);
}

void LoginDialog::LogIn() {
    if (LoginMatches(m_edit->text(), m_stored)) {
        accept();
        return;
    }
    if (++m_failures <= kAllowedFailures)
        return;
    QMessageBox::information(this, QStringLiteral("提示"),
                             QStringLiteral("密码已输错 %1 次，程序将退出！").arg(m_failures));
    reject();
}

void LoginDialog::keyPressEvent(QKeyEvent* event) {
    // Only the button logs in; Enter and Escape do nothing.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
