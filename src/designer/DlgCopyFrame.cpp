#include "DlgCopyFrame.h"

#include "DialogParts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int kFirstNumber = 1;
constexpr int kLastNumber = 65535;

} // namespace

DlgCopyFrame::DlgCopyFrame(int source, int number, QWidget* parent)
    : QDialog(parent),
      m_pNumber(NumberField(QStringLiteral("frameNumber"), kFirstNumber, kLastNumber, 1, number)),
      m_nSource(source), m_nNumber(number) {
    setWindowTitle(QStringLiteral("复制画面"));
    auto* label =
        new QLabel(QStringLiteral("复制") + QString::number(source) + QStringLiteral("号画面到:"));
    label->setObjectName(QStringLiteral("sourceLabel"));
    label->setBuddy(m_pNumber);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_pNumber);
    // Wide enough for the caption and two buttons side by side.
    row->addSpacing(64);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(row);
    layout->addWidget(OkCancelButtons(this));
    m_pNumber->setFocus();
    m_pNumber->selectAll();
}

void DlgCopyFrame::accept() {
    const std::int64_t number = m_pNumber->GetValue();
    // A typed number beyond the range would not fit a frame's 16-bit ID.
    if (number < kFirstNumber || number > kLastNumber) {
        ShowRangeMessage(this, kFirstNumber, kLastNumber);
    } else if (number == m_nSource) {
        ShowMessage(this, QMessageBox::Warning, kNoticeCaption, QStringLiteral("画面号不能相同！"));
    } else {
        m_nNumber = static_cast<int>(number);
        QDialog::accept();
        return;
    }
    m_pNumber->setFocus();
    m_pNumber->selectAll();
}
