#include "DlgAlarmList.h"

#include "AddressGroup.h"
#include "AlarmList.h"
#include "ColourGroup.h"
#include "DialogParts.h"
#include "EditableGrid.h"
#include "FontGroup.h"
#include "KoravelDoc.h"
#include "Markup.h"
#include "PanelParts.h"
#include "commands/PropertyCommands.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace {

enum Column { kLabelColumn, kContentColumn };
enum Colour { kWindowBackground, kTextBackground, kTextColour };

QString SavedText(const CAlarmList& list) {
    CMarkup xml;
    xml.AppendElement(u"AlarmList");
    list.SaveXml(xml);
    return xml.GetDocumentText();
}

// Every text, the empty ones too: the file leaves them out when none is in use.
bool SameAlarmList(const CAlarmList& a, const CAlarmList& b) {
    if (SavedText(a) != SavedText(b) || a.m_bTextBackground != b.m_bTextBackground)
        return false;
    for (int k = 0; k < kTextListSize; ++k) {
        if ((*a.m_pTexts)[k].m_strContent != (*b.m_pTexts)[k].m_strContent)
            return false;
    }
    return true;
}

} // namespace

DlgAlarmList::DlgAlarmList(const CAlarmList* alarmList, const CPLCEntity* plc, QWidget* parent)
    : QDialog(parent),
      m_pList(alarmList ? std::make_unique<CAlarmList>(*alarmList) : std::make_unique<CAlarmList>(plc)),
      m_pPlc(plc), m_pColours(new CColourGroup),
      m_pBackground(new QCheckBox(QStringLiteral("背景"))), m_pFont(new CFontGroup),
      m_pAddress(new CAddressGroup(QStringLiteral("报警列表起始线圈"), QStringLiteral("类型:"))),
      m_pGrid(new CEditableGrid) {
    setObjectName(QStringLiteral("alarmListDialog"));
    setWindowTitle(QStringLiteral("报警列表"));
    m_pColours->AddColour(QStringLiteral("窗口背景色:"), QStringLiteral("windowColour"));
    m_pColours->AddColour(QStringLiteral("字体背景色:"), QStringLiteral("textBackColour"));
    m_pColours->AddColour(QStringLiteral("字体前景色:"), QStringLiteral("textColour"));
    m_pBackground->setObjectName(QStringLiteral("background"));

    m_pGrid->setObjectName(QStringLiteral("alarmTexts"));
    m_pGrid->setColumnCount(2);
    m_pGrid->setRowCount(kTextListSize);
    m_pGrid->setHorizontalHeaderLabels({QStringLiteral("线图"), QStringLiteral("报警内容")});
    m_pGrid->SetColumnWidthTwips(kLabelColumn, 1000);
    m_pGrid->SetColumnWidthTwips(kContentColumn, 5000);
    m_pGrid->SetRowHeightTwips(400);
    m_pGrid->SetColumnRule(kContentColumn, {true, 255, false, false});
    m_pGrid->setMinimumWidth(m_pGrid->columnWidth(kLabelColumn) +
                             m_pGrid->columnWidth(kContentColumn) + 24);
    m_pGrid->setMinimumHeight(400);
    for (int row = 0; row < kTextListSize; ++row)
        m_pGrid->SetCellText(row, kContentColumn, (*m_pList->m_pTexts)[row].m_strContent);

    connect(m_pColours, &CColourGroup::ColourChosen, this, [this](int index, std::uint32_t colour) {
        (index == kWindowBackground ? m_pList->m_nBkColor
         : index == kTextBackground ? m_pList->m_nTxtBkColor
                                    : m_pList->m_nTxtForeColor) = colour;
    });
    connect(m_pBackground, &QCheckBox::clicked, this,
            [this](bool on) { m_pList->m_bTextBackground = on; });
    connect(m_pFont, &CFontGroup::FaceChosen, this,
            [this](const QString& face) { m_pList->m_strFontName = face; });
    connect(m_pFont, &CFontGroup::SizeChosen, this,
            [this](int size) { m_pList->m_nFontSize = size; });
    connect(m_pAddress, &CAddressGroup::Edited, this,
            [this](const QString&, const AddressChange& change) {
                change(m_pList->m_Alarm);
                Show();
            });
    connect(m_pGrid, &CEditableGrid::EditingEnded, this, [this](bool written) {
        if (written)
            ReadTexts();
    });

    QDialogButtonBox* buttons = OkCancelButtons(this);

    auto* settings = new QVBoxLayout;
    settings->addWidget(m_pColours);
    settings->addWidget(m_pBackground);
    settings->addWidget(m_pFont);
    settings->addWidget(m_pAddress);
    settings->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addLayout(settings);
    body->addWidget(m_pGrid, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(body);
    column->addWidget(buttons);
    Show();
}

DlgAlarmList::~DlgAlarmList() = default;

std::unique_ptr<CAlarmList> DlgAlarmList::TakeAlarmList() {
    return std::move(m_pList);
}

void DlgAlarmList::Show() {
    m_pColours->Show(kWindowBackground, m_pList->m_nBkColor);
    m_pColours->Show(kTextBackground, m_pList->m_nTxtBkColor);
    m_pColours->Show(kTextColour, m_pList->m_nTxtForeColor);
    m_pBackground->setChecked(m_pList->m_bTextBackground);
    m_pFont->Show(m_pList->m_strFontName, m_pList->m_nFontSize);
    m_pAddress->Show(m_pList->m_Alarm, PLCOrNone(m_pPlc));
    ShowLabels();
}

void DlgAlarmList::ShowLabels() {
    const QString type = m_pList->m_Alarm.GetTypeName();
    const int first = m_pList->m_Alarm.GetAddress();
    for (int row = 0; row < kTextListSize; ++row)
        m_pGrid->SetCellText(row, kLabelColumn, type + QString::number(first + row));
}

void DlgAlarmList::ReadTexts() {
    for (int row = 0; row < kTextListSize; ++row)
        (*m_pList->m_pTexts)[row].m_strContent = m_pGrid->GetCellText(row, kContentColumn);
}

void DlgAlarmList::keyPressEvent(QKeyEvent* event) {
    // Enter takes a typed number; only the buttons close the dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}

void DlgAlarmList::accept() {
    ReadTexts();
    QDialog::accept();
}

void EditAlarmList(CKoravelDoc& doc, QWidget* parent) {
    const CKoravelProject& project = doc.Project();
    DlgAlarmList dialog(project.m_pAlarmList.get(), project.m_pCurrentPLC, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A project without an alarm list gets one on OK, changed or not.
    if (project.m_pAlarmList && SameAlarmList(*project.m_pAlarmList, dialog.AlarmList()))
        return;
    doc.Push(new CmdChangeAlarmList(doc, dialog.TakeAlarmList()));
}
