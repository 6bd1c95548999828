#include "DlgFunckeySub.h"

#include "AddressGroup.h"
#include "ModelAddress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kMaxFrameNumber = 6000;
constexpr int kMaxTransferLength = 64;
constexpr int kMaxTransferLimit = 1024;
constexpr int kMaxStep = 65535;

// The value range of an action's register.
ValueRange ActionRange(const CPLCAddress& reg, int dataFormat) {
    return RangeForUnits(UnitCount(reg), dataFormat == kFormatDecSign);
}

// A 32-bit member as its format shows it: unsigned formats see the value's bits as unsigned.
std::int64_t Shown(std::int32_t value, int dataFormat) {
    if (dataFormat == kFormatDecSign)
        return value;
    return static_cast<std::uint32_t>(value);
}

// A typed value into `range`, shown corrected when it had to be.
std::int64_t InRange(CNumEditCtrl* edit, std::int64_t value, const ValueRange& range) {
    const std::int64_t bounded = std::clamp(value, range.min, range.max);
    if (bounded != value)
        CorrectTypedValue(edit, bounded);
    return bounded;
}

QVBoxLayout* Column(QWidget* panel) {
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(4, 4, 4, 4);
    return column;
}

// "数制:" entries and the formats they stand for.
const int kFormats[] = {kFormatHex, kFormatDec, kFormatDecSign};

} // namespace

// --- Set coil -------------------------------------------------------------------------------

DlgFunckeySubWire::DlgFunckeySubWire(CKoravelDoc& doc)
    : CKindPanel(doc, QStringLiteral("线圈"), kTypeFunctionKey) {
    setObjectName(QStringLiteral("setWirePanel"));
    QVBoxLayout* column = Column(this);
    // The panel's caption names the coil already.
    column->addWidget(NewAddressGroup(
        QString(), QStringLiteral("寄存器类型:"), QStringLiteral("set-wire"),
        [](CGraphBase& element) -> CPLCAddress& { return As(element).m_SubWire.m_Wire; }));
    column->addWidget(NewRadios(
        {QStringLiteral("设定为ON"), QStringLiteral("设定为OFF"), QStringLiteral("取反"),
         QStringLiteral("瞬时ON")},
        QStringLiteral("wireAction"),
        [](CGraphBase& element) { return As(element).m_SubWire.m_nRadioID; },
        [](CGraphBase& element, int radio) { As(element).m_SubWire.m_nRadioID = radio; }));
}

// --- Set register ---------------------------------------------------------------------------

DlgFunckeySubReg::DlgFunckeySubReg(CKoravelDoc& doc)
    : CKindPanel(doc, QStringLiteral("寄存器"), kTypeFunctionKey),
      m_parameter(NewNumberField(QStringLiteral("parameter"))) {
    setObjectName(QStringLiteral("setRegisterPanel"));
    // The panel's caption names the register already.
    CAddressGroup* address = NewAddressGroup(
        QString(), QStringLiteral("类型:"), QStringLiteral("set-register"),
        [](CGraphBase& element) -> CPLCAddress& { return As(element).m_SubReg.m_Reg; });
    address->SetRegNumEnabled(false);
    OnNumberEdited(m_parameter.edit, [this](std::int64_t value, bool) {
        if (!Element())
            return;
        const CFuncSubReg& action = Bound().m_SubReg;
        const std::int64_t parameter =
            InRange(m_parameter.edit, value, ActionRange(action.m_Reg, action.m_nDataFormat));
        Edit(QStringLiteral("parameter"), [parameter](CGraphBase& element) {
            As(element).m_SubReg.m_nParameter = static_cast<std::int32_t>(parameter);
        });
    });

    auto* fields = new QWidget;
    QFormLayout* form = NewFormLayout(fields);
    form->addRow(
        QStringLiteral("数制:"),
        NewChoice(
            {QStringLiteral("HEX/BCD"), QStringLiteral("十进制"), QStringLiteral("有符号")},
            QStringLiteral("parameterFormat"),
            [](CGraphBase& element) {
                const int format = As(element).m_SubReg.m_nDataFormat;
                const auto* entry = std::find(std::begin(kFormats), std::end(kFormats), format);
                return entry == std::end(kFormats) ? 1
                                                   : static_cast<int>(entry - std::begin(kFormats));
            },
            [](CGraphBase& element, int entry) {
                As(element).m_SubReg.m_nDataFormat = kFormats[entry];
            }));
    form->addRow(QStringLiteral("参数:"), m_parameter.edit);
    QVBoxLayout* column = Column(this);
    column->addWidget(address);
    column->addWidget(fields);
}

void DlgFunckeySubReg::ShowValues() {
    const CFuncSubReg& action = Bound().m_SubReg;
    const ValueRange range = ActionRange(action.m_Reg, action.m_nDataFormat);
    m_parameter.spin->Bind(static_cast<double>(range.min), static_cast<double>(range.max), 1,
                           Shown(action.m_nParameter, action.m_nDataFormat),
                           EditFormat(action.m_nDataFormat));
}

// --- Frame ----------------------------------------------------------------------------------

namespace {

// The buttons stand for RadioID 0, 3 and 4; PushJump and ReturnFrame have none.
const int kJumpKinds[] = {0, 3, 4};

} // namespace

DlgFunckeySubJmp::DlgFunckeySubJmp(CKoravelDoc& doc)
    : CKindPanel(doc, QStringLiteral("画面"), kTypeFunctionKey),
      m_number(NewNumberField(QStringLiteral("jumpNumber"))) {
    setObjectName(QStringLiteral("jumpPanel"));
    OnNumberEdited(m_number.edit, [this](std::int64_t value, bool) {
        Edit(QStringLiteral("jump-number"), [value](CGraphBase& element) {
            As(element).m_SubJmp.m_nNumber = static_cast<std::uint16_t>(value);
        });
    });
    QVBoxLayout* column = Column(this);
    column->addWidget(NewRadios(
        {QStringLiteral("跳转至画面:"), QStringLiteral("报警列表"), QStringLiteral("密码配置")},
        QStringLiteral("jumpKind"),
        [](CGraphBase& element) {
            const int kind = As(element).m_SubJmp.m_nRadioID;
            const auto* entry = std::find(std::begin(kJumpKinds), std::end(kJumpKinds), kind);
            return entry == std::end(kJumpKinds) ? -1
                                                 : static_cast<int>(entry - std::begin(kJumpKinds));
        },
        [](CGraphBase& element, int entry) { As(element).m_SubJmp.m_nRadioID = kJumpKinds[entry]; },
        1));
    auto* fields = new QWidget;
    QFormLayout* form = NewFormLayout(fields);
    form->addRow(QStringLiteral("画面号:"), m_number.edit);
    column->addWidget(fields);
}

void DlgFunckeySubJmp::ShowValues() {
    const CFuncSubJmp& action = Bound().m_SubJmp;
    m_number.spin->Bind(0, kMaxFrameNumber, 1, action.m_nNumber, NumFormat::Dec);
    m_number.edit->setEnabled(action.m_nRadioID == 0);
}

// --- Recipe ---------------------------------------------------------------------------------

namespace {

enum RecipeMode { kUpLoad, kDownLoad, kBaseAdd, kBaseSub };

bool IsBaseMode(int mode) {
    return mode == kBaseAdd || mode == kBaseSub;
}

} // namespace

DlgFunckeySubRecipe::DlgFunckeySubRecipe(CKoravelDoc& doc)
    : CKindPanel(doc, QStringLiteral("配方"), kTypeFunctionKey),
      m_pAddress(NewAddressGroup(
          QStringLiteral("寄存器"), QStringLiteral("类型:"), QStringLiteral("recipe"),
          [](CGraphBase& element) -> CPLCAddress& { return As(element).m_SubRecipe.m_Reg; })),
      m_pLengthLabel(NewLabel({}, QStringLiteral("lengthLabel"))),
      m_length(NewNumberField(QStringLiteral("transferLength"))),
      m_pLimitLabel(NewLabel(QStringLiteral("上限:"))),
      m_limit(NewNumberField(QStringLiteral("transferLimit"))) {
    setObjectName(QStringLiteral("recipePanel"));
    OnNumberEdited(m_length.edit, [this](std::int64_t value, bool) {
        const std::int64_t length = std::clamp<std::int64_t>(value, 1, kMaxTransferLength);
        if (length != value)
            CorrectTypedValue(m_length.edit, length);
        Edit(QStringLiteral("transfer-length"), [length](CGraphBase& element) {
            As(element).m_SubRecipe.m_nTransferLen = static_cast<std::uint32_t>(length);
        });
    });
    OnNumberEdited(m_limit.edit, [this](std::int64_t value, bool) {
        Edit(QStringLiteral("transfer-limit"), [value](CGraphBase& element) {
            CFuncSubRecipe& action = As(element).m_SubRecipe;
            (action.m_nRadioID == kBaseAdd ? action.m_nTransferLimitUp
                                           : action.m_nTransferLimitDown) =
                static_cast<std::uint32_t>(value);
        });
    });

    auto* fields = new QWidget;
    QFormLayout* form = NewFormLayout(fields);
    form->addRow(m_pLengthLabel, m_length.edit);
    form->addRow(m_pLimitLabel, m_limit.edit);
    QVBoxLayout* column = Column(this);
    column->addWidget(NewRadios(
        {QStringLiteral("上传"), QStringLiteral("下载"), QStringLiteral("基址增加"),
         QStringLiteral("基址减少")},
        QStringLiteral("recipeMode"),
        [](CGraphBase& element) { return As(element).m_SubRecipe.m_nRadioID; },
        [](CGraphBase& element, int mode) {
            CFuncSubRecipe& action = As(element).m_SubRecipe;
            action.m_nRadioID = mode;
            // The base operations work on the panel's own base register: the address reads 0,
            // as if typed.
            if (IsBaseMode(mode)) {
                action.m_Reg.SetAddress(0);
                ApplyTypeBounds(action.m_Reg);
            }
        }));
    column->addWidget(m_pAddress);
    column->addWidget(fields);
}

void DlgFunckeySubRecipe::ShowValues() {
    const CFuncSubRecipe& action = Bound().m_SubRecipe;
    const bool base = IsBaseMode(action.m_nRadioID);
    m_pAddress->SetAddressLabel(action.m_nRadioID == kUpLoad ? QStringLiteral("源地址:")
                                                             : QStringLiteral("目标地址:"));
    if (base)
        m_pAddress->ShowFixed(QStringLiteral("LW"), action.m_Reg.GetAddress());
    m_pLengthLabel->setText(action.m_nRadioID == kBaseAdd   ? QStringLiteral("递增量")
                            : action.m_nRadioID == kBaseSub ? QStringLiteral("递减量")
                                                            : QStringLiteral("传输长度"));
    m_length.spin->Bind(0, kMaxTransferLength, 1, action.m_nTransferLen, NumFormat::Dec);
    m_pLimitLabel->setVisible(base);
    m_limit.edit->setVisible(base);
    m_limit.spin->Bind(0, kMaxTransferLimit, 1,
                       action.m_nRadioID == kBaseAdd ? action.m_nTransferLimitUp
                                                     : action.m_nTransferLimitDown,
                       NumFormat::Dec);
}

// --- Multi-state ----------------------------------------------------------------------------

DlgFunckeySubMulStatus::DlgFunckeySubMulStatus(CKoravelDoc& doc)
    : CKindPanel(doc, QStringLiteral("状态设定"), kTypeFunctionKey),
      m_pLimitLabel(NewLabel({}, QStringLiteral("limitLabel"))),
      m_limit(NewNumberField(QStringLiteral("stepLimit"))),
      m_pStepLabel(NewLabel({}, QStringLiteral("stepLabel"))),
      m_step(NewNumberField(QStringLiteral("step"))) {
    setObjectName(QStringLiteral("multiStatePanel"));
    CAddressGroup* address = NewAddressGroup(
        QStringLiteral("寄存器"), QStringLiteral("类型:"), QStringLiteral("multi-state"),
        [](CGraphBase& element) -> CPLCAddress& { return As(element).m_SubMulStatus.m_Reg; });
    address->SetRegNumEnabled(false);
    OnNumberEdited(m_limit.edit, [this](std::int64_t value, bool) {
        if (!Element())
            return;
        const CFuncSubMulStatus& action = Bound().m_SubMulStatus;
        const auto limit = static_cast<std::int32_t>(
            InRange(m_limit.edit, value, ActionRange(action.m_Reg, action.m_nDataFormat)));
        Edit(QStringLiteral("step-limit"), [limit](CGraphBase& element) {
            CFuncSubMulStatus& action = As(element).m_SubMulStatus;
            (action.m_nRadioID == 0 ? action.m_nUpperLimit : action.m_nLowerLimit) = limit;
        });
    });
    OnNumberEdited(m_step.edit, [this](std::int64_t value, bool) {
        const auto step = static_cast<std::int32_t>(value);
        Edit(QStringLiteral("step"), [step](CGraphBase& element) {
            CFuncSubMulStatus& action = As(element).m_SubMulStatus;
            (action.m_nRadioID == 0 ? action.m_nAddDelta : action.m_nSubDelta) = step;
        });
    });

    auto* fields = new QWidget;
    QFormLayout* form = NewFormLayout(fields);
    form->addRow(NewFlag(
        QStringLiteral("有符号"), QStringLiteral("stepSigned"),
        [](CGraphBase& element) {
            return As(element).m_SubMulStatus.m_nDataFormat == kFormatDecSign;
        },
        [](CGraphBase& element, bool on) {
            As(element).m_SubMulStatus.m_nDataFormat = on ? kFormatDecSign : kFormatDec;
        }));
    form->addRow(m_pLimitLabel, m_limit.edit);
    form->addRow(m_pStepLabel, m_step.edit);
    QVBoxLayout* column = Column(this);
    column->addWidget(address);
    column->addWidget(NewRadios(
        {QStringLiteral("增加"), QStringLiteral("减少")}, QStringLiteral("stepMode"),
        [](CGraphBase& element) { return As(element).m_SubMulStatus.m_nRadioID; },
        [](CGraphBase& element, int mode) {
            CFuncSubMulStatus& action = As(element).m_SubMulStatus;
            action.m_nRadioID = mode;
            // The limit starts at the end of the range the key steps towards.
            const ValueRange range = ActionRange(action.m_Reg, action.m_nDataFormat);
            if (mode == 0)
                action.m_nUpperLimit = static_cast<std::int32_t>(range.max);
            else
                action.m_nLowerLimit = static_cast<std::int32_t>(range.min);
        }));
    column->addWidget(fields);
}

void DlgFunckeySubMulStatus::ShowValues() {
    const CFuncSubMulStatus& action = Bound().m_SubMulStatus;
    const bool increase = action.m_nRadioID == 0;
    const ValueRange range = ActionRange(action.m_Reg, action.m_nDataFormat);
    const NumFormat format = EditFormat(action.m_nDataFormat);
    m_pLimitLabel->setText(increase ? QStringLiteral("上限：") : QStringLiteral("下限："));
    m_pStepLabel->setText(increase ? QStringLiteral("增加量：") : QStringLiteral("减少量："));
    m_limit.spin->Bind(
        static_cast<double>(range.min), static_cast<double>(range.max), 1,
        Shown(increase ? action.m_nUpperLimit : action.m_nLowerLimit, action.m_nDataFormat),
        format);
    m_step.spin->Bind(1, kMaxStep, 1, increase ? action.m_nAddDelta : action.m_nSubDelta, format);
}
