#include "PanelParts.h"

#include "GraphBase.h"

#include <QFormLayout>
#include <QLabel>
#include <QVariant>

NumberField NewNumberField(const QString& name) {
    auto* edit = new CNumEditCtrl;
    edit->setObjectName(name);
    return {edit, new CNumSpinCtrl(edit)};
}

NumFormat EditFormat(int dataFormat) {
    return dataFormat >= 0 && dataFormat <= 3 ? static_cast<NumFormat>(dataFormat) : NumFormat::Dec;
}

namespace {

// The value the typing left in an edit, while its end is still to come.
constexpr char kTypedValue[] = "typedValue";

} // namespace

void OnNumberEdited(CNumEditCtrl* edit, const std::function<void(std::int64_t, bool)>& edited) {
    QObject::connect(edit, &CNumEditCtrl::ValueEdited, edit, [edit, edited](std::int64_t value) {
        // Typing marks the edit modified; a spin step or a correction writes its text anew.
        const bool typing = edit->isModified();
        edited(value, typing);
        edit->setProperty(kTypedValue, typing ? QVariant::fromValue(edit->GetValue()) : QVariant());
    });
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, edited] {
        const QVariant typed = edit->property(kTypedValue);
        edit->setProperty(kTypedValue, QVariant());
        if (typed.isValid())
            edited(typed.value<std::int64_t>(), false);
    });
}

void ForgetTyping(QWidget* panel) {
    for (CNumEditCtrl* edit : panel->findChildren<CNumEditCtrl*>())
        edit->setProperty(kTypedValue, QVariant());
}

void CorrectTypedValue(CNumEditCtrl* edit, std::int64_t value) {
    edit->SetValue(value);
    edit->selectAll();
}

void ShiftInsidePanel(CGraphBase& element) {
    element.SetRect(CGraphBase::ShiftedIntoPanel(element.GetRect()));
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
