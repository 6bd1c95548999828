#include "AtomicFile.h"
#include "CompileHelper.h"
#include "CompileProgress.h"
#include "CompilerTestSupport.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GERegister.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(ImageLayout, EmptyFrameProjectPutsEverySectionAfterTheFrameTable) {
    auto project = NewProject();
    const QByteArray image = CompileImage(*project);
    EXPECT_EQ(At(image, 0x8000, 2), QByteArray("\xAA\x55", 2));
    EXPECT_EQ(LE32(image, 10), 0x8044u); // full-width table
    EXPECT_EQ(LE32(image, 14), 0x8044u); // half-width table
    EXPECT_EQ(LE32(image, 52), 0x8044u); // pictures
    EXPECT_EQ(LE32(image, 2), 0x8044u);  // frame table
    for (const int field : {56, 60, 64, 6})
        EXPECT_EQ(LE32(image, field), 0x8051u) << "header offset " << field;
    // Without an alarm list there is no alarm section: the image ends there.
    EXPECT_EQ(image.size(), 0x51);
    EXPECT_EQ(LE16(image, 24), 1u);
}

TEST(ImageLayout, HeaderCarriesSettingsCommunicationAndOptionBits) {
    auto project = NewProject();
    CKoravelSetting& setting = project->EnsureSetting();
    setting.m_nBeginFrame = 0x0102;
    setting.m_nSaverFrame = 7;
    setting.m_bBackLight = false;
    setting.m_nWaitTime = 9;
    setting.m_bReportFrame = true;
    setting.m_bUseClockOld = true;
    setting.m_bCanOffline = true;
    setting.m_nPassWord = 0x1234;
    setting.m_nUseFrameSecond = 5;
    setting.m_nUseFrameIndex = 0x0203;
    setting.m_Reg.SetRegType(UnitType(PLC_WORD, "D"), 1);
    setting.m_Reg.SetStation(4);
    setting.m_Reg.SetAddress(0xABCD);
    setting.m_Reg.SetSubAddr(6);
    project->m_CommPara.m_nDisplayID = 0x0105;
    project->m_CommPara.m_nBaudRate = 38400;
    project->m_CommPara.m_nDataBit = 1;
    project->m_CommPara.m_nStopBit = 1;
    project->m_CommPara.m_nParityBit = 2;
    project->m_CommPara.m_nSerialType = 2;
    project->m_strCatalogVersion = QStringLiteral("2.5");

    const QByteArray h = CompileImage(*project).left(68);
    const QByteArray expected("\xCC\x05\x01\x07\x19\xCC", 6);
    EXPECT_EQ(h.mid(18, 6), expected);
    EXPECT_EQ(LE16(h, 26), 0x0102u);
    EXPECT_EQ(LE16(h, 28), 7u);
    EXPECT_EQ(h.mid(30, 8), QByteArray("\x09\x04\x05\xCD\xAB\x02\x06\x2A", 8));
    EXPECT_EQ(h.mid(38, 4), QByteArray("\x05\x08\x02\x02", 4));
    EXPECT_EQ(static_cast<int>(h[42]), 0); // no alarm texts
    EXPECT_EQ(static_cast<int>(h[43]), 0); // nothing asks for the password
    EXPECT_EQ(LE16(h, 44), 0x1234u);
    EXPECT_EQ(h.mid(46, 6), QByteArray("\x02\x05\x03\x02\xCC\xCC", 6));

    setting.m_bBackLight = true;
    setting.m_bAutoChange = true;
    setting.m_bUseClock = true;
    setting.m_bUseFrame = true;
    setting.m_bReportFrame = setting.m_bUseClockOld = setting.m_bCanOffline = false;
    project->m_CommPara.m_nBaudRate = 14400;
    const QByteArray h2 = CompileImage(*project).left(68);
    EXPECT_EQ(LE16(h2, 28), 0u) << "the backlight setting leaves no saver frame";
    EXPECT_EQ(static_cast<int>(h2[37]), 0x15);
    EXPECT_EQ(static_cast<int>(h2[38]), 3) << "a rate outside the list";
}

TEST(ImageLayout, EntryProtectionByteFollowsEncryptedRegistersAndPasswordKeys) {
    auto project = NewProject();
    AddElement<CGERegister>(*project);
    CGEFuncKey& key = AddElement<CGEFuncKey>(*project);
    EXPECT_EQ(static_cast<int>(CompileImage(*project)[43]), 0);
    key.m_bVisible = true;
    EXPECT_EQ(static_cast<int>(CompileImage(*project)[43]), 1);
    key.m_bVisible = false;
    static_cast<CGERegister&>(*project->m_Frames[0]->m_Parts[0]).m_bEncrypt = true;
    EXPECT_EQ(static_cast<int>(CompileImage(*project)[43]), 1);
}

TEST(ImageLayout, FrameTableChainsIndexAddressesAndRelocatesRecords) {
    auto project = NewProject(2);
    for (int i = 0; i < 3; ++i)
        AddElement<CGEIndicator>(*project, 0);
    AddElement<CGEIndicator>(*project, 1);
    project->m_Frames[1]->m_nPrevID = 1;
    project->m_Frames[1]->m_nNextID = 0x0304;
    project->m_Frames[1]->m_nBkColor = 0x000000FF;
    const QByteArray image = CompileImage(*project);

    const std::uint32_t frames = LE32(image, 2);
    const std::uint32_t index = LE32(image, 56);
    const std::uint32_t records = LE32(image, 60);
    EXPECT_EQ(index, frames + 26);
    EXPECT_EQ(records, index + 20);
    EXPECT_EQ(U8(image, frames + 2), 3);
    EXPECT_EQ(BE32(image, frames + 7), index);
    EXPECT_EQ(At(image, frames + 13, 13),
              QByteArray("\x00\x02\x01\x00\x01\x03\x04", 7) +
                  QByteArray::fromHex(QByteArray::number(index + 15, 16).rightJustified(8, '0')) +
                  QByteArray("\xF8\x00", 2));
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(U8(image, index + 5 * static_cast<std::uint32_t>(n)), kTypeIndicator);
        EXPECT_EQ(RecordAddress(image, n), records + 20 * static_cast<std::uint32_t>(n));
    }
    EXPECT_EQ(LE32(image, 64), records + 80);
}

TEST(ImageLayout, CompilingLeavesTheProjectAsItWas) {
    CPLCFactory catalog;
    ASSERT_TRUE(catalog.Load(QStringLiteral(KV_BIN_DIR "/Factory.dll")));
    QByteArray demo;
    ASSERT_TRUE(ReadWholeFile(QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr"), demo));
    const QDateTime when(QDate(2024, 3, 1), QTime(9, 5, 3));
    // Annotated, so that a layer or frame number that the compile wrote would show.
    const auto savedAfter = [&](CKoravelProject& project, bool compile) {
        project.m_Annotations = {true, true};
        if (compile)
            CompileImage(project);
        return project.SaveXmlText(when);
    };
    CKoravelProject compiled, untouched;
    QStringList messages;
    ASSERT_TRUE(compiled.LoadBytes(demo, catalog, messages));
    ASSERT_TRUE(untouched.LoadBytes(demo, catalog, messages));
    EXPECT_EQ(savedAfter(compiled, true), savedAfter(untouched, false));

    // Nor does it add settings or an alarm list to a project without them.
    auto bare = NewProject(2);
    AddElement<CGEIndicator>(*bare, 1);
    auto same = NewProject(2);
    AddElement<CGEIndicator>(*same, 1);
    EXPECT_EQ(savedAfter(*bare, true), savedAfter(*same, false));
}

class RecordingProgress : public ICompileProgress {
public:
    void Reset() override { calls.append(QStringLiteral("reset")); }
    void SetOverallRange(int steps) override {
        calls.append(QStringLiteral("range %1").arg(steps));
    }
    void StepOverall() override { ++steps; }
    void SetTitle(const QString& title) override { titles.append(title); }
    void SetCurrentPos(int) override {}
    void SetCurrentText(const QString& text) override { texts.append(text); }
    void SetOverallPercent(int percent) override {
        calls.append(QStringLiteral("percent %1").arg(percent));
    }
    QStringList calls;
    QStringList titles;
    QStringList texts;
    int steps = 0;
};

TEST(ImageLayout, ProgressShowsThePhaseTextsInOrder) {
    auto project = NewProject(2);
    AddElement<CGEIndicator>(*project, 1);
    AddElement<CGEIndicator>(*project, 1);
    RecordingProgress progress;
    CCompileHelper compiler(&progress);
    QByteArray image;
    QString error;
    ASSERT_TRUE(compiler.Compile(*project, image, error));
    EXPECT_EQ(progress.calls, QStringList({"reset", "range 11", "percent 100"}));
    EXPECT_EQ(progress.steps, 11);
    EXPECT_EQ(progress.titles, QStringList({"报警列表", "画面1 / 控件1", "画面1 / 控件2",
                                            "全角字库", "汉字字库", "半角字库", "ASC字库",
                                            "静态图片", "初始化内存", "计算内存地址", "编译完成"}));
    EXPECT_EQ(progress.texts, QStringList({"1/2", "2/2"}));
}

TEST(ImageLayout, AbortFlagStopsTheCompile) {
    auto project = NewProject();
    std::atomic<bool> abort{true};
    CCompileHelper compiler(nullptr, &abort);
    QByteArray image;
    QString error;
    EXPECT_FALSE(compiler.Compile(*project, image, error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
