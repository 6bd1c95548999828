#pragma once

#include <QGroupBox>

class QCheckBox;
class QRadioButton;

// "数制": HEX/BCD, or decimal with or without the sign.
class CNumberFormatGroup : public QGroupBox {
    Q_OBJECT

public:
    // `signedText` "有符号" or "有符号数".
    explicit CNumberFormatGroup(const QString& signedText, QWidget* parent = nullptr);

    void Show(int dataFormat);

signals:
    // 2 for HEX/BCD, 3 for signed decimal, 1 for decimal.
    void FormatChosen(int dataFormat);

private:
    QRadioButton* m_pHex;
    QRadioButton* m_pDecimal;
    QCheckBox* m_pSigned;
};
