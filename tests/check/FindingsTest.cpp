#include "CheckTestSupport.h"

#include "GEBar.h"
#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "GETrend.h"

#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

struct Expected {
    CheckSeverity severity;
    CheckPart part;
    int frame;
    int element;
    QString message;
};

constexpr auto kError = CheckSeverity::kError;
constexpr auto kWarning = CheckSeverity::kWarning;
constexpr auto kElement = CheckPart::kElement;
constexpr auto kFrame = CheckPart::kFrame;
constexpr auto kSettings = CheckPart::kSettings;
constexpr auto kAlarms = CheckPart::kAlarmList;
constexpr auto kImage = CheckPart::kImage;

using Breaker = std::function<void(CKoravelProject&)>;

struct Case {
    const char* what;
    Breaker breaker;
    std::vector<Expected> expected;
};

void ExpectFindings(const char* what, const CheckReport& report,
                    const std::vector<Expected>& expected) {
    ASSERT_EQ(report.findings.size(), expected.size())
        << what << "\n"
        << [&] {
               std::string all;
               for (const CheckFinding& f : report.findings)
                   all += testing::PrintToString(f) + "\n";
               return all;
           }();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const CheckFinding& f = report.findings[i];
        const Expected& e = expected[i];
        EXPECT_EQ(f.severity, e.severity) << what << ": " << f;
        EXPECT_EQ(f.place.part, e.part) << what << ": " << f;
        if (e.part == kElement || e.part == kFrame) {
            EXPECT_EQ(f.place.frameId, e.frame) << what << ": " << f;
        }
        if (e.part == kElement) {
            EXPECT_EQ(f.place.element, e.element) << what << ": " << f;
        }
        EXPECT_EQ(f.message, e.message) << what << ": " << f;
    }
}

QRect At(int x, int y, int w = 40, int h = 32) {
    return {x, y, w, h};
}

CGEFuncKey& Key(CKoravelProject& p, int comboBoxId, int x) {
    auto& key = Add<CGEFuncKey>(p, At(x, 200, 32, 32));
    key.m_nComboBoxID = comboBoxId;
    return key;
}

// A register whose box is as wide as the panel draws it.
CGERegister& Register(CKoravelProject& p, int address, int x = 10) {
    auto& reg = Add<CGERegister>(p, At(x, 10));
    reg.m_Reg.SetAddress(static_cast<std::uint16_t>(address));
    reg.m_nWidth = 200;
    return reg;
}

CGEStaticTxt& Text(CKoravelProject& p, const QString& text, int x = 10, int size = 16) {
    auto& e = Add<CGEStaticTxt>(p, At(x, 100));
    e.m_nFontSize = size;
    e.SetText(text);
    return e;
}

CGEDynamicTxt& Dynamic(CKoravelProject& p) {
    auto& e = Add<CGEDynamicTxt>(p, At(10, 150));
    e.SetFontSize(16);
    e.m_nWidth = 300;
    return e;
}

QString Repeated(const QString& piece, int times) {
    QString text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases{
        // References
        {"jump to a missing frame",
         [](CKoravelProject& p) {
             auto& key = Key(p, 2, 10);
             key.m_nType = kActionJumpFrame;
             key.m_SubJmp.m_nNumber = 99;
         },
         {{kError, kElement, 1, 0, "跳转的目标画面 99 不存在"}}},
        {"down key to a missing frame",
         [](CKoravelProject& p) { p.FindFrame(2)->m_nNextID = 7; },
         {{kWarning, kFrame, 2, -1, "↓键的目标画面 7 不存在，按键无反应"}}},
        {"up key to a missing frame in 16 bits",
         [](CKoravelProject& p) { p.FindFrame(1)->m_nPrevID = 65539; },
         {{kWarning, kFrame, 1, -1, "↑键的目标画面 65539 不存在，按键无反应"}}},
        {"a missing start frame",
         [](CKoravelProject& p) { p.EnsureSetting().m_nBeginFrame = 5; },
         {{kError, kSettings, 0, 0, "初始画面 5 不存在，面板开机后无画面"}}},
        {"a missing screen-saver frame",
         [](CKoravelProject& p) {
             p.EnsureSetting().m_bBackLight = false;
             p.EnsureSetting().m_nSaverFrame = 9;
         },
         {{kError, kSettings, 0, 0, "屏保画面 9 不存在"}}},
        {"a missing start-up picture frame",
         [](CKoravelProject& p) {
             p.EnsureSetting().m_bUseFrame = true;
             p.EnsureSetting().m_nUseFrameIndex = 8;
         },
         {{kError, kSettings, 0, 0, "开机画面 8 不存在，面板不显示开机画面"}}},
        {"two frames with one number",
         [](CKoravelProject& p) {
             auto frame = std::make_unique<CHMIFrame>();
             frame->m_strName = QStringLiteral("again");
             frame->m_nID = 2;
             frame->m_nPrevID = 1;
             frame->m_nNextID = 0;
             p.InsertFrame(std::move(frame));
         },
         {{kError, kFrame, 2, -1, "画面号 2 与前面的画面重复，面板只认第一个"}}},

        // Addresses
        {"a register above its type's maximum",
         [](CKoravelProject& p) { Register(p, 8000); },
         {{kError, kElement, 1, 0, "地址 D8000 超出 D 的范围 0～7999"}}},
        {"an octal lamp address above its maximum",
         [](CKoravelProject& p) {
             auto& lamp = Add<CGEIndicator>(p, At(10, 10));
             lamp.m_Wire.SetRegType(TypeNamed(p, PLC_BIT, "X"), 1);
             lamp.m_Wire.SetAddress(0400);
         },
         {{kError, kElement, 1, 0, "地址 X400 超出 X 的范围 0～377"}}},
        {"a type the PLC no longer has",
         [](CKoravelProject& p) {
             const CGERegister& reg = Register(p, 100);
             QString memento = reg.Memento();
             memento.replace("RegType=\"D\"", "RegType=\"DM\"");
             auto read = CGraphBase::FromMemento(memento, p.m_pCurrentPLC);
             ASSERT_TRUE(read);
             p.FindFrame(1)->TakeElement(0);
             p.FindFrame(1)->AddElement(std::move(read));
         },
         {{kError, kElement, 1, 0,
           "地址类型“DM”在 PLC“Compact PLC (programming port)”中不存在，已改用“D”"}}},
        {"a type of another PLC",
         [](CKoravelProject& p) {
             Register(p, 100).m_Reg.SetRegType(
                 Catalog().GetPLC(1)->GetTypeList(PLC_WORD, PLC_ANY).front(), 0);
         },
         {{kError, kElement, 1, 0,
           "地址类型“4X”不是 PLC“Compact PLC (programming port)”在此可用的类型"}}},
        {"control registers beyond the type",
         [](CKoravelProject& p) {
             CKoravelSetting& setting = p.EnsureSetting();
             setting.m_bUseClock = true;
             setting.m_Reg.SetAddress(7995);
         },
         {{kError, kSettings, 0, 0, "控制寄存器：第 6 个地址 D8000 超出 D 的范围 0～7999"}}},
        {"alarm bits beyond the type",
         [](CKoravelProject& p) {
             CAlarmList& alarms = p.EnsureAlarmList();
             alarms.m_Alarm.SetAddress(7678);
             for (int k = 0; k < 3; ++k) {
                 (*alarms.m_pTexts)[k].m_nValue = k;
                 (*alarms.m_pTexts)[k].m_strContent = QStringLiteral("报警");
             }
         },
         {{kError, kAlarms, 0, 0, "报警位：第 3 个地址 M7680 超出 M 的范围 0～7679"}}},
        {"a register count the type does not offer",
         [](CKoravelProject& p) {
             CGERegister& reg = Register(p, 100);
             reg.m_Reg.SetRegNum(3);
             reg.m_byIntegerBits = 10; // the 48 bits are shown as 32
         },
         {{kError, kElement, 1, 0, "寄存器个数 3 不是 D 允许的 1|2"}}},
        {"a station and a bit outside their bounds",
         [](CKoravelProject& p) {
             p.m_pCurrentPLC = Catalog().GetPLC(1);
             auto& lamp = Add<CGEIndicator>(p, At(10, 10));
             lamp.m_Wire.SetRegType(TypeNamed(p, PLC_BIT, "4X.B"), 2);
             lamp.m_Wire.SetAddress(5);
             lamp.m_Wire.SetShift(16);
             lamp.m_Wire.SetStation(0);
         },
         {{kError, kElement, 1, 0, "位号 16 超出范围 0～15"},
          {kError, kElement, 1, 0, "站号 0 超出范围 1～247"}}},
        {"two keys writing one register in two widths",
         [](CKoravelProject& p) {
             auto& set = Key(p, 2, 10);
             set.m_nType = kActionSetRegister;
             set.m_SubReg.m_Reg.SetAddress(200);
             auto& step = Key(p, 3, 50);
             step.m_nType = kActionMultiSet;
             step.m_SubMulStatus.m_Reg.SetAddress(200);
             step.m_SubMulStatus.m_Reg.SetRegNum(2);
         },
         {{kWarning, kElement, 1, 1,
           "与画面 1 控件 0 写同一寄存器 D200，宽度不同（16 位/32 位）"}}},
        {"a register showing a word that a key writes bits into",
         [](CKoravelProject& p) {
             auto& key = Key(p, 2, 10);
             key.m_SubWire.m_Wire.SetRegType(TypeNamed(p, PLC_BIT, "LB"), 6);
             key.m_SubWire.m_Wire.SetAddress(5);
             CGERegister& reg = Register(p, 5);
             reg.m_Reg.SetRegType(TypeNamed(p, PLC_WORD, "LW"), 3);
         },
         {{kWarning, kElement, 1, 1, "显示的 LW5 被画面 1 控件 0 按位写入"}}},

        // Values
        {"an input limit beyond the register",
         [](CKoravelProject& p) {
             CGERegister& reg = Register(p, 100);
             reg.m_bHaveLimit = true;
             reg.m_nDataFormat = kFormatDecSign;
             reg.m_nRawUpperLimit = 40000;
         },
         {{kError, kElement, 1, 0, "输入上限 40000 超出寄存器的范围 -32768～32767"}}},
        {"input limits the wrong way round",
         [](CKoravelProject& p) {
             CGERegister& reg = Register(p, 100);
             reg.m_bHaveLimit = true;
             reg.m_nRawLowerLimit = 500;
             reg.m_nRawUpperLimit = 100;
         },
         {{kError, kElement, 1, 0, "面板上输入下限 500 大于上限 100，任何输入都被拒绝"}}},
        {"equal input limits with scaling",
         [](CKoravelProject& p) {
             CGERegister& reg = Register(p, 100);
             reg.m_bHaveLimit = true;
             reg.m_nComboBoxID = 1;
             reg.m_nRawLowerLimit = 100;
             reg.m_nRawUpperLimit = 100;
         },
         {{kWarning, kElement, 1, 0, "输入上下限都是 100，无法换算工程量，面板显示原始数据"}}},
        {"a bar whose limits meet",
         [](CKoravelProject& p) {
             auto& bar = Add<CGEBar>(p, At(10, 10, 30, 90));
             bar.m_nLowerLimit = 100;
             bar.m_nUpperLimit = 100;
         },
         {{kWarning, kElement, 1, 0, "零额度值 100 不小于满额度值 100"}}},
        {"a trend limit beyond a signed register",
         [](CKoravelProject& p) {
             auto& trend = Add<CGETrend>(p, At(10, 10, 200, 100));
             trend.m_nDataFormat = kFormatDecSign;
             trend.m_nLowerLimit = -40000;
         },
         {{kError, kElement, 1, 0, "满额度值 65535 超出寄存器的范围 -32768～32767"},
          {kError, kElement, 1, 0, "零额度值 -40000 超出寄存器的范围 -32768～32767"}}},
        {"a key writing a value the register cannot hold",
         [](CKoravelProject& p) {
             auto& key = Key(p, 2, 10);
             key.m_nType = kActionSetRegister;
             key.m_SubReg.m_nParameter = 70000;
         },
         {{kError, kElement, 1, 0, "写入值 70000 超出寄存器的范围 0～65535"}}},
        {"a dynamic text with a value twice and one the panel cannot tell apart",
         [](CKoravelProject& p) {
             CGEDynamicTxt& e = Dynamic(p);
             (*e.m_pTexts)[1].m_nValue = 0;
             (*e.m_pTexts)[1].m_strContent = QStringLiteral("B");
             (*e.m_pTexts)[2].m_nValue = 65536;
             (*e.m_pTexts)[2].m_strContent = QStringLiteral("C");
         },
         {{kWarning, kElement, 1, 0, "条目 1 与条目 0 的值都是 0，面板只显示条目 0"},
          {kWarning, kElement, 1, 0, "条目 2 的值 65536 超出寄存器的范围 0～65535"},
          {kWarning, kElement, 1, 0,
           "条目 2 的值 65536 与条目 0 的值 0 低 16 位相同，面板只显示条目 0"}}},
        {"alarm texts with one value",
         [](CKoravelProject& p) {
             CAlarmList& alarms = p.EnsureAlarmList();
             for (int k = 0; k < 2; ++k) {
                 (*alarms.m_pTexts)[k].m_nValue = 4;
                 (*alarms.m_pTexts)[k].m_strContent = QStringLiteral("报警");
             }
         },
         {{kWarning, kAlarms, 0, 0, "条目 1 与条目 0 的值都是 4"}}},

        // Glyphs
        {"a character the face lacks",
         [](CKoravelProject& p) { Text(p, QStringLiteral("速度가")); },
         {{kError, kElement, 1, 0, "字体“宋体” 16 点阵缺少 “가”，面板显示错字或空白"}}},
        {"an alarm text character the face lacks",
         [](CKoravelProject& p) {
             CAlarmList& alarms = p.EnsureAlarmList();
             (*alarms.m_pTexts)[0].m_nValue = 0;
             (*alarms.m_pTexts)[0].m_strContent = QStringLiteral("a");
             (*alarms.m_pTexts)[1].m_nValue = 1;
             (*alarms.m_pTexts)[1].m_strContent = QStringLiteral("ก");
         },
         {{kError, kAlarms, 0, 0, "报警 1：字体“宋体” 16 点阵缺少 “ก”，面板显示错字或空白"}}},
        {"a character outside the basic plane",
         [](CKoravelProject& p) { Text(p, QString::fromUtf8("水\xF0\x9F\x98\x80")); },
         {{kError, kElement, 1, 0, "“\xF0\x9F\x98\x80” 不在基本字符集内，面板无法显示"}}},
        {"a size the panel does not have",
         [](CKoravelProject& p) { Text(p, QStringLiteral("12"), 10, 20); },
         {{kWarning, kElement, 1, 0, "字号 20 不是面板的字号，面板按 16 点阵显示"}}},
        {"a half-width character wider than its cell",
         [](CKoravelProject& p) {
             CGEStaticTxt& e = Text(p, QStringLiteral("Demo"), 10, 32);
             e.SetFontName(QStringLiteral("黑体"));
         },
         {{kWarning, kElement, 1, 0, "“m” 宽于 16 像素的半角格，面板上缺一部分"}}},

        // Fit
        {"a text wider than the panel",
         [](CKoravelProject& p) { Text(p, Repeated(QStringLiteral("宽"), 31), 0); },
         {{kWarning, kElement, 1, 0, "文字宽 496 像素，比屏幕还宽"}}},
        {"a text past the right edge",
         [](CKoravelProject& p) { Text(p, QStringLiteral("012345678901"), 400); },
         {{kWarning, kElement, 1, 0, "文字宽 96 像素，右端超出屏幕 16 像素"}}},
        {"a register whose values need more places",
         [](CKoravelProject& p) { Register(p, 100).m_Reg.SetRegNum(2); },
         {{kWarning, kElement, 1, 0, "数值 4294967295 要 10 位，显示宽度只有 5 位，面板显示“?”"}}},
        {"a register box narrower than its digits",
         [](CKoravelProject& p) { Register(p, 100).m_nWidth = 10; },
         {{kWarning, kElement, 1, 0, "数值在面板上宽 80 像素，比控件宽 70 像素"}}},
        {"a dynamic text entry wider than its box",
         [](CKoravelProject& p) { Dynamic(p).m_nWidth = 20; },
         {{kWarning, kElement, 1, 0, "条目 0 在面板上宽 80 像素，比控件宽 60 像素"}}},
        {"a lamp past the edge of the panel",
         [](CKoravelProject& p) { Add<CGEIndicator>(p, At(10, 10)).m_nLeft = 460; },
         {{kError, kElement, 1, 0, "超出屏幕：位置 (460, 10)，大小 32×32"}}},
        {"a picture whose box differs from its bitmap",
         [](CKoravelProject& p) {
             auto& picture = Add<CGEPicture>(p, At(10, 10, 10, 10));
             QImage image(10, 10, QImage::Format_RGB32);
             image.fill(Qt::red);
             ASSERT_TRUE(picture.SetBitmap(image));
             picture.m_nWidth = 20;
         },
         {{kError, kElement, 1, 0, "控件 20×10 与位图 10×10 大小不同，面板上图片错乱"}}},

        // The panel's limits
        {"a fifth trend",
         [](CKoravelProject& p) {
             for (int i = 0; i < 5; ++i)
                 Add<CGETrend>(p, At(10 + 60 * i, 10, 50, 50));
         },
         {{kError, kElement, 1, 4, "第 5 个趋势图：每个画面最多 4 个"}}},
        {"every entry of a dynamic text in use",
         [](CKoravelProject& p) {
             CGEDynamicTxt& e = Dynamic(p);
             for (CTextItem& item : *e.m_pTexts) {
                 item.m_nValue = item.m_nID;
                 item.m_strContent = QStringLiteral("A");
             }
         },
         {{kError, kElement, 1, 0, "有 256 个条目，面板最多 255 个"},
          {kError, kImage, 0, 0,
           "编译出错：画面 1 的第 1 个控件（DynamicText）：文字条目有 256 个，超过 255 "
           "个，请精简画面！"}}},
        {"a text longer than its record holds",
         [](CKoravelProject& p) { Text(p, Repeated(QStringLiteral("长"), 130), 0); },
         {{kWarning, kElement, 1, 0, "文字宽 2032 像素，比屏幕还宽"},
          {kWarning, kElement, 1, 0, "文字 260 字节，超过 255 字节，面板只显示前面部分"}}},
        {"one panel key bound twice",
         [](CKoravelProject& p) {
             Key(p, 6, 10);
             Key(p, 6, 50);
         },
         {{kWarning, kElement, 1, 1, "按键“ENT”已由控件 0 使用，面板只执行一个"}}},
        {"the SET key taken from register entry",
         [](CKoravelProject& p) {
             Register(p, 100).m_bSetting = true;
             Key(p, 5, 10);
         },
         {{kWarning, kElement, 1, 0, "SET 键由控件 1 使用，面板上无法输入数值"}}},
        {"a password of five digits",
         [](CKoravelProject& p) {
             p.EnsureSetting().m_nPassWord = 12345;
             Register(p, 100).m_bEncrypt = true;
         },
         {{kError, kSettings, 0, 0, "口令 12345 超过 4 位数，面板上无法输入"}}},
        {"an image above the panel's limit",
         [](CKoravelProject& p) {
             QImage image(480, 272, QImage::Format_RGB32);
             image.fill(Qt::blue);
             for (int i = 0; i < 5; ++i) {
                 auto& picture = Add<CGEPicture>(p, At(0, 0, 480, 272), 1 + i % 2);
                 ASSERT_TRUE(picture.SetBitmap(image));
             }
         },
         // Header, picture table and pixels, two frame records, five index entries and five
         // 11-byte picture records.
         {{kError, kImage, 0, 0,
           QStringLiteral("镜像 %1 字节，超过面板的 1048576 字节")
               .arg(68 + 2 + 5 * (8 + 480 * 272 * 2) + 2 * 13 + 5 * 5 + 5 * 11)}}},
    };
    return cases;
}

TEST(Findings, TheBaseProjectHasNone) {
    const CheckReport report = CheckProject(*BaseProject());
    ExpectFindings("base", report, {});
    EXPECT_TRUE(report.budget.compiled);
    EXPECT_FALSE(report.aborted);
}

TEST(Findings, OneFixturePerFinding) {
    for (const Case& c : Cases()) {
        auto project = BaseProject();
        c.breaker(*project);
        ExpectFindings(c.what, CheckProject(*project), c.expected);
    }
}

// One element of every kind, each as the designer makes it: nothing to find.
TEST(Findings, ACleanProjectOfEveryKindHasNone) {
    auto p = BaseProject();
    Text(*p, QStringLiteral("温度 Temperature"));
    CGERegister& reg = Register(*p, 100);
    reg.m_bSetting = true;
    reg.m_bHaveLimit = true;
    reg.m_nRawUpperLimit = 1000;
    Add<CGEIndicator>(*p, At(300, 10)).m_Wire.SetAddress(12);
    auto& jump = Key(*p, 2, 400);
    jump.m_nType = kActionJumpFrame;
    jump.m_SubJmp.m_nNumber = 2;
    auto& bar = Add<CGEBar>(*p, At(10, 60, 30, 90));
    bar.m_nUpperLimit = 1000;
    Add<CGETrend>(*p, At(60, 60, 200, 100));
    CGEDynamicTxt& dynamic = Dynamic(*p);
    (*dynamic.m_pTexts)[1].m_nValue = 1;
    (*dynamic.m_pTexts)[1].m_strContent = QStringLiteral("运行");
    auto& picture = Add<CGEPicture>(*p, At(400, 60, 16, 16));
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(picture.SetBitmap(image));
    CAlarmList& alarms = p->EnsureAlarmList();
    (*alarms.m_pTexts)[0].m_nValue = 0;
    (*alarms.m_pTexts)[0].m_strContent = QStringLiteral("电机过热");
    CKoravelSetting& setting = p->EnsureSetting();
    setting.m_bAutoChange = true;
    setting.m_bUseClock = true;
    setting.m_Reg.SetAddress(1000);

    const CheckReport report = CheckProject(*p);
    ExpectFindings("clean", report, {});
}

// The window checks on a worker thread while the user goes on editing.
TEST(Findings, AWorkerFindsWhatTheMainThreadFinds) {
    const auto project = DemoProject();
    const CheckReport here = CheckProject(*project);
    CheckReport there;
    std::thread worker([&] { there = CheckProject(*project); });
    worker.join();
    ASSERT_EQ(there.findings.size(), here.findings.size());
    for (std::size_t i = 0; i < here.findings.size(); ++i)
        EXPECT_EQ(testing::PrintToString(there.findings[i]),
                  testing::PrintToString(here.findings[i]));
    EXPECT_EQ(there.budget.imageBytes, here.budget.imageBytes);
}

TEST(Findings, AnAbortedCheckSaysSo) {
    std::atomic<bool> abort{true};
    auto project = BaseProject();
    project->FindFrame(2)->m_nNextID = 7;
    const CheckReport report = CheckProject(*project, &abort);
    EXPECT_TRUE(report.aborted);
    EXPECT_TRUE(report.findings.empty());
}

// The speed register's limits were entered as if the register were unsigned and 32 bits wide.
TEST(Findings, TheDemoReportsItsProblems) {
    const CheckReport report = CheckProject(*DemoProject());
    std::vector<std::string> lines;
    for (const CheckFinding& f : report.findings)
        lines.push_back(testing::PrintToString(f));
    const auto has = [&](const char* line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_EQ(report.Count(kError), 1);
    for (const char* line : {
             "error  frame 1  element 3 (Register)  输入上限 4294967295 超出寄存器的范围 "
             "-32768～32767，面板读作 -1",
             "warning  frame 1  element 3 (Register)  SET 键由控件 7 使用，面板上无法输入数值",
             "warning  frame 1  element 4 (DynamicText)  条目 2 的值 -1000 超出寄存器的范围 "
             "0～65535",
             "warning  frame 3  ↓键的目标画面 4 不存在，按键无反应",
         })
        EXPECT_TRUE(has(line)) << line;
}

} // namespace
