#pragma once

#include "NumEditCtrl.h"

#include <QMessageBox>
#include <QString>

#include <cstdint>

class QDialog;
class QDialogButtonBox;

// The pieces the designer's dialogs share.

// The caption of the program's notices.
inline const QString kNoticeCaption = QStringLiteral("提示");

// The OK and Cancel buttons of a dialog, "确定" (the default button) and "取消", wired to accept
// and reject; object names "okButton" and "cancelButton". Qt's own translations are not
// installed with the program, so the texts are set here.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

// A modal message with one "确定" button.
void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                 const QString& text);

// The message of a number field whose value lies outside minimum..maximum.
void ShowRangeMessage(QWidget* parent, int minimum, int maximum);

// A numeric edit with its spin button, bound to minimum..maximum in steps of `step`, named
// `name` for tests.
CNumEditCtrl* NumberField(const QString& name, double minimum, double maximum, double step,
                          std::int64_t value, NumFormat format = NumFormat::Dec);
