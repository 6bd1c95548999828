#include "DlgDriverSetting.h"

#include "DialogParts.h"
#include "NumSpinCtrl.h"
#include "PLCFactory.h"
#include "PLCNumber.h"
#include "Profile.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kProfileSection = QStringLiteral("Protocols");
const QString kProfileEntry = QStringLiteral("PLCID");

QComboBox* List(const QString& name, const QStringList& items = {}) {
    auto* list = new QComboBox;
    list->setObjectName(name);
    list->addItems(items);
    return list;
}

// A stored index that names no entry selects none.
void SelectIndex(QComboBox* list, int index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

// An index only for a list that has a selection; otherwise the stored value stays.
void TakeIndex(const QComboBox* list, std::int32_t& value) {
    if (list->currentIndex() >= 0)
        value = list->currentIndex();
}

bool AsksForDisplayID(const CPLCEntity* plc) {
    return plc && plc->GetDisplay().visible;
}

} // namespace

DlgDriverSetting::DlgDriverSetting(const CPLCFactory& catalog, const CPLCEntity* current,
                                   const CCommPara& comm, QWidget* parent)
    : QDialog(parent), m_pInput(current), m_CommPara(comm), m_pPLCList(List("plcList")),
      m_pBaudList(List("baudList")), m_pDataBitList(List("dataBitList", {"7", "8"})),
      m_pStopBitList(List("stopBitList", {"1", "2"})),
      m_pParityList(List("parityList", {"无", "奇校验", "偶校验"})),
      m_pSerialTypeList(List("serialTypeList", {"RS232", "RS422", "RS485"})),
      m_pStationLabel(new QLabel(QStringLiteral("文本站号:"))),
      m_pStation(NumberField(QStringLiteral("station"), 0, 255, 1, comm.m_nDisplayID)),
      m_pDefaults(new QPushButton(QStringLiteral("默认值"))) {
    setWindowTitle(QStringLiteral("驱动设置"));

    // The selectable PLCs are numbered from 1 without gaps.
    for (int id = 1; id <= catalog.GetCount(); ++id) {
        if (const CPLCEntity* plc = catalog.GetPLC(static_cast<std::uint16_t>(id))) {
            m_plcs.push_back(plc);
            m_pPLCList->addItem(plc->GetName());
        }
    }
    const auto listed = [this](int id) -> const CPLCEntity* {
        const auto found = std::find_if(m_plcs.begin(), m_plcs.end(), [id](const CPLCEntity* p) {
            return p->GetProtocolID() == id;
        });
        return found != m_plcs.end() ? *found : nullptr;
    };
    const CPLCEntity* plc = current;
    if (!plc) {
        plc = listed(ProfileReadInt(kProfileSection, kProfileEntry, 1));
        if (!plc)
            plc = listed(1);
        if (plc)
            TakeDefaults(*plc);
    }
    m_bMissingPLC = !plc;

    m_pStationLabel->setObjectName(QStringLiteral("stationLabel"));
    m_pStationLabel->setBuddy(m_pStation);
    m_pDefaults->setObjectName(QStringLiteral("defaultsButton"));
    m_pDefaults->setAutoDefault(false);
    m_pPLCList->setMinimumContentsLength(24);

    auto* plcBox = new QGroupBox(QStringLiteral("厂商驱动"));
    auto* plcLayout = new QVBoxLayout(plcBox);
    plcLayout->addWidget(m_pPLCList);

    auto* commBox = new QGroupBox(QStringLiteral("通信参数"));
    auto* grid = new QGridLayout(commBox);
    const auto addRow = [grid](int row, int column, const QString& label, QWidget* field) {
        auto* text = new QLabel(label);
        text->setBuddy(field);
        grid->addWidget(text, row, column);
        grid->addWidget(field, row, column + 1);
    };
    addRow(0, 0, QStringLiteral("波特率:"), m_pBaudList);
    addRow(0, 2, QStringLiteral("数据位:"), m_pDataBitList);
    addRow(1, 0, QStringLiteral("停止位:"), m_pStopBitList);
    addRow(1, 2, QStringLiteral("校验位:"), m_pParityList);
    addRow(2, 0, QStringLiteral("通信类型:"), m_pSerialTypeList);
    grid->addWidget(m_pStationLabel, 2, 2);
    grid->addWidget(m_pStation, 2, 3);
    grid->setColumnMinimumWidth(2, 64);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    // The dialog keeps its size while the station field comes and goes.
    for (QWidget* station :
         {static_cast<QWidget*>(m_pStationLabel), static_cast<QWidget*>(m_pStation)}) {
        QSizePolicy policy = station->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        station->setSizePolicy(policy);
    }

    QDialogButtonBox* buttons = OkCancelButtons(this);
    m_pOK = buttons->button(QDialogButtonBox::Ok);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_pDefaults);
    bottom->addStretch();
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(plcBox);
    layout->addWidget(commBox);
    layout->addLayout(bottom);

    Select(plc);
    ShowParameters(plc);
    connect(m_pPLCList, &QComboBox::currentIndexChanged, this, &DlgDriverSetting::OnPLCChosen);
    connect(m_pDefaults, &QPushButton::clicked, this, &DlgDriverSetting::OnPLCChosen);
    m_pPLCList->setFocus();
}

void DlgDriverSetting::accept() {
    const CPLCEntity* plc = SelectedPLC();
    if (!plc)
        return;
    m_pChosen = plc;
    m_bChanged = plc != m_pInput;
    // A stored rate that the PLC does not list stays as stored.
    if (m_pBaudList->currentIndex() >= 0)
        m_CommPara.m_nBaudRate = ParseInt(m_pBaudList->currentText());
    TakeIndex(m_pDataBitList, m_CommPara.m_nDataBit);
    TakeIndex(m_pStopBitList, m_CommPara.m_nStopBit);
    TakeIndex(m_pParityList, m_CommPara.m_nParityBit);
    TakeIndex(m_pSerialTypeList, m_CommPara.m_nSerialType);
    if (AsksForDisplayID(plc))
        m_CommPara.m_nDisplayID =
            static_cast<std::uint16_t>(std::clamp<std::int64_t>(m_pStation->GetValue(), 0, 255));
    ProfileWriteInt(kProfileSection, kProfileEntry, plc->GetProtocolID());
    QDialog::accept();
}

void DlgDriverSetting::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_bMissingPLC)
        return;
    m_bMissingPLC = false;
    // Told once the dialog is on the screen, so the message stands over it.
    QTimer::singleShot(0, this, [this] {
        ShowMessage(this, QMessageBox::Information, kNoticeCaption,
                    QStringLiteral("读取上次的PLC出错了！"));
    });
}

const CPLCEntity* DlgDriverSetting::SelectedPLC() const {
    const int index = m_pPLCList->currentIndex();
    return index >= 0 ? m_plcs[static_cast<std::size_t>(index)] : nullptr;
}

void DlgDriverSetting::Select(const CPLCEntity* plc) {
    const auto found = std::find(m_plcs.begin(), m_plcs.end(), plc);
    m_pPLCList->setCurrentIndex(found != m_plcs.end() ? static_cast<int>(found - m_plcs.begin())
                                                      : -1);
}

void DlgDriverSetting::TakeDefaults(const CPLCEntity& plc) {
    m_CommPara.m_nBaudRate = plc.GetDefaultBaud();
    m_CommPara.m_nDataBit = plc.GetDataBits();
    m_CommPara.m_nStopBit = plc.GetStopBits();
    m_CommPara.m_nParityBit = plc.GetParity();
    m_CommPara.m_nSerialType = plc.GetCOMMType();
    if (AsksForDisplayID(&plc))
        m_CommPara.m_nDisplayID = plc.GetDisplay().defaultValue;
}

void DlgDriverSetting::ShowParameters(const CPLCEntity* plc) {
    m_pBaudList->clear();
    if (plc)
        m_pBaudList->addItems(plc->GetSupportedBaud());
    m_pBaudList->setCurrentIndex(m_pBaudList->findText(QString::number(m_CommPara.m_nBaudRate)));
    SelectIndex(m_pDataBitList, m_CommPara.m_nDataBit);
    SelectIndex(m_pStopBitList, m_CommPara.m_nStopBit);
    SelectIndex(m_pParityList, m_CommPara.m_nParityBit);
    SelectIndex(m_pSerialTypeList, m_CommPara.m_nSerialType);

    const bool station = AsksForDisplayID(plc);
    if (station)
        m_pStation->findChild<CNumSpinCtrl*>()->Bind(
            0, 255, 1, m_CommPara.m_nDisplayID,
            static_cast<NumFormat>(plc->GetDisplay().dataFormat));
    m_pStationLabel->setVisible(station);
    m_pStation->setVisible(station);
    m_pDefaults->setEnabled(plc != nullptr);
    m_pOK->setEnabled(plc != nullptr);
}

void DlgDriverSetting::OnPLCChosen() {
    const CPLCEntity* plc = SelectedPLC();
    if (plc)
        TakeDefaults(*plc);
    ShowParameters(plc);
}
