// demogen CATALOG OUT: writes the demo project, a small project that uses every element kind and
// every key action, to OUT (scrambled, as the designer saves it).

#include "GEBar.h"
#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "GETrend.h"
#include "KoravelProject.h"
#include "PLCFactory.h"
#include "TextFont.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

namespace {

// The demo is bound to the compact PLC: bits M, X, Y and data registers D.
constexpr std::uint16_t kDemoPLC = 2;

// Fixed, so that the demo changes only when the model does.
const QDateTime kDemoTime(QDate(2024, 3, 1), QTime(9, 5, 3));

template <typename T> T& Add(CHMIFrame& frame, std::unique_ptr<T> element, QRect rect) {
    element->SetRect(rect);
    T& added = *element;
    frame.AddElement(std::move(element));
    return added;
}

QImage DemoPicture() {
    QImage image(48, 32, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int x = 0; x < image.width(); ++x)
        painter.fillRect(x, 0, 1, image.height(), QColor(255 - x * 5, 80 + x * 3, 40 + x * 4));
    painter.fillRect(8, 8, 16, 16, Qt::white);
    painter.end();
    return image;
}

void BuildStartFrame(CHMIFrame& frame, const CPLCEntity* plc) {
    auto& title = Add(frame, std::make_unique<CGEStaticTxt>(), QRect(10, 4, 10, 10));
    title.m_strFontName = QStringLiteral("黑体");
    title.SetFontSize(32);
    title.SetText(QStringLiteral("演示工程 Demo"));

    auto& caption = Add(frame, std::make_unique<CGEStaticTxt>(), QRect(10, 48, 10, 10));
    caption.m_nSameColor = 1;
    caption.m_nBkColor = 0x00C0FFFF;
    caption.SetFontSize(16);
    caption.SetText(QStringLiteral("Speed & 速度:"));

    auto& speed = Add(frame, std::make_unique<CGERegister>(plc), QRect(120, 44, 10, 10));
    speed.m_nDataFormat = kFormatDecSign;
    speed.m_byIntegerBits = 5;
    speed.m_byPointBits = 1;
    speed.m_bSetting = true;
    speed.m_bHaveLimit = true;
    speed.m_nRawUpperLimit = 4294967295LL;
    speed.m_nRawLowerLimit = -32768;
    speed.m_nEngUpperLimit = 1500;
    speed.m_nEngLowerLimit = -1500;
    speed.m_nComboBoxID = 1;
    speed.m_nUseBorder = 1;
    speed.m_nBorderColor = 0x00008000;
    speed.m_Reg.SetAddress(100);
    speed.SetFontSize(24);

    auto& state = Add(frame, std::make_unique<CGEDynamicTxt>(plc), QRect(10, 90, 10, 10));
    (*state.m_pTexts)[0].m_strContent = QStringLiteral("停止 Stopped");
    (*state.m_pTexts)[1].m_nValue = 1;
    (*state.m_pTexts)[1].m_strContent = QStringLiteral("运行 Running");
    (*state.m_pTexts)[2].m_nValue = -1000;
    (*state.m_pTexts)[2].m_strContent = QStringLiteral("故障");
    state.m_Reg.SetAddress(101);
    state.SetFontSize(24);

    auto& lamp = Add(frame, std::make_unique<CGEIndicator>(plc), QRect(300, 90, 32, 32));
    lamp.m_nShape = 1;
    lamp.m_nLogic = 0; // lit while the machine runs (M12 = 1)
    lamp.m_Wire.SetAddress(12);

    auto& next = Add(frame, std::make_unique<CGEFuncKey>(plc), QRect(400, 220, 32, 32));
    next.m_nType = kActionJumpFrame;
    next.m_SubJmp.m_nNumber = 2;
    next.m_nComboBoxID = 2;

    auto& start = Add(frame, std::make_unique<CGEFuncKey>(plc), QRect(10, 220, 64, 32));
    start.m_nType = kActionSetWire;
    start.m_SubWire.m_nRadioID = 3;
    start.m_SubWire.m_Wire.SetAddress(20);
    start.m_nComboBoxID = 5;
    start.m_bHand = true;

    auto picture = std::make_unique<CGEPicture>();
    picture->SetBitmap(DemoPicture());
    picture->SetRect(QRect(420, 4, 48, 32));
    frame.AddElement(std::move(picture));
}

void BuildTrendFrame(CHMIFrame& frame, const CPLCEntity* plc) {
    auto& label = Add(frame, std::make_unique<CGEStaticTxt>(), QRect(10, 4, 10, 10));
    label.SetFontSize(24);
    label.SetText(QStringLiteral("Level 液位"));

    auto& bar = Add(frame, std::make_unique<CGEBar>(plc), QRect(10, 40, 40, 190));
    bar.m_nUpperLimit = 1000;
    bar.m_nLowerLimit = 0;
    bar.m_Reg.SetAddress(200);

    auto& trend = Add(frame, std::make_unique<CGETrend>(plc), QRect(60, 40, 340, 190));
    trend.m_nUpperLimit = 1000;
    trend.m_nSamplingPoint = 30;
    trend.m_nSamplingTime = 2;
    trend.m_Reg.SetAddress(200);

    auto& more = Add(frame, std::make_unique<CGEFuncKey>(plc), QRect(360, 220, 32, 32));
    more.m_nType = kActionSetRegister;
    more.m_SubReg.m_nParameter = 500;
    more.m_SubReg.m_Reg.SetAddress(200);
    more.m_nComboBoxID = 3;

    auto& recipe = Add(frame, std::make_unique<CGEFuncKey>(plc), QRect(400, 220, 32, 32));
    recipe.m_nType = kActionRecipe;
    recipe.m_SubRecipe.m_nRadioID = 1;
    recipe.m_SubRecipe.m_nTransferLen = 10;
    recipe.m_SubRecipe.m_Reg.SetAddress(300);
    recipe.m_nComboBoxID = 6;

    auto& step = Add(frame, std::make_unique<CGEFuncKey>(plc), QRect(440, 220, 32, 32));
    step.m_nType = kActionMultiSet;
    step.m_SubMulStatus.m_nRadioID = 1;
    step.m_SubMulStatus.m_nLowerLimit = 0;
    step.m_SubMulStatus.m_nSubDelta = 10;
    step.m_SubMulStatus.m_Reg.SetAddress(200);
    step.m_nComboBoxID = 4;
    step.m_bHide = true;

    auto& back = Add(frame, std::make_unique<CGEFuncKey>(plc), QRect(10, 220, 32, 32));
    back.m_nType = kActionJumpFrame;
    back.m_SubJmp.m_nNumber = 1;
    back.m_nComboBoxID = 0;
}

void BuildAlarms(CKoravelProject& project) {
    CAlarmList& alarms = project.EnsureAlarmList();
    alarms.m_Alarm.SetAddress(100);
    alarms.m_nTxtForeColor = 0x000000FF;
    alarms.m_nBkColor = 0x00FFFFFF;
    const char16_t* texts[] = {u"电机过热", u"Low oil pressure", u"急停 Emergency stop"};
    int k = 0;
    for (const char16_t* text : texts) {
        (*alarms.m_pTexts)[k].m_nValue = k;
        (*alarms.m_pTexts)[k].m_strContent = QString::fromUtf16(text);
        ++k;
    }
}

void BuildSettings(CKoravelProject& project) {
    CKoravelSetting& setting = project.EnsureSetting();
    setting.m_nBeginFrame = 1;
    setting.m_nPassWord = 1234;
    setting.m_bAutoChange = true;
    setting.m_bReportFrame = true;
    setting.m_bUseClock = true;
    setting.m_bUseFrame = true;
    setting.m_nUseFrameIndex = 3;
    setting.m_nUseFrameSecond = 2;
    setting.m_Reg.SetAddress(1000);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutions();
    if (argc != 3) {
        std::fprintf(stderr, "usage: demogen CATALOG OUT\n");
        return 2;
    }
    CPLCFactory catalog;
    if (!catalog.Load(QString::fromLocal8Bit(argv[1])) || !catalog.GetPLC(kDemoPLC)) {
        std::fprintf(stderr, "demogen: cannot read the catalog %s\n", argv[1]);
        return 1;
    }
    CKoravelProject project;
    project.m_pCurrentPLC = catalog.GetPLC(kDemoPLC);
    project.m_strCatalogVersion = catalog.GetSoftVersion();
    project.m_CommPara.m_nBaudRate = 19200;
    project.m_CommPara.m_nDataBit = 1;
    project.m_CommPara.m_nParityBit = 2;
    project.m_CommPara.m_nSerialType = 2;

    BuildStartFrame(*project.NewFrame(project.TakeFrameNumber(), QStringLiteral("主画面")),
                    project.m_pCurrentPLC);
    BuildTrendFrame(*project.NewFrame(project.TakeFrameNumber(), QStringLiteral("Trend")),
                    project.m_pCurrentPLC);
    CHMIFrame* splash = project.NewFrame(project.TakeFrameNumber(), QStringLiteral("开机画面"));
    splash->m_nBkColor = 0x00402000;
    auto& hello = Add(*splash, std::make_unique<CGEStaticTxt>(), QRect(100, 100, 10, 10));
    hello.m_nForeColor = 0x00FFFFFF;
    hello.m_nSameColor = 0; // white strokes straight on the dark frame
    hello.SetFontSize(48);
    hello.SetText(QStringLiteral("欢迎"));
    BuildAlarms(project);
    BuildSettings(project);

    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(QFileInfo(out).absolutePath());
    QString error;
    if (!project.Save(out, &error, kDemoTime)) {
        std::fprintf(stderr, "demogen: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
