#include "DialogParts.h"

#include "NumSpinCtrl.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("确定"));
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(QStringLiteral("取消"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                 const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

void ShowRangeMessage(QWidget* parent, int minimum, int maximum) {
    // The application's name is the caption of the framework's own messages.
    ShowMessage(parent, QMessageBox::Warning, QStringLiteral("designer"),
                QStringLiteral("“请填入一个在%1和%2之间的整数。”").arg(minimum).arg(maximum));
}

CNumEditCtrl* NumberField(const QString& name, double minimum, double maximum, double step,
                          std::int64_t value, NumFormat format) {
    auto* edit = new CNumEditCtrl;
    edit->setObjectName(name);
    auto* spin = new CNumSpinCtrl(edit);
    spin->Bind(minimum, maximum, step, value, format);
    // Room for eight digits beside the buttons.
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(8, u'0')) +
                        spin->sizeHint().width() + 12);
    return edit;
}
