#pragma once

#include "NumEditCtrl.h"
#include "NumSpinCtrl.h"

#include <QString>

#include <cstdint>
#include <functional>

class CGraphBase;
class QFormLayout;
class QLabel;
class QWidget;

// What the property panels and the alarm list dialog share.

// A numeric edit with its spin button. The edit is named `name` for tests.
struct NumberField {
    CNumEditCtrl* edit;
    CNumSpinCtrl* spin;
};
NumberField NewNumberField(const QString& name);

// How a numeric edit shows a stored number format (any other value shows decimal).
NumFormat EditFormat(int dataFormat);

// Calls `edited(value, typing)` for every change the user makes in `edit`. `typing` is true
// while the user types, when more digits may follow; it is false for a spin step or a
// correction, and once more when the typing ends (Enter, or leaving the field). Rules that
// change another field wait for the end of the typing, so that the first digit of a number
// does not overturn a value the user meant to keep.
void OnNumberEdited(CNumEditCtrl* edit, const std::function<void(std::int64_t, bool)>& edited);

// Ends the typing in every numeric edit of `panel` without its end: the panel shows another
// object now.
void ForgetTyping(QWidget* panel);

// Shows `value` in `edit` in place of what was typed, fully selected.
void CorrectTypedValue(CNumEditCtrl* edit, std::int64_t value);

// Moves the element, keeping its size, to lie within the panel: a rectangle wider than the
// panel ends up at its right edge.
void ShiftInsidePanel(CGraphBase& element);

// A label with `text` named `name`, for the fields whose label texts change.
QLabel* NewLabel(const QString& text, const QString& name = {});

// A form layout in the panels' compact spacing.
QFormLayout* NewFormLayout(QWidget* parent = nullptr);
