#include "PanelParts.h"

#include "GraphBase.h"

#include <QFormLayout>
#include <QLabel>

#include <memory>

NumberField NewNumberField(const QString& name) {
    auto* edit = new CNumEditCtrl;
    edit->setObjectName(name);
    return {edit, new CNumSpinCtrl(edit)};
}

NumFormat EditFormat(int dataFormat) {
    return dataFormat >= 0 && dataFormat <= 3 ? static_cast<NumFormat>(dataFormat) : NumFormat::Dec;
}

void OnNumberEdited(CNumEditCtrl* edit, const std::function<void(std::int64_t, bool)>& edited) {
    auto typed = std::make_shared<bool>(false);
    QObject::connect(edit, &CNumEditCtrl::ValueEdited, edit,
                     [edit, edited, typed](std::int64_t value) {
                         // Typing marks the edit modified; a spin step or a correction writes its
                         // text anew.
                         const bool typing = edit->isModified();
                         *typed = typing;
                         edited(value, typing);
                     });
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, edited, typed] {
        if (!*typed)
            return;
        *typed = false;
        edited(edit->GetValue(), false);
    });
}

void CorrectTypedValue(CNumEditCtrl* edit, std::int64_t value) {
    edit->SetValue(value);
    edit->selectAll();
}

void ShiftInsidePanel(CGraphBase& element) {
    QRect rect = element.GetRect();
    if (rect.left() < 0)
        rect.moveLeft(0);
    if (rect.left() + rect.width() > kPanelWidth)
        rect.moveLeft(kPanelWidth - rect.width());
    if (rect.top() < 0)
        rect.moveTop(0);
    if (rect.top() + rect.height() > kPanelHeight)
        rect.moveTop(kPanelHeight - rect.height());
    element.SetRect(rect);
}

QLabel* NewLabel(const QString& text, const QString& name) {
    auto* label = new QLabel(text);
    if (!name.isEmpty())
        label->setObjectName(name);
    return label;
}

QFormLayout* NewFormLayout(QWidget* parent) {
    auto* form = new QFormLayout(parent);
    form->setContentsMargins(6, 4, 6, 4);
    form->setHorizontalSpacing(6);
    form->setVerticalSpacing(4);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return form;
}
