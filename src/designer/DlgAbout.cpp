#include "DlgAbout.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kIconSize = 48;

QLabel* Line(const QString& name, const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

DlgAbout::DlgAbout(const QString& version, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于我们"));
    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("applicationIcon"));
    icon->setPixmap(QIcon(QStringLiteral(":/icons/application.svg"))
                        .pixmap(QSize(kIconSize, kIconSize), devicePixelRatio()));
    icon->setAlignment(Qt::AlignTop);

    QLabel* name = Line(QStringLiteral("programName"), QStringLiteral("KV250 组态软件 designer"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("确定"));
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0, 4, 1);
    layout->addWidget(name, 0, 1);
    layout->addWidget(Line(QStringLiteral("version"), QStringLiteral("版本 ") + version), 1, 1);
    layout->addWidget(
        Line(QStringLiteral("notice"), QStringLiteral("为KV250文本显示器编辑、编译和下载画面。")),
        2, 1);
    layout->addWidget(Line(QStringLiteral("copyright"),
                           QStringLiteral("版权所有 © Halvern-Koravel，保留所有权利。")),
                      3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);
}

QString DlgAbout::BuildVersion() {
    return QStringLiteral(KV_PROGRAM_VERSION);
}
