#pragma once

#include <QClipboard>
#include <QLineEdit>

#include <cstdint>

// How a numeric edit shows and reads its value; the same values as the project's number
// formats, so a stored format converts with a cast (any other value shows unsigned decimal).
enum class NumFormat : int { Oct = 0, Dec = 1, Hex = 2, DecSign = 3 };

// An edit holding a 64-bit integer shown in one of the four formats. Typed and pasted
// characters that do not fit the format are refused with a beep; losing the focus corrects
// the value into the range (and to an even value when even-only is set).
//
// ValueEdited comes whenever the user changes the value: per keystroke while typing, on a
// paste, a spin step or a correction, and from EnterValue; SetValue never emits.
class CNumEditCtrl : public QLineEdit {
    Q_OBJECT

public:
    explicit CNumEditCtrl(QWidget* parent = nullptr);

    // Shows `value` in the format; the text is replaced only when it differs.
    void SetValue(std::int64_t value);
    // The text read in the format; an empty edit is first set to "0".
    std::int64_t GetValue();
    // Shows `value` as if the user had entered it.
    void EnterValue(std::int64_t value);

    NumFormat GetFormat() const { return m_format; }
    // Shows the current value again in the new format.
    void SetFormat(NumFormat format);

    void SetRange(double minimum, double maximum);

    void SetEvenOnly(bool evenOnly) { m_evenOnly = evenOnly; }

    // Dialog data exchange works in decimal whatever the edit shows.
    QString GetDecimalText();
    void SetDecimalText(const QString& text);

signals:
    void ValueEdited(std::int64_t value);
    // Comes with the beep when a typed or pasted character does not fit the format.
    void InputRefused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool Fits(QChar c) const;
    void PasteChecked(QClipboard::Mode mode);
    void Refuse();
    // Paints the selection, or leaves it unseen while the edit has no focus.
    void ShowSelection(bool shown);
    void ReportValue(std::int64_t value);

    NumFormat m_format = NumFormat::Dec;
    double m_minimum = 0;
    double m_maximum = 65535;
    bool m_evenOnly = false;
    std::int64_t m_value = 0; // the value last shown or reported, so each change reports once
};
