#include "DlgNewFrame.h"

#include "DialogParts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// The spin offers fewer numbers than a frame may have.
constexpr int kSpinMaximum = 6000;
constexpr int kFirstNumber = 1;
constexpr int kLastNumber = 60000;
constexpr int kDescLength = 256;

} // namespace

DlgNewFrame::DlgNewFrame(int number, QWidget* parent)
    : QDialog(parent),
      m_pNumber(NumberField(QStringLiteral("frameNumber"), 0, kSpinMaximum, 1, number)),
      m_pDesc(new QLineEdit), m_nNumber(number) {
    setWindowTitle(QStringLiteral("新建画面"));
    m_pDesc->setObjectName(QStringLiteral("frameDesc"));
    m_pDesc->setMaxLength(kDescLength);
    m_pDesc->setMinimumWidth(m_pDesc->fontMetrics().horizontalAdvance(QString(24, u'画')));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("画面号:"), m_pNumber);
    form->addRow(QStringLiteral("画面描述:"), m_pDesc);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
    m_pNumber->setFocus();
    m_pNumber->selectAll();
}

QString DlgNewFrame::GetDesc() const {
    return m_pDesc->text();
}

void DlgNewFrame::accept() {
    const std::int64_t number = m_pNumber->GetValue();
    if (number < kFirstNumber || number > kLastNumber) {
        ShowRangeMessage(this, kFirstNumber, kLastNumber);
        m_pNumber->setFocus();
        m_pNumber->selectAll();
        return;
    }
    m_nNumber = static_cast<int>(number);
    QDialog::accept();
}
