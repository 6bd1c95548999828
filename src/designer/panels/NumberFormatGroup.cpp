#include "NumberFormatGroup.h"

#include "ValueRange.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QRadioButton>

CNumberFormatGroup::CNumberFormatGroup(const QString& signedText, QWidget* parent)
    : QGroupBox(QStringLiteral("数制"), parent),
      m_pHex(new QRadioButton(QStringLiteral("HEX/BCD"))),
      m_pDecimal(new QRadioButton(QStringLiteral("十进制"))), m_pSigned(new QCheckBox(signedText)) {
    m_pHex->setObjectName(QStringLiteral("formatHex"));
    m_pDecimal->setObjectName(QStringLiteral("formatDecimal"));
    m_pSigned->setObjectName(QStringLiteral("formatSigned"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 4, 6, 4);
    row->addWidget(m_pHex);
    row->addWidget(m_pDecimal);
    row->addWidget(m_pSigned);
    row->addStretch(1);
    connect(m_pHex, &QRadioButton::clicked, this, [this] {
        m_pSigned->setChecked(false);
        m_pSigned->setEnabled(false);
        emit FormatChosen(kFormatHex);
    });
    connect(m_pDecimal, &QRadioButton::clicked, this, [this] {
        m_pSigned->setEnabled(true);
        emit FormatChosen(m_pSigned->isChecked() ? kFormatDecSign : kFormatDec);
    });
    connect(m_pSigned, &QCheckBox::clicked, this,
            [this](bool on) { emit FormatChosen(on ? kFormatDecSign : kFormatDec); });
}

void CNumberFormatGroup::Show(int dataFormat) {
    const bool hex = dataFormat == kFormatHex;
    m_pHex->setChecked(hex);
    m_pDecimal->setChecked(!hex);
    m_pSigned->setChecked(dataFormat == kFormatDecSign);
    m_pSigned->setEnabled(!hex);
}
