#include "DlgKoravelSetting.h"

#include "DialogParts.h"
#include "NumSpinCtrl.h"
#include "PLCNumber.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

constexpr int kPassWordMaximum = 9999;
constexpr int kWaitTimeMaximum = 60;
constexpr int kUseFrameSecondMaximum = 255;
constexpr int kAddressMaximum = 65535;

const QString kFromDevice = QStringLiteral("(文本<-设备)");
const QString kToDevice = QStringLiteral("(文本->设备)");
const QString kPackedClock = QStringLiteral("%s:秒  %s%s:时(高8位)+分(低8位)\r\n\r\n%s%s:月(高8位)+"
                                            "日(低8位)  %s%s:年(高8位)+星期(低8位)");
const QString kClock = QStringLiteral("秒:%s  分:%s%s  时:%s%s  \r\n\r\n日:%s%s  月:%s%s  年:%s%s  "
                                      "星期:%s%s");

QLabel* Text(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    return label;
}

QCheckBox* CheckBox(const QString& name, const QString& text, bool checked) {
    auto* box = new QCheckBox(text);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

void AddRow(QGridLayout* grid, int row, const QString& label, QWidget* field) {
    auto* text = new QLabel(label);
    text->setBuddy(field);
    grid->addWidget(text, row, 0);
    grid->addWidget(field, row, 1);
}

// Hidden fields keep their place, so the dialog does not jump while they come and go.
void KeepPlace(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// Each "%s" of `format` in turn by the next of `parts`.
QString FillIn(const QString& format, const QStringList& parts) {
    QStringList pieces = format.split(QStringLiteral("%s"));
    QString text = pieces.takeFirst();
    for (qsizetype i = 0; i < pieces.size(); ++i)
        text += parts.value(i) + pieces[i];
    return text;
}

std::pair<int, int> AddrBounds(const CPLCAddress& reg) {
    const CPLCRegType* type = reg.GetRegType();
    if (!type)
        return {0, kAddressMaximum};
    return {type->GetAddr().minValue, type->GetAddr().maxValue};
}

int AddrFormat(const CPLCAddress& reg) {
    return reg.GetRegType() ? reg.GetRegType()->GetAddr().dataFormat : PLC_DEC;
}

std::uint16_t Clamped(std::int64_t value, int minimum, int maximum) {
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(value, minimum, maximum));
}

} // namespace

DlgKoravelSetting::DlgKoravelSetting(const CKoravelSetting& setting, const CPLCEntity& plc,
                                     int highestFrame, QWidget* parent)
    : QDialog(parent), m_Setting(setting) {
    setWindowTitle(QStringLiteral("文本显示器设置"));
    highestFrame = std::max(highestFrame, 1);
    // The start and screen-saver frames must name frames of the project.
    m_Setting.m_nBeginFrame = Clamped(m_Setting.m_nBeginFrame, 1, highestFrame);
    m_Setting.m_nSaverFrame = Clamped(m_Setting.m_nSaverFrame, 1, highestFrame);

    auto* top = new QHBoxLayout;
    top->addWidget(FrameBox(highestFrame));
    top->addWidget(StartUpBox(highestFrame));

    m_pCanOffline = CheckBox(QStringLiteral("canOffline"), QStringLiteral("允许去掉通讯运行"),
                             m_Setting.m_bCanOffline);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_pCanOffline);
    bottom->addStretch();
    // Enter moves the focus here, so no button is a default button that Enter would click.
    for (const auto& [name, text, role] : {std::tuple{"okButton", "确定", &QDialog::accept},
                                           std::tuple{"cancelButton", "取消", &QDialog::reject}}) {
        auto* button = new QPushButton(QString::fromUtf8(text));
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, role);
        bottom->addWidget(button);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(top);
    layout->addWidget(RegisterBox(plc));
    layout->addLayout(bottom);

    for (QWidget* field : m_startUpFields)
        field->setVisible(m_Setting.m_bUseFrame);
    ShowRegisters();
    m_pBeginFrame->setFocus();
}

QWidget* DlgKoravelSetting::FrameBox(int highestFrame) {
    m_pBeginFrame =
        NumberField(QStringLiteral("beginFrame"), 1, highestFrame, 1, m_Setting.m_nBeginFrame);
    m_pBeginFrame->setToolTip(QStringLiteral("文本开机画面序号."));
    m_pPassWord =
        NumberField(QStringLiteral("passWord"), 0, kPassWordMaximum, 1, m_Setting.m_nPassWord);
    m_pPassWord->setToolTip(QStringLiteral("设置密码\n\n数字范围: 1 - 65535\n\n0表示不使用."));
    m_pWaitTime =
        NumberField(QStringLiteral("waitTime"), 0, kWaitTimeMaximum, 1, m_Setting.m_nWaitTime);
    m_pWaitTime->setToolTip(
        QStringLiteral("屏保时间\n\n数字范围: 1 - 60\n\n单位：分钟\n\n设置为0则背光常亮"));
    m_pShowFrame = new QRadioButton(QStringLiteral("显示画面"));
    m_pShowFrame->setObjectName(QStringLiteral("showFrame"));
    m_pShowFrame->setToolTip(QStringLiteral("屏保显示画面."));
    m_pSaverFrame =
        NumberField(QStringLiteral("saverFrame"), 1, highestFrame, 1, m_Setting.m_nSaverFrame);
    m_pSaverFrame->setToolTip(QStringLiteral("屏保显示画面序号."));
    m_pBackLight = new QRadioButton(QStringLiteral("关闭背景光"));
    m_pBackLight->setObjectName(QStringLiteral("backLight"));
    m_pBackLight->setToolTip(QStringLiteral("屏保时关闭背光."));
    auto* group = new QButtonGroup(this);
    group->addButton(m_pShowFrame);
    group->addButton(m_pBackLight);
    (m_Setting.m_bBackLight ? m_pBackLight : m_pShowFrame)->setChecked(true);
    m_pSaverFrame->setEnabled(!m_Setting.m_bBackLight);
    connect(m_pShowFrame, &QRadioButton::toggled, m_pSaverFrame, &QWidget::setEnabled);

    auto* box = new QGroupBox(QStringLiteral("常规"));
    auto* grid = new QGridLayout(box);
    AddRow(grid, 0, QStringLiteral("初始画面:"), m_pBeginFrame);
    AddRow(grid, 1, QStringLiteral("口令:"), m_pPassWord);
    AddRow(grid, 2, QStringLiteral("屏幕保护:"), m_pWaitTime);
    grid->addWidget(new QLabel(QStringLiteral("分")), 2, 2);
    grid->addWidget(m_pShowFrame, 3, 0);
    grid->addWidget(m_pSaverFrame, 3, 1);
    grid->addWidget(m_pBackLight, 4, 0, 1, 2);
    grid->setColumnStretch(3, 1);
    return box;
}

QWidget* DlgKoravelSetting::StartUpBox(int highestFrame) {
    m_pUseFrame = CheckBox(QStringLiteral("useFrame"), QStringLiteral("是否使用开机画面"),
                           m_Setting.m_bUseFrame);
    m_pUseFrameIndex = NumberField(QStringLiteral("useFrameIndex"), 1, highestFrame, 1,
                                   m_Setting.m_nUseFrameIndex);
    m_pUseFrameSecond = NumberField(QStringLiteral("useFrameSecond"), 0, kUseFrameSecondMaximum, 1,
                                    m_Setting.m_nUseFrameSecond);
    connect(m_pUseFrame, &QCheckBox::toggled, this, &DlgKoravelSetting::OnUseFrame);

    auto* box = new QGroupBox(QStringLiteral("开机画面"));
    auto* grid = new QGridLayout(box);
    grid->addWidget(m_pUseFrame, 0, 0, 1, 3);
    AddRow(grid, 1, QStringLiteral("开机画面:"), m_pUseFrameIndex);
    AddRow(grid, 2, QStringLiteral("开机时间:"), m_pUseFrameSecond);
    grid->addWidget(new QLabel(QStringLiteral("秒")), 2, 2);
    for (int row = 1; row <= 2; ++row) {
        for (int column = 0; column <= 2; ++column) {
            if (QLayoutItem* item = grid->itemAtPosition(row, column)) {
                KeepPlace(item->widget());
                m_startUpFields.push_back(item->widget());
            }
        }
    }
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(3, 1);
    return box;
}

QWidget* DlgKoravelSetting::RegisterBox(const CPLCEntity& plc) {
    CPLCAddress& reg = m_Setting.m_Reg;
    const PLCValueBlock& station = plc.GetStation();
    m_pStation = NumberField(QStringLiteral("station"), station.minValue, station.maxValue, 1,
                             reg.GetStation(), static_cast<NumFormat>(station.dataFormat));
    m_pType = new QComboBox;
    m_pType->setObjectName(QStringLiteral("regType"));
    m_types = plc.GetTypeList(PLC_WORD, reg.GetMode());
    for (const CPLCRegType* type : m_types)
        m_pType->addItem(type->GetTypeName());
    SelectType();
    const auto [minimum, maximum] = AddrBounds(reg);
    m_pAddress = NumberField(QStringLiteral("regAddress"), minimum, maximum, 1, reg.GetAddress(),
                             static_cast<NumFormat>(AddrFormat(reg)));

    m_pAutoChange =
        CheckBox(QStringLiteral("autoChange"), QStringLiteral("自动变换显示画面,最高位控制蜂鸣器"),
                 m_Setting.m_bAutoChange);
    m_pAutoChangeText = Text(QStringLiteral("autoChangeRegister"));
    m_pReportFrame = CheckBox(QStringLiteral("reportFrame"), QStringLiteral("报告当前画面号"),
                              m_Setting.m_bReportFrame);
    m_pReportFrameText = Text(QStringLiteral("reportFrameRegister"));
    m_pUseClock =
        CheckBox(QStringLiteral("useClock"), QStringLiteral("使用时钟模块"), m_Setting.m_bUseClock);
    m_pUseClockText = Text(QStringLiteral("useClockRegister"));
    m_pUseClockOld = CheckBox(QStringLiteral("useClockOld"), QStringLiteral("兼容老版KV120模式"),
                              m_Setting.m_bUseClockOld);
    m_pClockText = Text(QStringLiteral("clockRegisters"));
    KeepPlace(m_pUseClockOld);
    KeepPlace(m_pClockText);
    // Room for the longer clock text of a five-digit address.
    m_pClockText->setMinimumSize(
        m_pClockText->fontMetrics().size(0, FillIn(kClock, QStringList(13, "4X99999"))));

    connect(m_pType, &QComboBox::currentIndexChanged, this, &DlgKoravelSetting::OnTypeChosen);
    connect(m_pAddress, &CNumEditCtrl::ValueEdited, this, &DlgKoravelSetting::OnAddressEdited);
    connect(m_pAutoChange, &QCheckBox::toggled, this, [this](bool on) {
        m_Setting.m_bAutoChange = on;
        ShowRegisters();
    });
    connect(m_pReportFrame, &QCheckBox::toggled, this, [this](bool on) {
        m_Setting.m_bReportFrame = on;
        ShowRegisters();
    });
    connect(m_pUseClock, &QCheckBox::toggled, this, &DlgKoravelSetting::OnUseClock);
    connect(m_pUseClockOld, &QCheckBox::toggled, this, [this](bool on) {
        m_Setting.m_bUseClockOld = on;
        ShowRegisters();
    });

    auto* stationLabel = new QLabel(QStringLiteral("设备站号:"));
    stationLabel->setBuddy(m_pStation);
    auto* typeLabel = new QLabel(QStringLiteral("控制寄存器:"));
    typeLabel->setBuddy(m_pType);
    auto* address = new QHBoxLayout;
    address->addWidget(stationLabel);
    address->addWidget(m_pStation);
    address->addSpacing(24);
    address->addWidget(typeLabel);
    address->addWidget(m_pType);
    address->addWidget(m_pAddress);
    address->addStretch();

    auto* box = new QGroupBox(QStringLiteral("控制寄存器"));
    auto* grid = new QGridLayout(box);
    grid->addLayout(address, 0, 0, 1, 2);
    grid->addWidget(m_pAutoChange, 1, 0);
    grid->addWidget(m_pAutoChangeText, 1, 1);
    grid->addWidget(m_pReportFrame, 2, 0);
    grid->addWidget(m_pReportFrameText, 2, 1);
    grid->addWidget(m_pUseClock, 3, 0);
    grid->addWidget(m_pUseClockText, 3, 1);
    grid->addWidget(m_pUseClockOld, 4, 0, 1, 2);
    grid->addWidget(m_pClockText, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return box;
}

void DlgKoravelSetting::accept() {
    CKoravelSetting& s = m_Setting;
    s.m_nUseFrameIndex = static_cast<std::uint16_t>(m_pUseFrameIndex->GetValue());
    s.m_nUseFrameSecond = static_cast<std::int32_t>(m_pUseFrameSecond->GetValue());
    s.m_bCanOffline = m_pCanOffline->isChecked();
    s.m_bUseFrame = m_pUseFrame->isChecked();
    s.m_nBeginFrame = static_cast<std::uint16_t>(m_pBeginFrame->GetValue());
    s.m_nPassWord = static_cast<std::uint16_t>(m_pPassWord->GetValue());
    s.m_nWaitTime = static_cast<std::int32_t>(m_pWaitTime->GetValue());
    s.m_nSaverFrame = static_cast<std::uint16_t>(m_pSaverFrame->GetValue());
    s.m_bBackLight = m_pBackLight->isChecked();
    s.m_Reg.SetStation(static_cast<std::uint8_t>(m_pStation->GetValue()));
    const int type = m_pType->currentIndex();
    if (type >= 0)
        s.m_Reg.SetRegType(m_types[static_cast<std::size_t>(type)], type);
    s.m_Reg.SetAddress(static_cast<std::uint16_t>(m_pAddress->GetValue()));
    s.m_bAutoChange = m_pAutoChange->isChecked();
    s.m_bReportFrame = m_pReportFrame->isChecked();
    s.m_bUseClock = m_pUseClock->isChecked();
    QDialog::accept();
}

void DlgKoravelSetting::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        focusNextChild();
        break;
    default:
        QDialog::keyPressEvent(event);
    }
}

// The type of Reg's name, else the one at its stored position.
void DlgKoravelSetting::SelectType() {
    const CPLCAddress& reg = m_Setting.m_Reg;
    int index = reg.GetRegType() ? m_pType->findText(reg.GetTypeName()) : -1;
    if (index < 0 && reg.GetIndex() >= 0 && reg.GetIndex() < m_pType->count())
        index = reg.GetIndex();
    m_pType->setCurrentIndex(index);
}

void DlgKoravelSetting::OnTypeChosen(int index) {
    if (index < 0)
        return;
    m_Setting.m_Reg.SetRegType(m_types[static_cast<std::size_t>(index)], index);
    BindAddress();
    ShowRegisters();
}

void DlgKoravelSetting::OnAddressEdited(std::int64_t value) {
    const auto [minimum, maximum] = AddrBounds(m_Setting.m_Reg);
    const std::uint16_t address = Clamped(value, minimum, maximum);
    if (address != value)
        m_pAddress->SetValue(address);
    m_Setting.m_Reg.SetAddress(address);
    ShowRegisters();
}

// The address field takes the chosen type's bounds and format, and the address moves into them.
void DlgKoravelSetting::BindAddress() {
    CPLCAddress& reg = m_Setting.m_Reg;
    const auto [minimum, maximum] = AddrBounds(reg);
    reg.SetAddress(Clamped(m_pAddress->GetValue(), minimum, maximum));
    m_pAddress->findChild<CNumSpinCtrl*>()->Bind(minimum, maximum, 1, reg.GetAddress(),
                                                 static_cast<NumFormat>(AddrFormat(reg)));
}

void DlgKoravelSetting::OnUseClock(bool on) {
    m_Setting.m_bUseClock = on;
    if (!on)
        m_pUseClockOld->setChecked(false);
    ShowRegisters();
}

// Without a start-up frame its fields go back to frame 1 for 2 seconds.
void DlgKoravelSetting::OnUseFrame(bool on) {
    if (!on) {
        m_pUseFrameIndex->SetValue(1);
        m_pUseFrameSecond->SetValue(2);
    }
    for (QWidget* field : m_startUpFields)
        field->setVisible(on);
}

void DlgKoravelSetting::ShowRegisters() {
    const CPLCAddress& reg = m_Setting.m_Reg;
    const auto name = [&reg](int address) {
        return reg.GetTypeName() + FormatNumber(address, AddrFormat(reg));
    };
    QString autoChange;
    QString reportFrame;
    QStringList clock;
    for (const ControlRegister& r : m_Setting.ControlRegisters()) {
        if (r.use == ControlRegister::kAutoChange)
            autoChange = name(r.address) + kFromDevice;
        else if (r.use == ControlRegister::kReportFrame)
            reportFrame = name(r.address) + kToDevice;
        else if (clock.isEmpty())
            clock << name(r.address);
        else
            clock << reg.GetTypeName() << FormatNumber(r.address, AddrFormat(reg));
    }
    m_pAutoChangeText->setText(autoChange);
    m_pReportFrameText->setText(reportFrame);
    const bool useClock = m_Setting.m_bUseClock;
    m_pUseClockText->setText(useClock ? kToDevice : QString());
    m_pClockText->setText(useClock ? FillIn(m_Setting.m_bUseClockOld ? kPackedClock : kClock, clock)
                                   : QString());
    m_pUseClockOld->setVisible(useClock);
    m_pClockText->setVisible(useClock);
}
