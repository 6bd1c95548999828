#include "DlgFrame.h"

#include "ColorButton.h"
#include "ColourGroup.h"
#include "KoravelDoc.h"
#include "commands/PropertyCommands.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kMaxFrameId = 65535;

// A typed frame number from `lowest` to the highest, shown corrected when it had to be.
std::int32_t FrameNumber(CNumEditCtrl* edit, std::int64_t value, int lowest) {
    const std::int64_t number = std::clamp<std::int64_t>(value, lowest, kMaxFrameId);
    if (number != value)
        CorrectTypedValue(edit, number);
    return static_cast<std::int32_t>(number);
}

} // namespace

DlgFrame::DlgFrame(CKoravelDoc& doc)
    : QGroupBox(QStringLiteral("画面属性")), m_doc(doc), m_pNumber(new CNumEditCtrl),
      m_pDesc(new QPlainTextEdit), m_prev(NewNumberField(QStringLiteral("prevId"))),
      m_next(NewNumberField(QStringLiteral("nextId"))),
      m_pBkColor(NewColourButton(QStringLiteral("backColour"))) {
    setObjectName(QStringLiteral("framePanel"));
    m_pNumber->setObjectName(QStringLiteral("frameNumber"));
    m_pNumber->SetRange(1, kMaxFrameId);
    m_pDesc->setObjectName(QStringLiteral("description"));
    m_pDesc->setTabChangesFocus(true);
    m_pDesc->setMaximumHeight(80);

    // The number is the frame's identity: it is taken when the user has finished it.
    connect(m_pNumber, &QLineEdit::editingFinished, this, &DlgFrame::OnNumber);
    connect(m_pDesc, &QPlainTextEdit::textChanged, this, &DlgFrame::OnDescription);
    OnNumberEdited(m_prev.edit, [this](std::int64_t value, bool) {
        const auto id = FrameNumber(m_prev.edit, value, 0);
        Change(QStringLiteral("prev"), [id](FrameProperties& frame) { frame.prevId = id; });
    });
    OnNumberEdited(m_next.edit, [this](std::int64_t value, bool) {
        const auto id = FrameNumber(m_next.edit, value, 0);
        Change(QStringLiteral("next"), [id](FrameProperties& frame) { frame.nextId = id; });
    });
    connect(m_pBkColor, &CColorButton::SelectionEnded, this, [this](std::uint32_t colour) {
        Change(QStringLiteral("colour"),
               [colour](FrameProperties& frame) { frame.bkColor = colour; });
    });

    auto* number = new QWidget;
    auto* numberRow = new QHBoxLayout(number);
    numberRow->setContentsMargins(0, 0, 0, 0);
    numberRow->addWidget(m_pNumber);
    numberRow->addWidget(new QLabel(QStringLiteral("号画面")));
    numberRow->addStretch(1);

    QFormLayout* form = NewFormLayout();
    form->addRow(number);
    form->addRow(new QLabel(QStringLiteral("画面描述:")));
    form->addRow(m_pDesc);
    form->addRow(QStringLiteral("按向上键至画面:"), m_prev.edit);
    form->addRow(QStringLiteral("按向下键至画面:"), m_next.edit);
    form->addRow(QStringLiteral("背景色:"), m_pBkColor);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addStretch(1);
}

void DlgFrame::Bind(CHMIFrame* frame) {
    if (frame != m_pFrame)
        ForgetTyping(this);
    m_pFrame = frame;
    Refresh();
}

void DlgFrame::Refresh() {
    if (!m_pFrame)
        return;
    m_bShowing = true;
    m_pNumber->SetValue(m_pFrame->m_nID);
    if (m_pDesc->toPlainText() != m_pFrame->m_strDesc)
        m_pDesc->setPlainText(m_pFrame->m_strDesc);
    m_prev.spin->Bind(0, kMaxFrameId, 1, m_pFrame->m_nPrevID, NumFormat::Dec);
    m_next.spin->Bind(0, kMaxFrameId, 1, m_pFrame->m_nNextID, NumFormat::Dec);
    m_pBkColor->SetColor(m_pFrame->m_nBkColor);
    m_bShowing = false;
}

void DlgFrame::Change(const QString& property, const std::function<void(FrameProperties&)>& set) {
    if (!m_pFrame)
        return;
    FrameProperties after = FrameProperties::Of(*m_pFrame);
    set(after);
    m_doc.Push(new CmdChangeFrame(m_doc, m_pFrame, property, after));
}

void DlgFrame::OnNumber() {
    if (!m_pFrame)
        return;
    const auto id =
        static_cast<std::uint16_t>(std::clamp<std::int64_t>(m_pNumber->GetValue(), 1, kMaxFrameId));
    if (id == m_pFrame->m_nID) {
        m_pNumber->SetValue(id);
        return;
    }
    const QString name = QString::number(id);
    const CHMIFrame* named = m_doc.Project().FrameNamed(name);
    if (named && named != m_pFrame) {
        m_pNumber->SetValue(m_pFrame->m_nID);
        QMessageBox::warning(this, QStringLiteral("提示"), kFrameExistsMessage);
        return;
    }
    Change(QStringLiteral("number"), [id, name](FrameProperties& frame) {
        frame.id = id;
        frame.name = name;
    });
}

void DlgFrame::OnDescription() {
    if (m_bShowing || !m_pFrame || m_pDesc->toPlainText() == m_pFrame->m_strDesc)
        return;
    const QString desc = m_pDesc->toPlainText();
    Change(QStringLiteral("desc"), [desc](FrameProperties& frame) { frame.desc = desc; });
}
