#include "DlgAutoSetUpdate.h"

#include "UpdateSettings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

DlgAutoSetUpdate::DlgAutoSetUpdate(const QString& configPath, const QString& displayVersion,
                                   QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("dlgAutoSetUpdate"));
    setWindowTitle(QStringLiteral("更新设置"));
    auto* autoCheck = new QCheckBox(QStringLiteral("软件每次启动时自动检查更新"));
    autoCheck->setObjectName(QStringLiteral("autoCheck"));
    autoCheck->setChecked(ReadAutoCheck(configPath));
    connect(autoCheck, &QCheckBox::toggled, this,
            [configPath](bool on) { WriteAutoCheck(configPath, on); });
    auto* version = new QLabel(QStringLiteral("当前版本：%1").arg(displayVersion));
    version->setObjectName(QStringLiteral("version"));
    auto* checkNow = new QPushButton(QStringLiteral("立即检查"));
    checkNow->setObjectName(QStringLiteral("checkNowButton"));
    connect(checkNow, &QPushButton::clicked, this, &DlgAutoSetUpdate::checkNow);
    auto* ok = new QPushButton(QStringLiteral("确定"));
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(checkNow);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(autoCheck);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
